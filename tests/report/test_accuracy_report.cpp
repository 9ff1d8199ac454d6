// `orolith --accuracy-report` run as a user runs it, on the sample pair:
// the HTML page is one file whose pictures all decode and whose tables
// hold the numbers --metrics prints; the PDF's text, read back, holds the
// sections and the figures; a browser shows the maps; a failure leaves
// nothing behind.
#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "tests/cli/cli_runner.h"

namespace {

const std::string DEM = bundled("alps_dem.grd"), COMPARISON = bundled("alps_dem2.grd");

// Base64 back to bytes; empty on a character outside the alphabet.
std::vector<unsigned char> unbase64(const std::string& text)
{
    std::vector<unsigned char> out;
    unsigned value = 0;
    int bits = 0;
    for (char ch : text) {
        if (ch == '=')
            break;
        const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        const char* at = std::strchr(digits, ch);
        if (!at || !ch)
            return {};
        value = value << 6 | static_cast<unsigned>(at - digits);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<unsigned char>(value >> bits & 0xff));
        }
    }
    return out;
}

struct Png {
    int width = 0, height = 0;
};

// The PNG's size as cairo decodes it; 0 x 0 when it does not decode.
Png decodedPng(const std::vector<unsigned char>& bytes, const std::string& scratch)
{
    {
        std::ofstream out(scratch, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    cairo_surface_t* s = cairo_image_surface_create_from_png(scratch.c_str());
    Png png;
    if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
        png.width = cairo_image_surface_get_width(s);
        png.height = cairo_image_surface_get_height(s);
    }
    cairo_surface_destroy(s);
    return png;
}

// The rows of --metrics' text table: each line's words ("[0, 5)" is one).
std::vector<std::vector<std::string>> metricsRows(const std::string& table)
{
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(table);
    std::string line;
    std::getline(in, line); // the heading
    const std::regex label(R"(^(\[[^\]\)]*[\]\)]|all)\s+(.*)$)");
    while (std::getline(in, line)) {
        std::smatch m;
        if (!std::regex_match(line, m, label))
            continue;
        std::vector<std::string> row{m[1]};
        std::istringstream words(m[2].str());
        for (std::string w; words >> w;)
            row.push_back(w);
        rows.push_back(row);
    }
    return rows;
}

std::string tableRowHtml(const std::vector<std::string>& cells)
{
    std::string out = "<tr>";
    for (const std::string& c : cells)
        out += "<td>" + c + "</td>";
    return out + "</tr>";
}

class AccuracyReportTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string path(const std::string& name) const { return dir.path + "/" + name; }
};

TEST_F(AccuracyReportTest, HtmlIsOneFileWhosePicturesDecodeAndWhoseTablesHoldTheMetrics)
{
    const std::string out = path("alps report.html");
    const Outcome run = runOrolith({"--accuracy-report", out, "--coregister", DEM, COMPARISON}, false, 240);
    ASSERT_EQ(run.status, 0) << run;
    const std::string html = readFile(out);
    ASSERT_FALSE(html.empty());

    // Nothing outside the one file: no links, no sources but data URIs.
    for (const char* outside : {"href=", "url(", "src=\"http", "src=\"file", "<script", "<link"})
        EXPECT_EQ(html.find(outside), std::string::npos) << "refers outside the file: " << outside;
    // The images, found by hand: a regular expression over megabytes of
    // base64 runs out of stack.
    int images = 0;
    const std::string tag = "<img alt=\"", source = "\" src=\"";
    for (std::size_t at = html.find(tag); at != std::string::npos; at = html.find(tag, at + 1)) {
        const std::size_t altEnd = html.find(source, at);
        ASSERT_NE(altEnd, std::string::npos);
        const std::string alt = html.substr(at + tag.size(), altEnd - at - tag.size());
        const std::size_t srcBegin = altEnd + source.size(), srcEnd = html.find('"', srcBegin);
        const std::string src = html.substr(srcBegin, srcEnd - srcBegin);
        ASSERT_EQ(src.rfind("data:image/png;base64,", 0), 0u) << alt;
        const Png png = decodedPng(unbase64(src.substr(22)), path("image.png"));
        EXPECT_GT(png.width, 100) << alt << " does not decode";
        EXPECT_GT(png.height, 50) << alt;
        ++images;
    }
    // Maps before, after and hillshade, the 3-D view, histogram, curve,
    // slope chart and at least one fit.
    EXPECT_GE(images, 8);

    for (const char* section : {"Files", "Summary", "Maps", "3-D view", "Distribution of the differences",
                                "Per slope class", "Co-registration fit", "Statistics report"})
        EXPECT_NE(html.find(std::string("<h2>") + section + "</h2>"), std::string::npos) << section;

    // The slope table before the shift, row by row, as --metrics prints it.
    const Outcome metrics = runOrolith({"--metrics", DEM, COMPARISON});
    ASSERT_EQ(metrics.status, 0) << metrics;
    const auto rows = metricsRows(metrics.out);
    ASSERT_GE(rows.size(), 3u) << metrics.out;
    for (const auto& row : rows)
        EXPECT_NE(html.find(tableRowHtml(row)), std::string::npos) << tableRowHtml(row);

    // The numbers beside it: the same figures as --metrics' JSON, exactly.
    const OrderedJson numbers = parsedJson(readFile(path("alps report.json")));
    const OrderedJson metricsJson = parsedJson(runOrolith({"--metrics", "--format", "json", DEM, COMPARISON}).out);
    EXPECT_EQ(numbers["before"]["all"], metricsJson["all"]);
    EXPECT_EQ(numbers["before"]["slope_classes"], metricsJson["slope_classes"]);
    const OrderedJson coreg = parsedJson(runOrolith({"--coregister", "--format", "json", DEM, COMPARISON}).out);
    EXPECT_EQ(numbers["coregistration"]["shift_east"], coreg["shift_east"]);
    EXPECT_EQ(numbers["coregistration"]["bias"], coreg["bias"]);
    EXPECT_EQ(numbers["after"]["all"], coreg["after"]["all"]);
    EXPECT_EQ(numbers["files"][0]["path"], DEM);
    EXPECT_EQ(numbers["coregistration"]["fits"].size(), coreg["iterations"] == 1 ? 1u : 2u);
}

TEST_F(AccuracyReportTest, PdfTextHoldsTheSectionsAndTheFigures)
{
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::string out = path("report.pdf");
    const Outcome run = runOrolith({"--accuracy-report", out, DEM, COMPARISON}, false, 240);
    ASSERT_EQ(run.status, 0) << run;
    ASSERT_EQ(readFile(out).rfind("%PDF-", 0), 0u) << "not a PDF";
    ASSERT_EQ(std::system(("pdftotext -layout '" + out + "' '" + path("report.txt") + "'").c_str()), 0);
    const std::string text = readFile(path("report.txt"));
    for (const char* section : {"DEM accuracy report", "Files", "Summary", "Maps", "3-D view",
                                "Distribution of the differences", "Per slope class", "Statistics report"})
        EXPECT_NE(text.find(section), std::string::npos) << section;
    EXPECT_EQ(text.find("Co-registration fit"), std::string::npos) << "no fit without --coregister";
    // Every figure of the overall row, as --metrics prints it.
    const auto rows = metricsRows(runOrolith({"--metrics", DEM, COMPARISON}).out);
    ASSERT_FALSE(rows.empty());
    for (const std::string& figure : rows.back())
        EXPECT_NE(text.find(figure), std::string::npos) << figure;
    // A page a section: the title page, maps, 3-D view, distribution,
    // slope classes, statistics.
    int pages = 0;
    for (std::size_t at = 0; (at = text.find('\f', at)) != std::string::npos; ++at)
        ++pages;
    EXPECT_GE(pages, 6);
}

TEST_F(AccuracyReportTest, BrowserShowsTheMaps)
{
    if (!std::filesystem::exists("/usr/bin/chromium"))
        GTEST_SKIP() << "chromium is not installed";
    const std::string out = path("report.html");
    ASSERT_EQ(runOrolith({"--accuracy-report", out, DEM, COMPARISON}, false, 240).status, 0);
    const std::string shot = std::string(OROLITH_SHOT_DIR) + "/report_in_browser.png";
    std::remove(shot.c_str());
    const std::string command = "chromium --headless --no-sandbox --disable-gpu --hide-scrollbars "
                                "--user-data-dir='" +
                                path("profile") + "' --window-size=1000,2600 --screenshot='" + shot + "' 'file://" +
                                out + "' > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
    cairo_surface_t* s = cairo_image_surface_create_from_png(shot.c_str());
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS) << "no screenshot";
    const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* px = cairo_image_surface_get_data(s);
    // The difference maps' diverging colours: clearly red and clearly blue
    // pixels, many of each.
    long red = 0, blue = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned char* p = px + y * stride + 4 * x; // B, G, R, A
            const int b = p[0], g = p[1], r = p[2];
            red += r > 150 && r - b > 60 && r - g > 40;
            blue += b > 120 && b - r > 60;
        }
    cairo_surface_destroy(s);
    EXPECT_GT(red, 2000) << "no red of the difference map in " << shot;
    EXPECT_GT(blue, 2000) << "no blue of the difference map in " << shot;
}

TEST_F(AccuracyReportTest, FailuresLeaveNothingBehind)
{
    // An earlier report of that name stays as it was.
    const std::string kept = path("kept.html");
    std::ofstream(kept) << "earlier";
    const Grid far = bumpy(30, 30);
    const std::string demPath = dir.write("dem.asc", bumpy(30, 30).text());
    std::string farText = far.text();
    farText.replace(farText.find("xllcorner 1000"), 14, "xllcorner 90000");
    const std::string farPath = dir.write("far.asc", farText);

    struct {
        std::vector<std::string> args;
        int status;
        const char* says;
    } cases[] = {
        {{"--accuracy-report", kept, demPath, farPath}, 1, "--align"},
        {{"--accuracy-report", path("no folder/out.html"), DEM, COMPARISON}, 1, "Cannot write the report"},
        {{"--accuracy-report", path("out.txt"), DEM, COMPARISON}, 2, "must end in .html or .pdf"},
        {{"--accuracy-report", path("out.html"), DEM}, 2, "a DEM and a comparison grid"},
        {{"--accuracy-report", path("out.html"), "--slope-classes", "5,1", DEM, COMPARISON}, 2, "ascending"},
        {{"--accuracy-report", path("out.html"), "--bogus", DEM, COMPARISON}, 2, "unknown option --bogus"},
    };
    for (const auto& k : cases) {
        const Outcome run = runOrolith(k.args, false, 240);
        EXPECT_EQ(run.status, k.status) << run;
        EXPECT_NE(run.err.find(k.says), std::string::npos) << run;
    }
    EXPECT_EQ(readFile(kept), "earlier");
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        left.push_back(entry.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"dem.asc", "far.asc", "kept.html"})) << "a file was left behind";
}

} // namespace

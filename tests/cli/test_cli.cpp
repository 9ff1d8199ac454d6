// The command line run as a child process: the result alone on standard
// output, progress and messages on standard error, and exit status 0 (a
// result), 1 (none: grids of other sizes, a refused count), 2 (usage) or
// 255 (a fault in a grid file). The accuracy modes: table and JSON say the
// same, and co-registration finds a known shift through the files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>
#include <sstream>

#include "model/gridfile.h"
#include "model/load.h"
#include "model/report.h"
#include "tests/cli/cli_runner.h"
#include "tests/model/fractal_surface.h"

using namespace orolith::model;

namespace {

Grid with(Grid g, int r, int c, float v)
{
    g.at(r, c) = v;
    return g;
}

// The grids of these tests, written once. The DEM is 5 x 5 heights of 100
// with 110 at row 2, column 2: curvature 40 there and 10 at its four
// neighbours, so the total squared curvature is 2000, the average 2000/25.
struct Files {
    ScratchDir dir;
    std::string spike =
        write("spike.grd", with(Grid(5, 5, std::vector<float>(25, 100), 10, "NODATA_value -9999"), 2, 2, 110));
    std::string flat = write("flat.grd", filled(5, 5, 100));
    std::string zeros = write("zeros.grd", filled(5, 5, 0));
    std::string interval3 = write("interval3.grd", with(with(filled(5, 5, 0), 1, 1, 100), 2, 2, 103));
    std::string otherSize = write("other.grd", filled(4, 6, 1));

    std::string write(const std::string& name, const Grid& g) const { return dir.write(name, g.text()); }
};
const Files& files()
{
    static const Files f;
    return f;
}

bool endsWith(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The report the model gives for the grids in these units, as the
// Statistics window shows it: what --report must print (its format is in
// the model's tests), ended by a newline.
std::string modelReport(const std::string& dem, const std::string& comp = "", float u = 1, float d = 1)
{
    SilentMessages quiet;
    LoadRequest request;
    request.demPath = dem;
    request.comparisonPath = comp;
    request.units = {u, d};
    Loaded loaded = loadDataSet(request, GridIo{}, quiet);
    EXPECT_TRUE(loaded.status.ok()) << dem << " " << comp;
    return statisticsReport(reportValues(loaded.dataSet, u, d, !comp.empty())) + (comp.empty() ? "" : "\n");
}

TEST(CliReport, ReportAloneOnStdoutInTheUnitsAsked)
{
    const Files& f = files();
    const struct {
        std::vector<std::string> options;
        std::string comp;
        float u, d;
    } cases[] = {
        {{}, "", 1, 1},
        {{}, f.flat, 1, 1},
        {{}, f.zeros, 1, 1},
        {{"--curve-unit=0.5"}, "", 0.5f, 1},
        {{"--diff-unit", "2.5"}, f.flat, 1, 2.5f},
        {{"--curve-unit", "5", "--diff-unit", "0"}, f.flat, 5, 0},
    };
    for (const auto& k : cases) {
        std::vector<std::string> args = {"--report"};
        args.insert(args.end(), k.options.begin(), k.options.end());
        args.push_back(f.spike);
        if (!k.comp.empty())
            args.push_back(k.comp);
        Outcome r = runOrolith(args);
        EXPECT_EQ(r.status, 0) << r;
        EXPECT_EQ(r.out, modelReport(f.spike, k.comp, k.u, k.d)) << r;
        EXPECT_NE(r.err.find("Reading DEM data, 5 rows and 5 columns...\n"), std::string::npos) << r;
    }
    // One cell 10 above a flat reference: RMSE sqrt(100 / 25); none without
    // a present reference point, and no end of the program.
    EXPECT_TRUE(endsWith(runOrolith({"--report", f.spike, f.flat}).out, "\nRMSE: 2.000\n"));
    EXPECT_TRUE(endsWith(runOrolith({"--report", f.spike, f.zeros}).out, "\nRMSE: n/a\n"));
}

TEST(CliHeights, ClassesByTheComparisonsContourIntervalAloneOnStdout)
{
    // The reference rises from 100 to 103: interval 3. The DEM's heights of
    // 100 fall in class 1, its 110 in class 2.
    const Files& f = files();
    Outcome r = runOrolith({"--heights", f.spike, f.interval3});
    EXPECT_EQ(r.status, 0) << r;
    EXPECT_EQ(r.out, "Height Classes Output\n1 24\n2 1\n");
    EXPECT_NE(r.err.find("Reading comparison data"), std::string::npos) << r;

    // The note on heights below 0 would read like the count of a class 2.
    std::string below = f.write("below.grd", with(with(filled(5, 5, 100), 0, 0, -5.2f), 0, 1, -7.6f));
    r = runOrolith({"--heights", below, f.interval3});
    EXPECT_EQ(r.status, 0) << r;
    EXPECT_EQ(r.out, "Height Classes Output\n1 23\n2 0\n");
    EXPECT_NE(r.err.find("2 points below height 0"), std::string::npos) << r;
}

TEST(CliSparse, SampleIsAGridOfTheDemsCellsThatLoadsBackWithoutWaitingForInput)
{
    // Standard input stays open and silent: a run that waited for a number
    // there would never end.
    const Files& f = files();
    Outcome r = runOrolith({"--sparse", "100", f.spike}, true, 30);
    ASSERT_EQ(r.status, 0) << r;
    const std::string dem = readFile(f.spike), header = dem.substr(0, dem.find("-9999\n") + 6);
    EXPECT_EQ(r.out.rfind(header, 0), 0u) << "not under the DEM's own header" << r;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n(\\d+ ){2}110 (\\d+ ){2}\n")))
        << "the DEM's one peak is missing";
    EXPECT_NE(r.err.find("Peak heights will be included automatically.\nFound 1 local maximums.\n"), std::string::npos)
        << "the peaks, counted" << r;
    EXPECT_EQ(r.err.find("local max "), std::string::npos) << "the peaks' debugging dump is back" << r;
    EXPECT_EQ(runOrolith({"--sparse", "100", f.spike}).out, r.out) << "the same sample on every run";
    const std::string saved = f.dir.write("sample.grd", r.out);
    EXPECT_TRUE(endsWith(runOrolith({"--report", f.spike, saved}).out, "\nRMSE: 0.000\n"))
        << "other heights than the DEM's";
    EXPECT_EQ(runOrolith({"--report", saved}).status, 0) << "the sample does not load as a DEM";
}

TEST(CliReport, JsonHoldsTheNumbersOfTheText)
{
    const Files& f = files();
    Outcome text = runOrolith({"--report", "--diff-unit", "2.5", f.spike, f.flat});
    Outcome json = runOrolith({"--report", "--format", "json", "--diff-unit", "2.5", f.spike, f.flat});
    ASSERT_EQ(json.status, 0) << json;
    // The JSON's values in the order the text has its numbers, but for the
    // units that the text shows only as class bounds.
    std::vector<std::string> got, want;
    for (const auto& [name, value] : jsonPairs(json.out))
        if (name != "unit")
            got.push_back(value);
    static const std::regex number(R"(-?[0-9]+(\.[0-9]+)?)");
    for (std::sregex_iterator it(text.out.begin(), text.out.end(), number), end; it != end; ++it)
        want.push_back(it->str());
    ASSERT_EQ(got.size(), want.size()) << json << text;
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(std::stod(got[i]), std::stod(want[i]), 0.005 + 1e-6 * std::fabs(std::stod(want[i])))
            << "number " << i << " of\n"
            << text.out;
    const OrderedJson parsed = parsedJson(json.out);
    std::vector<std::string> keys;
    for (auto it = parsed.begin(); parsed.is_object() && it != parsed.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"rows", "cols", "curvature", "comparison"})) << json;
    const OrderedJson noReference = parsedJson(runOrolith({"--report", "--format=json", f.spike, f.zeros}).out);
    EXPECT_TRUE(noReference.at("comparison").at("rmse").is_null())
        << "no reference point: the RMSE is null, as the text's n/a" << noReference;
    EXPECT_TRUE(parsedJson(runOrolith({"--report", "--format", "json", f.spike}).out).at("comparison").is_null())
        << "no comparison grid, no comparison section";
}

TEST(CliExport, ValuesBehindTheClassesLoadBackOnTheDemsGrid)
{
    const Files& f = files();
    Grid ref = filled(5, 5, 0);
    ref.at(1, 3) = 95; // one reference point, 5 below the DEM
    constexpr float N = -9999;
    // The spike's curvature at the interior points, against flat ground too.
    const std::vector<float> curvature = {N, N,  N,  N,  N, //
                                          N, 0,  10, 0,  N, //
                                          N, 10, 40, 10, N, //
                                          N, 0,  10, 0,  N, //
                                          N, N,  N,  N,  N};
    std::vector<float> elevdiff(25, N);
    elevdiff[1 * 5 + 3] = 5;
    // Read as a DEM, the reference's zeros are heights too.
    std::vector<float> elevdiffDem(25, 100);
    elevdiffDem[1 * 5 + 3] = 5;
    elevdiffDem[2 * 5 + 2] = 110;
    const std::tuple<const char*, std::string, const char*, std::vector<float>> cases[] = {
        {"curvature", "", "dem", curvature},
        {"elevdiff", f.write("one_point.grd", ref), "sparse", elevdiff},
        {"elevdiff", f.write("one_point.grd", ref), "dem", elevdiffDem},
        {"curvediff", f.flat, "dem", curvature}};
    for (const auto& [kind, comparison, compKind, want] : cases) {
        const std::string out = f.dir.path + "/" + kind + ".asc";
        std::vector<std::string> args = {"--export", kind, "--kind", compKind, out, f.spike};
        if (!comparison.empty())
            args.push_back(comparison);
        Outcome r = runOrolith(args);
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_EQ(r.out, "") << "the grid goes to its file";
        GridData back;
        ModelError err;
        ASSERT_TRUE(readGridData(out, GridRole::comparison, back, err, GridIo{})) << err.text();
        EXPECT_EQ(back.heights, want) << kind;
        EXPECT_EQ(back.header.text,
                  "ncols 5\nnrows 5\nxllcorner 1000\nyllcorner 2000\ncellsize 10\nNODATA_value -9999\n")
            << "the DEM's georeference";
    }
    for (std::vector<std::string> usage :
         std::vector<std::vector<std::string>>{{"--export", "slope", "x.asc", f.spike},
                                               {"--export", "elevdiff", "x.asc", f.spike},
                                               {"--export", "curvature", "x.png", f.spike},
                                               {"--export", "curvature", "x.asc"}})
        EXPECT_EQ(runOrolith(usage).status, 2) << usage[1] << " " << usage[2];
}

TEST(CliStatus, WithoutAResultStdoutStaysEmptyAndStderrSaysWhy)
{
    const Files& f = files();
    const std::string missing = f.dir.path + "/absent.grd";
    const std::string cut =
        f.dir.write("cut.grd", "ncols 5 nrows 5 xllcorner 1000 yllcorner 2000 cellsize 10\n1 2 3 4 5\n6 7\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"--report", f.spike, f.otherSize}, 1, "Grid sizes do not match"},
        {{"--heights", f.spike, f.otherSize}, 1, "Grid sizes do not match"},
        {{"--heights", f.spike, f.zeros}, 1, "contour interval"},
        {{"--sparse", "99", f.spike}, 1, "Number of heights must be >= 100"},
        {{"--sparse", "2147483647", f.spike}, 1, "Number of heights must be <= 100"},
        {{"--report", missing}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--report", f.spike, missing}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--heights", cut, f.flat}, 255, "file \"" + cut + "\": the file ends before the height of row 1, column 2"},
    };
    for (std::vector<std::string> usage :
         std::vector<std::vector<std::string>>{{"--bogus"},
                                               {"--report"},
                                               {"--report", "--frobnicate", f.spike},
                                               {"--report", f.spike, f.flat, f.flat},
                                               {"--report", "--curve-unit", "0.4", f.spike},
                                               {"--report", "--curve-unit", "5.1", f.spike},
                                               {"--report", "--curve-unit", "abc", f.spike},
                                               {"--report", "--curve-unit=0.4", f.spike},
                                               {"--report", "--diff-unit", "-1", f.spike},
                                               {"--report", "--diff-unit", "10.5", f.spike},
                                               {"--report", "--diff-unit=nan", f.spike},
                                               {"--report", f.spike, "--curve-unit"},
                                               {"--heights", f.spike},
                                               {"--sparse", "150"},
                                               {"--sparse", "many", f.spike},
                                               {"--sparse", "1.5e2", f.spike}})
        cases.push_back({usage, 2, "\nTry 'orolith --help' for more information.\n"});
    for (const Case& k : cases) {
        Outcome r = runOrolith(k.args);
        SCOPED_TRACE(k.args[0] + (k.args.size() > 1 ? " " + k.args[1] : ""));
        EXPECT_EQ(r.status, k.status) << r;
        EXPECT_NE(r.err.find(k.message), std::string::npos) << r;
        EXPECT_EQ(r.err.find("Usage:"), std::string::npos)
            << "a usage error says what is wrong, not the whole help" << r;
        EXPECT_EQ(r.out, "") << r;
    }
}

TEST(CliUsage, HelpAndVersionGoToStdout)
{
    Outcome help = runOrolith({"--help"});
    EXPECT_EQ(help.status, 0) << help;
    EXPECT_TRUE(help.out.rfind("Usage: orolith", 0) == 0 && help.err.empty()) << help;
    Outcome version = runOrolith({"--version"});
    EXPECT_EQ(version.status, 0) << version;
    EXPECT_TRUE(std::regex_match(version.out, std::regex("orolith [0-9]+\\.[0-9]+(\\.[0-9]+)?\n"))) << version;
}

TEST(CliBundledData, ReportsOfEveryComparisonKindAndHeightClassesOfTheContourFile)
{
    const std::string dem = bundled("alps_dem.grd");
    Outcome r = runOrolith({"--report", dem});
    ASSERT_EQ(r.status, 0) << r;
    std::istringstream header(readFile(dem));
    std::string ncols, cols, nrows, rows;
    header >> ncols >> cols >> nrows >> rows;
    EXPECT_EQ(r.out.rfind("\t ----- STATISTICS -----\n\nGridsize: " + rows + " x " + cols + "\n", 0), 0u) << r;
    EXPECT_TRUE(std::regex_search(r.out, std::regex("\n   <=   1\\.0 +\\d+\n$")))
        << "stdout holds the report alone" << r;

    int interval = 0; // of the last comparison grid, the contour file
    for (const char* name : {"alps_dem2.grd", "alps_sparse.grd", "alps_contour.grd"}) {
        Outcome c = runOrolith({"--report", dem, bundled(name)});
        EXPECT_EQ(c.status, 0) << name << c;
        EXPECT_EQ(c.out.rfind(r.out + "\n\t ----- COMPARISON STATISTCS -----\nContour interval:   ", 0), 0u) << c;
        EXPECT_TRUE(std::regex_search(c.out, std::regex("\nRMSE: \\d+\\.\\d{3}\n$"))) << name << c;
        interval = std::atoi(c.out.c_str() + c.out.find("Contour interval:   ") + 20);
    }
    ASSERT_GT(interval, 1);
    Outcome h = runOrolith({"--heights", dem, bundled("alps_contour.grd")});
    ASSERT_EQ(h.status, 0) << h;
    std::vector<std::string> out = lines(h.out);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(interval)) << h;
    EXPECT_EQ(out[0], "Height Classes Output");
    for (int i = 1; i < interval; ++i)
        EXPECT_TRUE(std::regex_match(out[i], std::regex(std::to_string(i) + " \\d+"))) << out[i];
}

struct MetricsFiles {
    ScratchDir dir;
    std::string dem, ref, other, flat, surface, moved;

    MetricsFiles()
    {
        Grid r = bumpy(12, 14, 9u, 100, 10);
        r.extraLine = "NODATA_value -9999";
        for (std::size_t i = 0; i < r.h.size(); i += 7)
            r.h[i] = -9999; // absent
        dem = dir.write("dem.grd", bumpy(12, 14, 7u, 100, 30).text());
        ref = dir.write("ref.grd", r.text());
        other = dir.write("other.grd", filled(12, 13, 100).text());
        flat = dir.write("flat.grd", filled(12, 14, 100).text());
        FractalSurface s(3);
        surface = dir.write("surface.grd", Grid(90, 100, s.grid(90, 100)).text());
        moved = dir.write("moved.grd", Grid(90, 100, s.grid(90, 100, 0.3, -0.6, 1.5)).text());
    }
};
const MetricsFiles& metricsFiles()
{
    static const MetricsFiles f;
    return f;
}

// A number of a JSON object printed by the accuracy modes; `key` may be a
// path ("/after/all/median").
double json(const std::string& text, const std::string& key)
{
    const OrderedJson parsed = parsedJson(text);
    const OrderedJson::json_pointer at(key[0] == '/' ? key : "/" + key);
    const bool found = parsed.contains(at) && parsed.at(at).is_number();
    EXPECT_TRUE(found) << "no number " << key << " in " << text;
    return found ? parsed.at(at).get<double>() : 0;
}

TEST(CliMetrics, TableAndJsonSayTheSame)
{
    const MetricsFiles& f = metricsFiles();
    Outcome text = runOrolith({"--metrics", "--slope-classes=0,1,45,90", f.dem, f.ref});
    Outcome js = runOrolith({"--metrics", "--format", "json", "--slope-classes", "0,1,45", f.dem, f.ref});
    ASSERT_EQ(text.status, 0) << text;
    ASSERT_EQ(js.status, 0) << js;

    // The table's words after the labels, its last row ("all") first as in
    // the JSON, against the JSON's values other than the class bounds.
    std::vector<std::string> lines, table, json;
    std::istringstream rows(text.out);
    for (std::string line; std::getline(rows, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 5u) << text;
    EXPECT_EQ(lines[3].rfind("[45, 90]", 0), 0u) << "90 closes the last class";
    std::rotate(lines.begin() + 1, lines.end() - 1, lines.end());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::istringstream words(lines[i].substr(12));
        for (std::string w; words >> w;)
            table.push_back(w);
    }
    for (const auto& [name, value] : jsonPairs(js.out))
        if (name != "from" && name != "to")
            json.push_back(value);
    ASSERT_EQ(json.size(), table.size()) << js << text;
    int empty = 0;
    for (std::size_t i = 0; i < json.size(); ++i) {
        empty += json[i] == "null";
        if (json[i] == "null")
            EXPECT_EQ(table[i], "n/a") << "figure " << i << " of an empty class";
        else
            EXPECT_NEAR(std::atof(table[i].c_str()), std::atof(json[i].c_str()), 0.0005 + 1e-9) << "figure " << i;
    }
    EXPECT_EQ(empty, 9) << "one class is empty: its figures read n/a and null";
    EXPECT_EQ(json[0], "144") << "12 x 14 points of which every 7th is absent";
    const OrderedJson parsed = parsedJson(js.out);
    ASSERT_TRUE(parsed.contains("slope_classes")) << js;
    const OrderedJson& second = parsed["slope_classes"].at(1);
    EXPECT_EQ(second.at("from"), 1.0) << js;
    EXPECT_EQ(second.at("to"), 45.0) << js;
    EXPECT_EQ(second.begin().key(), "from") << "each class starts with its bounds" << js;
    EXPECT_EQ(parsed.at("dem"), f.dem) << "the files as given come first" << js;
    EXPECT_EQ(parsed.at("comparison"), f.ref) << js;
}

TEST(CliCoregister, FindsTheShiftOfAMovedSurfaceInTextAndJson)
{
    const MetricsFiles& f = metricsFiles();
    Outcome js = runOrolith({"--coregister", "--format", "json", f.surface, f.moved});
    ASSERT_EQ(js.status, 0) << js;
    EXPECT_NEAR(json(js.out, "shift_east"), 0.3, 0.05) << js;
    EXPECT_NEAR(json(js.out, "shift_north"), -0.6, 0.05) << js;
    EXPECT_NEAR(json(js.out, "bias"), 1.5, 0.05) << js;
    const OrderedJson parsed = parsedJson(js.out);
    std::vector<std::string> keys;
    for (auto it = parsed.begin(); parsed.is_object() && it != parsed.end(); ++it)
        keys.push_back(it.key());
    EXPECT_EQ(keys, (std::vector<std::string>{"dem", "comparison", "shift_east", "shift_north", "shift_east_metres",
                                              "shift_north_metres", "bias", "iterations", "converged", "improved",
                                              "nmad_before", "nmad_after", "before", "after"}))
        << js;
    EXPECT_EQ(json(js.out, "/after/all/median"), -json(js.out, "bias")) << "the bias is left in after";

    EXPECT_NEAR(json(js.out, "shift_east_metres"), 10 * json(js.out, "shift_east"), 1e-9) << "cells of 10 map units";
    EXPECT_EQ(parsed.value("improved", false), true) << js;
    EXPECT_GT(json(js.out, "nmad_before"), json(js.out, "nmad_after")) << js;

    Outcome text = runOrolith({"--coregister", f.surface, f.moved});
    char head[256];
    std::snprintf(head, sizeof head,
                  "shift east:  %.3f cells (%.3f map units)\nshift north: %.3f cells (%.3f map units)\n"
                  "bias:        %.3f\n",
                  json(js.out, "shift_east"), json(js.out, "shift_east_metres"), json(js.out, "shift_north"),
                  json(js.out, "shift_north_metres"), json(js.out, "bias"));
    EXPECT_EQ(text.out.rfind(head, 0), 0u) << "the text says what the JSON says" << text;
    EXPECT_NE(text.out.find("\nimproved:    yes (NMAD "), std::string::npos) << text;
}

TEST(CliMetrics, FileNamesComeBackFromTheJsonAsGiven)
{
    const MetricsFiles& f = metricsFiles();
    const std::string replacement = "\xEF\xBF\xBD"; // U+FFFD
    const struct {
        const char* what;
        std::string name, reads; // `reads` when the JSON cannot hold the name's bytes
    } cases[] = {
        {"a quote", "say \"cheese\".grd", ""},
        {"a backslash", "C:\\dems\\a.grd", ""},
        {"a newline", "two\nlines.grd", ""},
        {"a tab", "tab\there.grd", ""},
        {"a control character", "bell\a.grd", ""},
        {"UTF-8 beyond ASCII", "H\xC3\xB6he \xE6\xB8\xAC\xE9\x87\x8F.grd", ""},
        {"bytes that are not UTF-8", "latin1 H\xF6he\xFF.grd", "latin1 H" + replacement + "he" + replacement + ".grd"},
    };
    const struct {
        const char* mode;
        std::string dem, comparison;
    } modes[] = {{"--metrics", readFile(f.dem), readFile(f.ref)},
                 {"--coregister", readFile(f.surface), readFile(f.moved)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        for (const auto& m : modes) {
            const std::string dem = dir.write("dem " + c.name, m.dem);
            const std::string comparison = dir.write(c.name, m.comparison);
            const Outcome r = runOrolith({m.mode, "--format", "json", dem, comparison});
            ASSERT_EQ(r.status, 0) << m.mode << r;
            const OrderedJson parsed = parsedJson(r.out);
            const std::string reads = c.reads.empty() ? c.name : c.reads;
            EXPECT_EQ(parsed.value("dem", ""), dir.path + "/dem " + reads) << m.mode << r;
            EXPECT_EQ(parsed.value("comparison", ""), dir.path + "/" + reads) << m.mode << r;
            ASSERT_TRUE(parsed.is_object() && parsed.size() > 2) << r;
            EXPECT_EQ(parsed.begin().key(), "dem") << m.mode;
            EXPECT_EQ(std::next(parsed.begin()).key(), "comparison") << m.mode;
        }
    }
}

TEST(CliMetrics, FaultsEndWithTheirStatusAndNothingOnStdout)
{
    const MetricsFiles& f = metricsFiles();
    const std::string missing = f.dir.path + "/absent.grd";
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    std::vector<Case> cases = {
        {{"--metrics", f.dem, f.other}, 1, "Grid sizes do not match"},
        {{"--coregister", f.dem, f.other}, 1, "Grid sizes do not match"},
        {{"--coregister", f.flat, f.flat}, 1, "Cannot co-register the grids: too few points"},
        {{"--metrics", missing, f.ref}, 255, "ERROR: file \"" + missing + "\" not found"},
        {{"--coregister", f.dem, missing}, 255, "ERROR: file \"" + missing + "\" not found"},
    };
    for (std::vector<std::string> usage :
         std::vector<std::vector<std::string>>{{"--metrics", f.dem},
                                               {"--metrics", f.dem, f.ref, f.ref},
                                               {"--metrics", "--format", "xml", f.dem, f.ref},
                                               {"--metrics", f.dem, f.ref, "--format"},
                                               {"--coregister", "--frobnicate", f.dem, f.ref},
                                               {"--metrics", "--slope-classes", "10,5", f.dem, f.ref},
                                               {"--metrics", "--slope-classes=0,95", f.dem, f.ref},
                                               {"--metrics", "--slope-classes", "90", f.dem, f.ref},
                                               {"--metrics", "--slope-classes", "0,,5", f.dem, f.ref},
                                               {"--coregister", "--slope-classes", "5,5", f.dem, f.ref},
                                               {"--metrics", "--kind", "dtm", f.dem, f.ref},
                                               {"--coregister", f.dem, f.ref, "--kind"}})
        cases.push_back({usage, 2, "Try 'orolith --help'"});
    for (const Case& k : cases) {
        Outcome r = runOrolith(k.args);
        EXPECT_EQ(r.status, k.status) << k.args[1] << r;
        EXPECT_NE(r.err.find(k.message), std::string::npos) << r;
        EXPECT_EQ(r.out, "") << r;
    }
}

} // namespace

namespace {

TEST(CliKinds, TheComparisonKindDecidesWhichValuesAreHeightsAndZerosGetANote)
{
    // Spot heights on a 6 x 6 raster of zeros, and the DEM they came from.
    ScratchDir dir;
    Grid dem = bumpy(6, 6, 5u, 100, 20), spots = filled(6, 6, 0);
    for (int k = 0; k < 6; ++k)
        spots.at(k, k) = dem.at(k, k) - 1;
    const std::string demPath = dir.write("dem.grd", dem.text()), spotsPath = dir.write("spots.grd", spots.text());
    struct {
        std::vector<std::string> kind;
        int count;
        bool note;
    } cases[] = {
        {{}, 36, true},                   // read as a DEM, its zeros are heights: a note suggests the kind
        {{"--kind", "sparse"}, 6, false}, // spot heights alone
        {{"--kind=contour"}, 6, false},
        {{"--kind", "dem"}, 36, true},
    };
    for (const auto& k : cases) {
        std::vector<std::string> args = {"--metrics", "--format", "json"};
        args.insert(args.end(), k.kind.begin(), k.kind.end());
        args.insert(args.end(), {demPath, spotsPath});
        const Outcome r = runOrolith(args);
        SCOPED_TRACE(k.kind.empty() ? "no --kind" : k.kind.back());
        ASSERT_EQ(r.status, 0) << r;
        EXPECT_EQ(json(r.out, "/all/count"), k.count) << r;
        EXPECT_EQ(r.err.find("give --kind sparse") != std::string::npos, k.note) << r;
    }
    // The same rule for --export and --image.
    const std::string out = dir.path + "/d.asc";
    ASSERT_EQ(runOrolith({"--export", "elevdiff", "--kind", "sparse", out, demPath, spotsPath}).status, 0);
    GridData back;
    ModelError err;
    ASSERT_TRUE(readGridData(out, GridRole::comparison, back, err, GridIo{})) << err.text();
    EXPECT_EQ(std::count(back.heights.begin(), back.heights.end(), 1.0f), 6) << "DEM minus the spot heights only";
}

} // namespace

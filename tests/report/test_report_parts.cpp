// The report's plain decisions: its file names, the encodings of the page,
// the map's scale, the legend of the 3-D view, the histogram's bins and
// the tables.
#include <gtest/gtest.h>

#include <cmath>

#include "report/accuracydocument.h"
#include "report/reportfile.h"
#include "report/reporthtml.h"
#include "report/reporttables.h"

using namespace orolith::report;

namespace {

TEST(ReportFile, FormatAndJsonNameFollowTheExtension)
{
    struct {
        const char* path;
        bool known;
        ReportFormat format;
        const char* json;
    } cases[] = {
        {"out.html", true, ReportFormat::html, "out.json"},
        {"dir.v2/Out.HTM", true, ReportFormat::html, "dir.v2/Out.json"},
        {"a/b/report.PDF", true, ReportFormat::pdf, "a/b/report.json"},
        {"report.txt", false, ReportFormat::html, "report.json"},
        {"dir.html/report", false, ReportFormat::html, "dir.html/report.json"},
        {"pdf", false, ReportFormat::html, "pdf.json"},
    };
    for (const auto& k : cases) {
        ReportFormat format = ReportFormat::html;
        EXPECT_EQ(reportFormatOf(k.path, format), k.known) << k.path;
        if (k.known) {
            EXPECT_EQ(format, k.format) << k.path;
        }
        EXPECT_EQ(jsonPathBeside(k.path), k.json) << k.path;
    }
}

TEST(ReportHtml, Base64AndEscapes)
{
    struct {
        std::string bytes, base64;
    } cases[] = {{"", ""},        {"f", "Zg=="},        {"fo", "Zm8="},
                 {"foo", "Zm9v"}, {"foob", "Zm9vYg=="}, {std::string("\xff\xfe\x00", 3), "//4A"}};
    for (const auto& k : cases)
        EXPECT_EQ(base64(std::vector<unsigned char>(k.bytes.begin(), k.bytes.end())), k.base64) << k.bytes;
    EXPECT_EQ(escapeHtml("<a href=\"x\">Tom & 'Jerry'</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; &#39;Jerry&#39;&lt;/a&gt;");
}

TEST(ReportScale, MapLimitIsMedianPlusThreeNmadAndNeverZero)
{
    struct {
        std::size_t count;
        double median, nmad, limit;
    } cases[] = {{10, 0.5, 1.0, 3.5}, {10, -2.0, 0.5, 3.5}, {0, 5, 5, 1}, {10, 0, 0, 1e-6}};
    for (const auto& k : cases) {
        orolith::model::AccuracyFigures f;
        f.count = k.count;
        f.median = k.median;
        f.nmad = k.nmad;
        EXPECT_DOUBLE_EQ(mapLimit(f), k.limit) << k.median << " " << k.nmad;
    }
}

TEST(ReportScale, HistogramBinsHoldWholeStepsOfTheData)
{
    EXPECT_EQ(differenceStep({0.1, 0.3, -2.7, 4.0}), 0.1);
    EXPECT_EQ(differenceStep({0.25, 0.5, 1.75}), 0.05);
    EXPECT_EQ(differenceStep({1, 2, -7}), 1.0);
    EXPECT_EQ(differenceStep({0.1234567, 0.3}), 0.0) << "no step: half the values are off it";
    EXPECT_EQ(differenceStep({static_cast<double>(1234.5f - 1230.1f)}), 0.1) << "float rounding is no step of its own";

    struct {
        double limit, step;
        int bins;
    } cases[] = {{2.669, 0.1, 60}, {3.5, 0.01, 60}, {40, 1, 60}, {0.2, 0.1, 60}, {10, 0, 60}};
    for (const auto& k : cases) {
        const HistogramFrame f = histogramFrame(k.limit, k.step, k.bins);
        EXPECT_LE(f.lo, -k.limit + 1e-9) << k.limit;
        EXPECT_GE(f.hi, k.limit - 1e-9) << k.limit;
        EXPECT_LE(f.bins, k.bins + 1) << k.limit;
        if (k.step == 0) {
            EXPECT_EQ(f.bins, k.bins);
            continue;
        }
        const double width = (f.hi - f.lo) / f.bins;
        EXPECT_NEAR(std::fmod(width / k.step + 0.5, 1.0), 0.5, 1e-6) << "a bin of whole steps, limit " << k.limit;
        // Every edge halfway between two steps; 0 in the middle of a bin.
        const double edge = f.lo / k.step + 0.5;
        EXPECT_NEAR(edge, std::round(edge), 1e-6) << k.limit;
        EXPECT_NEAR((0 - f.lo) / width - std::floor((0 - f.lo) / width), 0.5 * k.step / width, 1e-6) << k.limit;
    }
}

TEST(ReportLegend, DifferenceClassesInTheUnit)
{
    const std::vector<LegendEntry> legend = differenceClassLegend(0.5f, "m");
    ASSERT_EQ(legend.size(), 5u);
    EXPECT_EQ(legend[0].text, "|d| > 2 m");
    EXPECT_EQ(legend[1].text, "1.5 to 2 m");
    EXPECT_EQ(legend[3].text, "0.5 to 1 m");
    EXPECT_EQ(legend[4].text, "|d| <= 0.5 m, or no comparison");
    EXPECT_TRUE(legend[0].colour == (Rgb{227, 26, 28})) << "the viewer's colour of the highest class";
    EXPECT_TRUE(legend[4].colour == (Rgb{102, 128, 102})) << "the terrain colour";
}

TEST(ReportTables, FiguresAsMetricsPrintsThem)
{
    AccuracyDocument doc;
    doc.before.all.count = 3;
    doc.before.all.rmse = 1.23456;
    doc.before.all.mean = -0.0004;
    doc.before.classes.push_back({0, 5, {}});
    doc.before.classes.push_back({5, 90, {}});
    const Table summary = summaryTable(doc);
    ASSERT_EQ(summary.header.size(), 2u) << "no column after a shift that was not made";
    EXPECT_EQ(summary.rows[0], (std::vector<std::string>{"count", "3"}));
    EXPECT_EQ(summary.rows[1], (std::vector<std::string>{"mean", "0.000"})) << "no sign on a value that rounds to 0";
    EXPECT_EQ(summary.rows[3], (std::vector<std::string>{"RMSE", "1.235"}));
    const Table slope = slopeTable(doc.before);
    ASSERT_EQ(slope.rows.size(), 3u);
    EXPECT_EQ(slope.rows[0][0], "[0, 5)");
    EXPECT_EQ(slope.rows[1][0], "[5, 90]") << "the last class is closed";
    EXPECT_EQ(slope.rows[1][2], "n/a") << "an empty class";
    EXPECT_EQ(slope.rows[2][0], "all");

    doc.shift = ShiftSummary{};
    doc.after.all.count = 2;
    EXPECT_EQ(summaryTable(doc).rows[0], (std::vector<std::string>{"count", "3", "2"}));
}

} // namespace

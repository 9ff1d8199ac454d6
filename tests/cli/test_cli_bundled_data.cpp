// The command line on the bundled sample grids of data/: a DEM, a second
// DEM, a sparse and a contour comparison file of the same area.
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/cli_runner.h"

namespace {
using namespace cli_test;

const std::regex kDemReport(
    "^\t ----- STATISTICS -----\n\nGridsize: (\\d+) x (\\d+)\n\n"
    "\t ----- DEM STATISTICS -----\n"
    "Total Squared Curvature: *\\d+\\.\\d\\d\n"
    "Maximum Curvature      : *\\d+\\.\\d\\d\n"
    "Average Curvature      : *\\d+\\.\\d\\d\n\n"
    "Curvature class counts:\n"
    "   >    3\\.0 *(\\d+)\n"
    "   >    2\\.0 *(\\d+)\n"
    "   >    1\\.0 *(\\d+)\n"
    "   <=   1\\.0 *(\\d+)\n$");

// ncols and nrows from the head of a grid file.
bool headerSize(const std::string& path, int& rows, int& cols)
{
    std::ifstream in(path);
    std::string key;
    rows = cols = 0;
    in >> key >> cols;
    if (key != "ncols")
        return false;
    in >> key >> rows;
    return key == "nrows" && rows > 0 && cols > 0;
}

class CliBundledDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : {"alps_dem.grd", "alps_dem2.grd", "alps_sparse.grd", "alps_contour.grd"})
            ASSERT_TRUE(std::filesystem::exists(bundled(name))) << "bundled sample grid missing: " << bundled(name);
        ASSERT_TRUE(headerSize(bundled("alps_dem.grd"), rows, cols));
    }
    int rows = 0, cols = 0;
};

TEST_F(CliBundledDataTest, DemReportIsTheWholeStdoutAndCountsEveryCell)
{
    RunResult r = runOrolith({"--report", bundled("alps_dem.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    std::smatch m;
    ASSERT_TRUE(std::regex_match(r.out, m, kDemReport)) << "stdout is exactly the report:\n" << r.out;
    EXPECT_EQ(std::stoi(m[1]), rows);
    EXPECT_EQ(std::stoi(m[2]), cols);
    long long classed = std::stoll(m[3]) + std::stoll(m[4]) + std::stoll(m[5]) + std::stoll(m[6]);
    EXPECT_EQ(classed, static_cast<long long>(rows - 1) * (cols - 1)) << "every cell falls in one class";
    EXPECT_NE(r.err.find("Reading DEM data, " + std::to_string(rows) + " rows and " + std::to_string(cols) +
                         " columns..."),
              std::string::npos)
        << r.err;
}

TEST_F(CliBundledDataTest, EveryComparisonKindReportsAnRmse)
{
    for (const char* name : {"alps_dem2.grd", "alps_sparse.grd", "alps_contour.grd"}) {
        SCOPED_TRACE(name);
        RunResult r = runOrolith({"--report", bundled("alps_dem.grd"), bundled(name)});
        ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
        EXPECT_EQ(r.out.rfind("\t ----- STATISTICS -----\n", 0), 0u) << r.out;
        EXPECT_NE(r.out.find("\n\t ----- COMPARISON STATISTCS -----\nContour interval:   "), std::string::npos)
            << r.out;
        EXPECT_TRUE(std::regex_search(r.out, std::regex("\nRMSE: \\d+\\.\\d{3}\n$"))) << "last line RMSE:\n" << r.out;
    }
}

TEST_F(CliBundledDataTest, HeightClassesFollowTheContourFilesInterval)
{
    RunResult report = runOrolith({"--report", bundled("alps_dem.grd"), bundled("alps_contour.grd")});
    ASSERT_TRUE(report.exited && report.status == 0) << report.describe();
    std::smatch m;
    ASSERT_TRUE(std::regex_search(report.out, m, std::regex("Contour interval:   (-?\\d+)\n"))) << report.out;
    int interval = std::stoi(m[1]);
    ASSERT_GT(interval, 1) << "the sample contour file has a contour interval";

    RunResult r = runOrolith({"--heights", bundled("alps_dem.grd"), bundled("alps_contour.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(interval)) << "heading plus interval-1 class lines:\n" << r.out;
    EXPECT_EQ(out[0], "Height Classes Output");
    long long total = 0;
    for (int i = 1; i < interval; ++i) {
        std::smatch cm;
        ASSERT_TRUE(std::regex_match(out[i], cm, std::regex("(\\d+) (\\d+)"))) << "line " << i << ": " << out[i];
        EXPECT_EQ(std::stoi(cm[1]), i);
        total += std::stoll(cm[2]);
    }
    EXPECT_LE(total, static_cast<long long>(rows) * cols);
}

TEST_F(CliBundledDataTest, SparseSampleLoadsBackAsComparisonData)
{
    RunResult r = runOrolith({"--sparse", "150", bundled("alps_dem.grd")}, Input::OpenPipe, 60);
    ASSERT_FALSE(r.timedOut) << "--sparse waited on standard input";
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();

    std::vector<std::string> out = lines(r.out);
    std::size_t headerLines = 0;
    while (headerLines < out.size() && !out[headerLines].empty() &&
           std::isalpha(static_cast<unsigned char>(out[headerLines][0])))
        ++headerLines;
    ASSERT_GE(headerLines, 5u) << r.out.substr(0, 500);
    std::vector<std::string> demLines = lines(slurp(bundled("alps_dem.grd")));
    for (std::size_t i = 0; i < headerLines && i < demLines.size(); ++i)
        EXPECT_EQ(out[i], demLines[i]) << "header line " << i << " is the DEM's own";
    ASSERT_EQ(out.size() - headerLines, static_cast<std::size_t>(rows)) << "one line per grid row";
    std::size_t spots = 0;
    for (std::size_t i = headerLines; i < out.size(); ++i) {
        std::istringstream in(out[i]);
        std::size_t n = 0;
        for (float v; in >> v; ++n)
            spots += v != 0.0f;
        ASSERT_EQ(n, static_cast<std::size_t>(cols)) << "row " << i - headerLines;
    }
    EXPECT_GT(spots, 0u);
    EXPECT_LE(spots, 150u) << "at most the requested number of spot heights";

    ScratchDir dir;
    std::string saved = dir.write("alps_sample.grd", r.out);
    RunResult back = runOrolith({"--report", bundled("alps_dem.grd"), saved});
    ASSERT_TRUE(back.exited && back.status == 0) << back.describe();
    EXPECT_TRUE(std::regex_search(back.out, std::regex("\nRMSE: \\d+\\.\\d{3}\n$"))) << back.out;
}

} // namespace

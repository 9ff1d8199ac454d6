// orolith --report: the statistics report alone on standard output, for a
// DEM by itself and against a comparison grid, with both error units.
#include <gtest/gtest.h>

#include "tests/cli/cli_runner.h"

namespace {
using namespace cli_test;

// cli_spike_dem.grd: 5 x 5 heights of 100 with 110 at row 2, column 2.
// Curvature 40 at the spike and 10 at its four neighbours, so the total
// squared curvature is 1600 + 4 x 100 = 2000, the average 2000 / 25.
const std::string kSpikeDemReport =
    "\t ----- STATISTICS -----\n"
    "\n"
    "Gridsize: 5 x 5\n"
    "\n"
    "\t ----- DEM STATISTICS -----\n"
    "Total Squared Curvature:     2000.00\n"
    "Maximum Curvature      :       40.00\n"
    "Average Curvature      :       80.00\n"
    "\n"
    "Curvature class counts:\n"
    "   >    3.0         5\n"
    "   >    2.0         0\n"
    "   >    1.0         0\n"
    "   <=   1.0        11\n";

TEST(CliReportTest, DemAloneGivesExactlyTheReportOnStdout)
{
    RunResult r = runOrolith({"--report", testdata("cli_spike_dem.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    EXPECT_EQ(r.out, kSpikeDemReport) << "stdout must hold the report text and nothing else";
    EXPECT_NE(r.err.find("Reading DEM data, 5 rows and 5 columns..."), std::string::npos)
        << "progress lines belong on stderr:\n" << r.err;
    EXPECT_EQ(r.out.find("Reading"), std::string::npos) << "no progress line on stdout";
}

TEST(CliReportTest, CurveUnitChangesTheCurvatureBounds)
{
    for (std::vector<std::string> args : {std::vector<std::string>{"--report", "--curve-unit", "0.5"},
                                          std::vector<std::string>{"--report", "--curve-unit=0.5"}}) {
        args.push_back(testdata("cli_spike_dem.grd"));
        RunResult r = runOrolith(args);
        ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
        EXPECT_NE(r.out.find("Curvature class counts:\n"
                             "   >    1.5         5\n"
                             "   >    1.0         0\n"
                             "   >    0.5         0\n"
                             "   <=   0.5        11\n"),
                  std::string::npos)
            << "curvature bounds 3u, 2u, u, u with u = 0.5:\n" << r.out;
    }
}

const std::string kFlatReferenceSection =
    "\n"
    "\t ----- COMPARISON STATISTCS -----\n"
    "Contour interval:   100\n"
    "Elevation difference class counts:\n"
    "   >    4.0         1\n"
    "   >    3.0         0\n"
    "   >    2.0         0\n"
    "   >    1.0         0\n"
    "   <=   1.0        15\n"
    "\n"
    "Curvature difference class counts:\n"
    "   >    4.0         5\n"
    "   >    3.0         0\n"
    "   >    2.0         0\n"
    "   >    1.0         0\n"
    "   <=   1.0        11\n"
    "\n"
    "RMSE: 2.000\n";

TEST(CliReportTest, ComparisonAddsItsSectionEndingInTheRmse)
{
    RunResult r = runOrolith({"--report", testdata("cli_spike_dem.grd"), testdata("cli_flat_reference.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    EXPECT_EQ(r.out, kSpikeDemReport + kFlatReferenceSection)
        << "one cell 10 above a flat reference: RMSE sqrt(100 / 25)";
    EXPECT_NE(r.err.find("Reading comparison data, 5 rows and 5 columns..."), std::string::npos) << r.err;
}

TEST(CliReportTest, DiffUnitChangesBothDifferenceSections)
{
    RunResult r = runOrolith({"--report", "--diff-unit", "2.5", testdata("cli_spike_dem.grd"),
                              testdata("cli_flat_reference.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    // The elevation difference 10 is not above 4 x 2.5 (strict bounds); the
    // curvature differences are 40 once and 10 four times.
    EXPECT_NE(r.out.find("Elevation difference class counts:\n"
                         "   >   10.0         0\n"
                         "   >    7.5         1\n"
                         "   >    5.0         0\n"
                         "   >    2.5         0\n"
                         "   <=   2.5        15\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Curvature difference class counts:\n"
                         "   >   10.0         1\n"
                         "   >    7.5         4\n"
                         "   >    5.0         0\n"
                         "   >    2.5         0\n"
                         "   <=   2.5        11\n"),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("   >    3.0         5\n"), std::string::npos)
        << "the curvature bounds stay in curvature units:\n" << r.out;
}

TEST(CliReportTest, ComparisonWithoutAnyPresentPointReportsRmseNotAvailable)
{
    RunResult r = runOrolith({"--report", testdata("cli_spike_dem.grd"), testdata("cli_zero_reference.grd")});
    ASSERT_TRUE(r.exited) << r.describe();
    EXPECT_EQ(r.status, 0) << "a report on a reference of zeros must not end the program\n" << r.describe();
    std::vector<std::string> out = lines(r.out);
    ASSERT_FALSE(out.empty()) << r.describe();
    EXPECT_EQ(out.back(), "RMSE: n/a");
    EXPECT_NE(r.out.find("Contour interval:   0\n"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("ERROR"), std::string::npos) << r.out;
    EXPECT_EQ(r.err.find("Divide by zero"), std::string::npos) << r.err;
}

TEST(CliReportTest, OutOfRangeOrNonNumericUnitsAreUsageErrors)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--curve-unit", "0.4"}, {"--curve-unit", "5.1"}, {"--curve-unit", "abc"}, {"--curve-unit", "-1"},
        {"--diff-unit", "-1"},   {"--diff-unit", "10.5"}, {"--diff-unit", "abc"},  {"--curve-unit=0.4"},
        {"--diff-unit=nan"},     {"--curve-unit"},
    };
    for (const auto& unit : bad) {
        std::vector<std::string> args = {"--report"};
        args.insert(args.end(), unit.begin(), unit.end());
        args.push_back(testdata("cli_spike_dem.grd"));
        RunResult r = runOrolith(args);
        SCOPED_TRACE(unit.size() == 2 ? unit[0] + " " + unit[1] : unit[0]);
        EXPECT_TRUE(r.exited && r.status == 2) << r.describe();
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << "usage text on stderr:\n" << r.err;
        EXPECT_EQ(r.out, "") << "no report for a bad unit";
    }
}

TEST(CliReportTest, UnitsAtTheEndsOfTheirRangesAreAccepted)
{
    RunResult r = runOrolith({"--report", "--curve-unit", "5", "--diff-unit", "0", testdata("cli_spike_dem.grd"),
                              testdata("cli_flat_reference.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    EXPECT_NE(r.out.find("   >   15.0         1\n"), std::string::npos) << "3 x 5 with only the spike above:\n"
                                                                          << r.out;
    EXPECT_NE(r.out.find("   <=   0.0"), std::string::npos) << r.out;
}

TEST(CliReportTest, SizeMismatchIsReportedOnStderrWithStatusOne)
{
    RunResult r = runOrolith({"--report", testdata("cli_spike_dem.grd"), testdata("cli_other_size_dem.grd")});
    ASSERT_TRUE(r.exited) << r.describe();
    EXPECT_EQ(r.status, 1) << r.describe();
    EXPECT_NE(r.err.find("Grid sizes do not match"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << "nothing on stdout when the grids do not belong together";
}

TEST(CliReportTest, MissingGridFileEndsWithModelStatusAndNamesTheFile)
{
    ScratchDir dir;
    std::string missing = dir.path() + "/absent.grd";
    for (const auto& args : {std::vector<std::string>{"--report", missing},
                             std::vector<std::string>{"--report", testdata("cli_spike_dem.grd"), missing}}) {
        RunResult r = runOrolith(args);
        ASSERT_TRUE(r.exited) << r.describe();
        EXPECT_EQ(r.status, 255) << r.describe();
        EXPECT_NE(r.err.find("ERROR: file \"" + missing + "\" not found"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliReportTest, BadGridFileEndsWithModelStatusAndItsMessage)
{
    RunResult r = runOrolith({"--report", testdata("ends_early.grd")});
    ASSERT_TRUE(r.exited) << r.describe();
    EXPECT_EQ(r.status, 255) << r.describe();
    EXPECT_NE(r.err.find("row 1, column 3"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

} // namespace

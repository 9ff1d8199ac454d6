// orolith --heights, --sparse and the usage paths of the command line.
#include <gtest/gtest.h>

#include <regex>

#include "tests/cli/cli_runner.h"

namespace {
using namespace cli_test;

TEST(CliHeightsTest, HeightClassesByTheComparisonsContourInterval)
{
    // The reference rises from 100 to 103: interval 3. The DEM's 24 heights
    // of 100 fall in class 1, its one height of 110 in class 2.
    RunResult r = runOrolith({"--heights", testdata("cli_spike_dem.grd"), testdata("cli_contour_interval_3.grd")});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    EXPECT_EQ(r.out, "Height Classes Output\n1 24\n2 1\n") << "one line \"i count\" per class 1 to interval-1";
    EXPECT_NE(r.err.find("Reading comparison data"), std::string::npos) << "progress on stderr:\n" << r.err;
}

TEST(CliHeightsTest, ComparisonWithoutContourIntervalGivesAMessageNotAResult)
{
    RunResult r = runOrolith({"--heights", testdata("cli_spike_dem.grd"), testdata("cli_zero_reference.grd")});
    ASSERT_TRUE(r.exited) << "must end normally, not crash\n" << r.describe();
    EXPECT_NE(r.status, 0) << r.describe();
    EXPECT_NE(r.status, 255) << "not a model fault either\n" << r.describe();
    EXPECT_EQ(r.out.find("Height Classes Output"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("contour interval"), std::string::npos)
        << "the reason belongs on stderr with the other messages\n" << r.describe();
    EXPECT_EQ(r.out, "") << "stdout carries only a result, and there is none";
}

TEST(CliHeightsTest, NoteAboutHeightsBelowZeroStaysOffStdout)
{
    // Two heights round below 0 and fall in no class. The note saying so
    // is a message, not a class line: on stdout it would read like the
    // count of a class numbered 2.
    ScratchDir dir;
    const std::string head = "ncols 3\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 10\n";
    std::string dem = dir.write("below_zero_dem.grd", head + "-5.2 -7.6 100\n100 100 100\n101 100 100\n");
    std::string ref = dir.write("interval_3.grd", head + "0 100 103\n0 0 0\n0 0 0\n");
    RunResult r = runOrolith({"--heights", dem, ref});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();
    EXPECT_EQ(r.out, "Height Classes Output\n1 6\n2 1\n") << "stdout carries only the class lines";
    EXPECT_NE(r.err.find("2 points below height 0"), std::string::npos) << r.describe();
}

TEST(CliHeightsTest, SizeMismatchAndUsageErrors)
{
    RunResult mismatch = runOrolith({"--heights", testdata("cli_spike_dem.grd"), testdata("cli_other_size_dem.grd")});
    EXPECT_TRUE(mismatch.exited && mismatch.status == 1) << mismatch.describe();
    EXPECT_NE(mismatch.err.find("Grid sizes do not match"), std::string::npos) << mismatch.err;
    EXPECT_EQ(mismatch.out, "");

    RunResult oneFile = runOrolith({"--heights", testdata("cli_spike_dem.grd")});
    EXPECT_TRUE(oneFile.exited && oneFile.status == 2) << oneFile.describe();
    EXPECT_NE(oneFile.err.find("Usage:"), std::string::npos) << oneFile.err;
}

// The grid a --sparse run printed, split into header lines and values.
struct PrintedGrid {
    std::vector<std::string> header;
    std::vector<std::vector<float>> rows;
};

PrintedGrid parsePrinted(const std::string& text)
{
    PrintedGrid g;
    for (const std::string& line : lines(text)) {
        if (!line.empty() && std::isalpha(static_cast<unsigned char>(line[0]))) {
            g.header.push_back(line);
            continue;
        }
        std::istringstream in(line);
        std::vector<float> row;
        for (float v; in >> v;)
            row.push_back(v);
        g.rows.push_back(row);
    }
    return g;
}

TEST(CliSparseTest, SampleIsACompleteGridFileOfTheDemsCells)
{
    std::string dem = testdata("cli_spike_dem.grd");
    RunResult r = runOrolith({"--sparse", "100", dem});
    ASSERT_TRUE(r.exited && r.status == 0) << r.describe();

    PrintedGrid g = parsePrinted(r.out);
    EXPECT_EQ(g.header, (std::vector<std::string>{"ncols 5", "nrows 5", "xllcorner 500000.0", "yllcorner 5100000.0",
                                                  "cellsize 25.0", "NODATA_value -9999"}))
        << "the DEM's own header lines come first:\n" << r.out;
    ASSERT_EQ(g.rows.size(), 5u) << r.out;
    for (std::size_t row = 0; row < g.rows.size(); ++row) {
        ASSERT_EQ(g.rows[row].size(), 5u) << "row " << row << ":\n" << r.out;
        for (std::size_t col = 0; col < 5; ++col) {
            float v = g.rows[row][col];
            float dem = (row == 2 && col == 2) ? 110.0f : 100.0f;
            EXPECT_TRUE(v == 0.0f || v == dem) << "cell " << row << "," << col << " holds " << v
                                               << ": a sample cell is 0 or the DEM's height";
        }
    }
    EXPECT_EQ(g.rows[2][2], 110.0f) << "the DEM's one peak is always in the sample";
    EXPECT_EQ(r.out.find("Creating sparse data file"), std::string::npos) << "dialogue lines go to stderr";
    EXPECT_NE(r.err.find("Found 1 local maximums."), std::string::npos) << r.err;

    // The printed grid loads back as a sparse comparison file.
    ScratchDir dir;
    std::string saved = dir.write("sample.grd", r.out);
    RunResult back = runOrolith({"--report", dem, saved});
    ASSERT_TRUE(back.exited && back.status == 0) << back.describe();
    EXPECT_TRUE(std::regex_search(back.out, std::regex("\nRMSE: [0-9]+\\.[0-9]{3}\n$"))) << back.out;
    RunResult alone = runOrolith({"--report", saved});
    EXPECT_TRUE(alone.exited && alone.status == 0) << "the sample also loads as a DEM\n" << alone.describe();
}

TEST(CliSparseTest, DoesNotWaitForStandardInput)
{
    // Standard input stays open and silent: a run that waited for a number
    // there would never end.
    RunResult r = runOrolith({"--sparse", "100", testdata("cli_spike_dem.grd")}, Input::OpenPipe, 30);
    EXPECT_FALSE(r.timedOut) << "--sparse waited on standard input";
    EXPECT_TRUE(r.exited && r.status == 0) << r.describe();
}

TEST(CliSparseTest, FewerThanOneHundredHeightsIsRefused)
{
    for (const char* n : {"99", "0", "-5"}) {
        RunResult r = runOrolith({"--sparse", n, testdata("cli_spike_dem.grd")});
        SCOPED_TRACE(n);
        ASSERT_TRUE(r.exited) << r.describe();
        EXPECT_NE(r.status, 0) << r.describe();
        EXPECT_NE(r.err.find("Number of heights must be >= 100"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "") << "no grid for a refused count";
    }
}

TEST(CliSparseTest, HugeCountGivesAMessageNotACrash)
{
    RunResult r = runOrolith({"--sparse", "2147483647", testdata("cli_spike_dem.grd")}, Input::DevNull, 180);
    EXPECT_FALSE(r.timedOut) << r.describe();
    EXPECT_TRUE(r.exited) << "ended by a signal instead of an orderly exit\n" << r.describe();
    if (r.exited && r.status != 0) {
        EXPECT_NE(r.err, "") << "a refused count needs a message";
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliSparseTest, CountMustBeAWholeNumberFollowedByADem)
{
    for (const auto& args :
         {std::vector<std::string>{"--sparse", "150"}, std::vector<std::string>{"--sparse", "many", testdata("cli_spike_dem.grd")},
          std::vector<std::string>{"--sparse", "1.5e2", testdata("cli_spike_dem.grd")},
          std::vector<std::string>{"--sparse"}}) {
        RunResult r = runOrolith(args);
        EXPECT_TRUE(r.exited && r.status == 2) << r.describe();
        EXPECT_NE(r.err.find("Usage:"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
}

TEST(CliUsageTest, HelpAndVersionGoToStdout)
{
    RunResult help = runOrolith({"--help"});
    ASSERT_TRUE(help.exited && help.status == 0) << help.describe();
    EXPECT_EQ(help.out.rfind("Usage: orolith", 0), 0u) << help.out;
    for (const char* mode : {"--report", "--heights", "--sparse", "--curve-unit", "--diff-unit", "--version"})
        EXPECT_NE(help.out.find(mode), std::string::npos) << "usage mentions " << mode;
    EXPECT_EQ(help.err, "");

    RunResult version = runOrolith({"--version"});
    ASSERT_TRUE(version.exited && version.status == 0) << version.describe();
    EXPECT_TRUE(std::regex_match(version.out, std::regex("orolith [0-9]+\\.[0-9]+\\.[0-9]+\n"))) << version.out;
}

TEST(CliUsageTest, UnknownOptionsAndMissingFilesAreUsageErrors)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--bogus"},
        {"--report"},
        {"--report", "--frobnicate", testdata("cli_spike_dem.grd")},
        {"--report", testdata("cli_spike_dem.grd"), testdata("cli_flat_reference.grd"), testdata("cli_flat_reference.grd")},
        {"--heights"},
    };
    for (const auto& args : bad) {
        RunResult r = runOrolith(args);
        SCOPED_TRACE(args.size() > 1 ? args[0] + " " + args[1] : args[0]);
        EXPECT_TRUE(r.exited && r.status == 2) << r.describe();
        EXPECT_NE(r.err.find("Usage: orolith"), std::string::npos) << "usage on stderr:\n" << r.err;
        EXPECT_EQ(r.out, "") << "nothing on stdout for a usage error";
    }
}

} // namespace

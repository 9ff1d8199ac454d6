// Limits of large and odd grids: an RMSE over more points than a float
// counts, a grid too large for the memory left, freak heights, and a sample
// asked of a model that holds nothing.
#include <sys/resource.h>

#include <cmath>

#include "model/report.h"
#include "tests/model/model_test.h"

namespace {

using LimitsTest = ModelTest;
using LimitsDeathTest = ModelTest;

GridData filledData(int rows, int cols, float value)
{
    GridData d;
    d.header.rows = rows;
    d.header.cols = cols;
    d.header.cellsize = 1;
    d.heights.assign(static_cast<std::size_t>(rows) * cols, value);
    return d;
}

TEST_F(LimitsTest, RmseCountsMoreThanTwoToTheTwentyFourPresentPoints)
{
    const int side = 4100; // 16,810,000 points, beyond the 16,777,216 a float counts to
    GridData dem = filledData(side, side, 1.0f), ref = filledData(side, side, 1.0f);
    for (int k = 0; k < 16; ++k)
        dem.heights[static_cast<std::size_t>(k) * 1000003] = 5.0f; // 16 points 4 above
    mt.adopt(std::move(dem));
    rd.adopt(std::move(ref));
    const double want = std::sqrt(256.0 / (static_cast<double>(side) * side));
    EXPECT_NEAR(rd.rmseIfPresent().value_or(0), want, want * 1e-6)
        << "the present points were miscounted (a float count stops at 2^24)";
    mt.adopt(GridData{});
    rd.adopt(GridData{});
}

TEST_F(LimitsDeathTest, GridLargerThanTheMemoryLeftIsRefusedBeforeAllocating)
{
    // 3000 x 3000 heights need 36 MB; the child may take 24 MB more than it
    // holds.
    std::string text = "ncols 3000\nnrows 3000\nxllcorner 0\nyllcorner 0\ncellsize 1\n";
    text.reserve(text.size() + 18000000);
    for (int k = 0; k < 9000000; ++k)
        text += "1 ";
    const std::string path = dir.write("big.grd", text);
    auto tightMemory = [] {
        std::FILE* f = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (f && std::fscanf(f, "%lu", &pages) != 1)
            pages = 0;
        if (f)
            std::fclose(f);
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = pages * static_cast<unsigned long>(sysconf(_SC_PAGE_SIZE)) + (24u << 20);
        setrlimit(RLIMIT_AS, &limit);
    };
    const std::string message = "file \"" + path + "\": a grid of 3000 rows and 3000 columns needs [0-9]+ MB of "
                                "memory, more than the 2[0-9] MB available";
    EXPECT_EXIT((tightMemory(), setConsole(std::cerr), readGrid(path)), ::testing::ExitedWithCode(255),
                "ERROR: Problem allocating first dimension of array\n" + message);
    EXPECT_EXIT(
        {
            const int rowsInUse = mt.getRows();
            tightMemory();
            LoadStatus s = loadDataSet(path, "", 1);
            std::fprintf(stderr, "%s\n", s.error.text().c_str());
            std::exit(s.result == LoadResult::failed && mt.getRows() == rowsInUse ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "needs .* MB of memory");
}

TEST_F(LimitsTest, FreakHeightsLoadAndAnalyseWithoutUndefinedArithmetic)
{
    Grid g = filled(5, 5, 100.0f);
    g.at(1, 1) = 3.0e38f;
    g.at(3, 3) = -3.0e38f;
    ASSERT_TRUE(load(g, filled(5, 5, 50.0f)));
    rd.setContourInt(20);
    EXPECT_TRUE(mt.computeHeightClasses());
    EXPECT_TRUE(std::isinf(MAX_CURVE)) << "the Laplacian of such heights overflows a float, as it should";
    std::string report = statisticsReport(currentReportValues(1, 1, true));
    EXPECT_NE(report.find("Gridsize: 5 x 5"), std::string::npos) << report;
}

TEST_F(LimitsTest, SparseSampleOfNothingIsRefused)
{
    mountain empty;
    clearNotice();
    EXPECT_TRUE(empty.sparseRaster(200).empty());
    EXPECT_EQ(lastNotice(), "A sparse sample needs a DEM: open one first");
}

} // namespace

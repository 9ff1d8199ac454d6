// The sparse sample: the DEM's peaks plus random spot heights, as a raster
// of 0s that the user saves and reads back as a sparse comparison file.
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "model/sparseformat.h"
#include "tests/model/analysis_fixtures.h"

namespace {

// Standard input, output and error replaced for the life of the object.
class StandardStreams {
public:
    explicit StandardStreams(const std::string& input = "")
        : in(input), oldIn(std::cin.rdbuf(in.rdbuf())), oldOut(std::cout.rdbuf(out.rdbuf())),
          oldErr(std::cerr.rdbuf(err.rdbuf()))
    {
    }
    ~StandardStreams()
    {
        std::cin.rdbuf(oldIn);
        std::cout.rdbuf(oldOut);
        std::cerr.rdbuf(oldErr);
    }
    std::istringstream in;
    std::ostringstream out, err;

private:
    std::streambuf* oldIn;
    std::streambuf* oldOut;
    std::streambuf* oldErr;
};

class SparseTest : public AnalysisTest {
protected:
    static std::vector<float> demHeights()
    {
        std::vector<float> h;
        for (int r = 0; r < mt.getRows(); ++r)
            for (int c = 0; c < mt.getCols(); ++c)
                h.push_back(mt.getElev(r, c));
        return h;
    }
};

// 23 x 23 grid with 121 isolated peaks at every odd row and odd column.
Grid manyPeaks()
{
    Grid g = filled(23, 23, 1.0f);
    for (int r = 1; r < 23; r += 2)
        for (int c = 1; c < 23; c += 2)
            g.at(r, c) = 1000.0f + 30.0f * r + c;
    return g;
}

// Heights 1 .. rows x cols rising along the rows: no interior peak.
Grid tiltedPlane(int rows, int cols)
{
    Grid g = filled(rows, cols, 0.0f);
    for (std::size_t i = 0; i < g.h.size(); ++i)
        g.h[i] = 1.0f + static_cast<float>(i);
    return g;
}

TEST_F(SparseTest, FewerThanAHundredHeightsIsRefusedAndTheDemIsUnchanged)
{
    Grid g = bumpy(5, 6);
    ASSERT_TRUE(loadDem(g));
    StandardStreams io;
    log.str("");
    mt.makeSparseFile(99);
    EXPECT_EQ(log.str(), "Creating sparse data file\nERROR: Number of heights must be >= 100-\ntry again\n");
    EXPECT_EQ(io.out.str(), "") << "no raster for a refused count";
    EXPECT_NE(io.err.str().find("Enter desired number of random spot heights: \n"), std::string::npos);
    EXPECT_EQ(io.err.str().find("local max"), std::string::npos) << "no peak search for a refused count";

    EXPECT_TRUE(mt.sparseRaster(99, false).empty());
    EXPECT_EQ(demHeights(), g.h);
}

TEST_F(SparseTest, MoreHeightsThanGridPointsIsRefused)
{
    Grid g = bumpy(5, 6);
    ASSERT_TRUE(loadDem(g));
    StandardStreams io;
    EXPECT_TRUE(mt.sparseRaster(LOCALNUM + 1, false).empty()) << "101 spot heights cannot thin out 30 points";
    EXPECT_FALSE(mt.sparseRaster(LOCALNUM, false).empty()) << "the smallest sample stays possible on a small grid";
    EXPECT_EQ(demHeights(), g.h);
}

TEST_F(SparseTest, HundredHeightsOnAPeakyDemAreItsFirstHundredPeaks)
{
    Grid g = manyPeaks();
    ASSERT_TRUE(loadDem(g));
    StandardStreams io;

    std::srand(5);
    const int next = std::rand();
    std::srand(5);
    std::vector<float> raster = mt.sparseRaster(100, false);
    EXPECT_EQ(std::rand(), next) << "no random spot heights when 100 peaks fill the sample";

    ASSERT_EQ(raster.size(), g.h.size());
    for (int r = 0; r < 23; ++r) {
        for (int c = 0; c < 23; ++c) {
            // Rows 1..17 hold 9 x 11 = 99 peaks; the 100th is (19, 1).
            bool taken = r % 2 == 1 && c % 2 == 1 && (r <= 17 || (r == 19 && c == 1));
            EXPECT_EQ(raster[r * 23 + c], taken ? g.at(r, c) : 0.0f) << "cell (" << r << "," << c << ")";
        }
    }
    EXPECT_NE(io.err.str().find("Found 100 local maximums.\n"), std::string::npos) << io.err.str();
    EXPECT_NE(io.err.str().find("numLocals = 100\n"), std::string::npos) << io.err.str();
    EXPECT_EQ(io.err.str().find("pause"), std::string::npos) << "no pause was asked for";
}

TEST_F(SparseTest, PeakSearchStopsAtTheHundredthPeak)
{
    ASSERT_TRUE(loadDem(manyPeaks()));
    StandardStreams io;
    std::vector<randomHeight> out(LOCALNUM + 20, randomHeight{-1, -1, -1.0f});
    ASSERT_EQ(mt.localMaximums(out.data(), false), LOCALNUM);
    EXPECT_EQ(out[0].row, 1);
    EXPECT_EQ(out[0].column, 1);
    EXPECT_EQ(out[LOCALNUM - 1].row, 19) << "the 100th peak in reading order";
    EXPECT_EQ(out[LOCALNUM - 1].column, 1);
    for (int i = LOCALNUM; i < LOCALNUM + 20; ++i)
        EXPECT_EQ(out[i].row, -1) << "record " << i << " written past the room for 100 peaks";
}

TEST_F(SparseTest, PeaksMustRiseStrictlyAboveAllEightNeighbours)
{
    StandardStreams io;
    randomHeight out[LOCALNUM];

    Grid centre = filled(3, 3, 4.0f);
    centre.at(1, 1) = 4.5f;
    ASSERT_TRUE(loadDem(centre));
    ASSERT_EQ(mt.localMaximums(out, false), 1);
    EXPECT_EQ(out[0].row, 1);
    EXPECT_EQ(out[0].column, 1);
    EXPECT_EQ(out[0].height, 4.5f);

    Grid twin = filled(4, 4, 4.0f);
    twin.at(1, 1) = twin.at(2, 2) = 9.0f; // equal diagonal neighbours
    ASSERT_TRUE(loadDem(twin));
    EXPECT_EQ(mt.localMaximums(out, false), 0) << "two equal adjacent highs are not peaks";

    Grid edge = filled(4, 4, 4.0f);
    edge.at(0, 2) = edge.at(3, 3) = 9.0f;
    ASSERT_TRUE(loadDem(edge));
    EXPECT_EQ(mt.localMaximums(out, false), 0) << "border points are never peaks";

    ASSERT_TRUE(loadDem(tiltedPlane(4, 5)));
    EXPECT_EQ(mt.localMaximums(out, false), 0) << "a plane has no peak";
}

TEST_F(SparseTest, RandomSpotHeightsFollowThePeaksRowBeforeColumn)
{
    // Large enough that 99 random spots leave most cells empty.
    const int rows = 20, cols = 31;
    Grid g = tiltedPlane(rows, cols);
    g.at(2, 3) = 5000.0f; // one peak
    ASSERT_TRUE(loadDem(g));
    StandardStreams io;

    std::srand(77);
    std::vector<float> raster = mt.sparseRaster(100, false);

    std::vector<float> want(g.h.size(), 0.0f);
    want[2 * cols + 3] = 5000.0f;
    std::srand(77);
    for (int i = 1; i < 100; ++i) {
        int r = std::rand() % rows;
        int c = std::rand() % cols;
        want[r * cols + c] = g.at(r, c);
    }
    EXPECT_EQ(raster, want) << "each spot takes its row from the first draw, its column from the second";
    EXPECT_NE(io.err.str().find("local max 0: 5000\n"), std::string::npos) << io.err.str();
}

TEST_F(SparseTest, PrintedSampleLeavesTheDemIntact)
{
    Grid g = bumpy(12, 14, 13u);
    ASSERT_TRUE(loadDem(g));
    const float totalSq = TOTAL_SQ;

    std::srand(3);
    std::vector<float> raster;
    {
        StandardStreams quiet;
        raster = mt.sparseRaster(150, false);
    }

    StandardStreams io("7\n");
    log.str("");
    std::srand(3);
    mt.makeSparseFile(150);
    EXPECT_EQ(io.out.str(), formatRaster(raster, 12, 14)) << "the sample printed is the raster";
    EXPECT_EQ(log.str(), "Creating sparse data file\nPeak heights will be included automatically.\n");
    EXPECT_NE(io.err.str().find("pause\n"), std::string::npos) << "the interactive sample waits once";
    EXPECT_EQ(io.in.tellg(), std::streampos(1)) << "the number typed is read, once";

    EXPECT_EQ(demHeights(), g.h) << "the DEM under study must not be replaced by its sample";
    mt.resetCounts();
    mt.compute_curve_color();
    EXPECT_EQ(TOTAL_SQ, totalSq) << "later analyses still see the DEM";
}

TEST(SparseFormat, OneLinePerRowWithEveryValueFollowedByABlank)
{
    std::vector<float> raster = {0.0f, 1523.25f, 100.0f, 0.5f, 1234567.0f, 0.00001f};
    EXPECT_EQ(formatRaster(raster, 2, 3), "0 1523.25 100 \n0.5 1.23457e+06 1e-05 \n");
    EXPECT_EQ(formatRaster(raster, 3, 2), "0 1523.25 \n100 0.5 \n1.23457e+06 1e-05 \n");
    EXPECT_EQ(formatRaster({-12.5f}, 1, 1), "-12.5 \n");
}

} // namespace

// Height classes (the DEM's rounded heights modulo the contour interval)
// and the sparse sample (the DEM's peaks plus random spot heights, as a
// raster of 0s read back as a sparse comparison file).
#include <cstdlib>

#include "model/sparseformat.h"
#include "tests/model/model_test.h"

namespace {

// Standard input, output and error replaced for the life of the object.
struct StandardStreams {
    std::istringstream in;
    std::ostringstream out, err;
    std::streambuf* old[3] = {std::cin.rdbuf(in.rdbuf()), std::cout.rdbuf(out.rdbuf()), std::cerr.rdbuf(err.rdbuf())};

    explicit StandardStreams(const std::string& input = "") { in.str(input); }
    ~StandardStreams() { std::cin.rdbuf(old[0]), std::cout.rdbuf(old[1]), std::cerr.rdbuf(old[2]); }
};

class HeightClassTest : public ModelTest {
protected:
    std::string err; // what the last computation wrote on standard error

    bool classesFor(int interval)
    {
        rd.setContourInt(interval);
        log.str("");
        StandardStreams io;
        bool done = mt.computeHeightClasses();
        err = io.err.str();
        return done;
    }
    static std::vector<int> classes(int n) { return std::vector<int>(mt.getClasses(), mt.getClasses() + n); }
};
using SparseTest = ModelTest;

TEST_F(HeightClassTest, HeightsRoundHalfUpBeforeTakingTheRemainderAndBadIntervalsAreRefused)
{
    ASSERT_TRUE(load(Grid{2, 2, {100.4f, 100.5f, 119.49f, 120.0f}}));
    ASSERT_TRUE(classesFor(1));
    EXPECT_EQ(classes(1), std::vector<int>{4});
    EXPECT_EQ(log.str(), "Height Classes Output\n");
    EXPECT_EQ(mt.getMinClassCount(), 4);

    ASSERT_TRUE(classesFor(20));
    std::vector<int> want(20, 0);
    want[0] = 2;  // 100.4 and 120
    want[1] = 1;  // 100.5 rounds up to 101
    want[19] = 1; // 119.49 rounds down to 119
    EXPECT_EQ(classes(20), want);
    EXPECT_EQ(mt.getMinClassCount(), 0);
    EXPECT_EQ(mt.getMaxClassCount(), 2);
    std::string listing = "Height Classes Output\n";
    for (int i = 1; i < 20; ++i)
        listing += std::to_string(i) + " " + std::to_string(want[i]) + "\n";
    EXPECT_EQ(log.str(), listing) << "class 0 is not listed";
    EXPECT_EQ(err, "");

    const int* kept = mt.getClasses();
    for (int interval : {0, -9999, MAX_HEIGHT_CLASSES + 1}) {
        EXPECT_FALSE(classesFor(interval)) << interval;
        EXPECT_NE(err.find("contour interval"), std::string::npos) << "the reason goes to standard error";
        EXPECT_EQ(log.str(), "");
        EXPECT_EQ(mt.getClasses(), kept) << "the last histogram stays";
        EXPECT_EQ(classes(20), want);
        EXPECT_EQ(mt.getMaxClassCount(), 2);
    }
    EXPECT_TRUE(classesFor(MAX_HEIGHT_CLASSES)) << "the largest interval is refused";
}

TEST_F(HeightClassTest, PointsRoundingBelowZeroAreLeftOutWithANote)
{
    // Rounded half up: 0, -1, -20, -40, 3, 20.
    ASSERT_TRUE(load(Grid{2, 3, {-0.4f, -1.5f, -20.5f, -40.5f, 3.0f, 20.0f}}));
    ASSERT_TRUE(classesFor(20));
    std::vector<int> want(20, 0);
    want[0] = 2;
    want[3] = 1;
    EXPECT_EQ(classes(20), want) << "-20 and -40 are multiples of 20, yet below 0";
    EXPECT_EQ(err, "3 points below height 0 left out of the height classes\n");
}

TEST_F(SparseTest, CountsBelowAHundredOrAboveTheGridPointsAreRefused)
{
    Grid g = bumpy(5, 6);
    ASSERT_TRUE(load(g));
    StandardStreams io;
    log.str("");
    mt.makeSparseFile(99);
    EXPECT_EQ(log.str(), "Creating sparse data file\nERROR: Number of heights must be >= 100-\ntry again\n");
    EXPECT_EQ(io.out.str(), "");
    EXPECT_EQ(io.err.str(), "Enter desired number of random spot heights: \n") << "no peak search";
    EXPECT_TRUE(mt.sparseRaster(LOCALNUM + 1).empty()) << "101 spot heights cannot thin out 30 points";
    EXPECT_FALSE(mt.sparseRaster(LOCALNUM).empty()) << "the smallest sample stays possible";
    EXPECT_EQ(heights(mt), g.h);
}

TEST_F(SparseTest, HundredHeightsOnAPeakyDemAreItsFirstHundredPeaks)
{
    Grid g = filled(23, 23, 1.0f), want = filled(23, 23, 0.0f);
    for (int r = 1; r < 23; r += 2) {
        for (int c = 1; c < 23; c += 2) { // 121 isolated peaks
            g.at(r, c) = 1000.0f + 30.0f * r + c;
            if (r <= 17 || (r == 19 && c == 1)) // 99 peaks in rows 1 to 17, then (19, 1)
                want.at(r, c) = g.at(r, c);
        }
    }
    ASSERT_TRUE(load(g));
    StandardStreams io;
    std::srand(5);
    const int next = std::rand();
    std::srand(5);
    EXPECT_EQ(mt.sparseRaster(100), want.h);
    EXPECT_EQ(std::rand(), next) << "no random spot heights when 100 peaks fill the sample";
    EXPECT_NE(io.err.str().find("Found 100 local maximums.\n"), std::string::npos) << io.err.str();

    std::vector<randomHeight> out(LOCALNUM + 20, randomHeight{-1, -1, -1.0f});
    ASSERT_EQ(mt.localMaximums(out.data()), LOCALNUM);
    EXPECT_EQ(out[LOCALNUM - 1].row, 19);
    EXPECT_EQ(out[LOCALNUM - 1].column, 1);
    EXPECT_EQ(out[LOCALNUM].row, -1) << "written past the room for 100 peaks";
}

TEST_F(SparseTest, PeaksRiseStrictlyAboveAllEightNeighbours)
{
    StandardStreams io;
    randomHeight out[LOCALNUM];
    struct {
        int size;
        std::vector<std::pair<int, int>> highs;
        int peaks;
    } cases[] = {{3, {{1, 1}}, 1}, {4, {{1, 1}, {2, 2}}, 0}, {4, {{0, 2}, {3, 3}}, 0}}; // equal highs; borders
    for (const auto& k : cases) {
        Grid g = filled(k.size, k.size, 4.0f);
        for (auto [r, c] : k.highs)
            g.at(r, c) = 9.0f;
        ASSERT_TRUE(load(g));
        EXPECT_EQ(mt.localMaximums(out), k.peaks) << "first high at row " << k.highs[0].first;
    }
    EXPECT_EQ(out[0].row, 1);
    EXPECT_EQ(out[0].column, 1);
    EXPECT_EQ(out[0].height, 9.0f);
}

TEST_F(SparseTest, EverySpotHeightBeyondThePeaksTakesARowAndAColumnDraw)
{
    Grid g = filled(12, 14, 0.0f); // rising to the south-east: no peak
    for (int i = 0; i < 12 * 14; ++i)
        g.h[i] = 1.0f + i;
    ASSERT_TRUE(load(g));
    StandardStreams quiet;
    std::srand(11);
    std::vector<float> want(g.h.size(), 0.0f);
    for (int k = 0; k < 150; ++k) {
        const int r = std::rand() % 12, c = std::rand() % 14; // row first, then column
        want[r * 14 + c] = g.at(r, c);
    }
    const int next = std::rand();
    std::srand(11);
    EXPECT_EQ(mt.sparseRaster(150), want);
    EXPECT_EQ(std::rand(), next) << "not 150 draws of a row and a column";
}

TEST_F(SparseTest, PrintedSampleLeavesTheDemIntact)
{
    Grid g = bumpy(12, 14, 13u);
    ASSERT_TRUE(load(g));
    const float totalSq = TOTAL_SQ;
    std::vector<float> raster;
    {
        StandardStreams quiet;
        std::srand(3);
        raster = mt.sparseRaster(150);
    }

    StandardStreams io("7\n");
    log.str("");
    std::srand(3);
    mt.makeSparseFile(150);
    EXPECT_EQ(io.out.str(), formatRaster(raster, 12, 14)) << "the sample printed is the raster";
    EXPECT_EQ(log.str(), "Creating sparse data file\nPeak heights will be included automatically.\n");
    EXPECT_EQ(io.in.tellg(), std::streampos(0)) << "the sample must not wait for input: the window would freeze";
    std::srand(3);
    EXPECT_EQ(mt.sparseFileText(150), mt.getHeaderText() + formatRaster(raster, 12, 14)) << "a file that loads back";

    EXPECT_EQ(heights(mt), g.h) << "the DEM must not be replaced by its sample";
    mt.resetCounts();
    mt.compute_curve_color();
    EXPECT_EQ(TOTAL_SQ, totalSq) << "later analyses still see the DEM";
}

TEST(SparseFormat, OneLinePerRowWithEveryValueFollowedByABlank)
{
    std::vector<float> raster = {0.0f, 1523.25f, 100.0f, 0.5f, 1234567.0f, 0.00001f};
    EXPECT_EQ(formatRaster(raster, 2, 3), "0 1523.25 100 \n0.5 1.23457e+06 1e-05 \n");
    EXPECT_EQ(formatRaster(raster, 3, 2), "0 1523.25 \n100 0.5 \n1.23457e+06 1e-05 \n");
}

} // namespace

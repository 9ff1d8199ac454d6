// Height classes: the DEM's rounded heights modulo the contour interval,
// which shows terracing at contour levels.
#include <numeric>

#include "tests/model/analysis_fixtures.h"

namespace {

class HeightClassTest : public AnalysisTest {
protected:
    std::vector<int> classesFor(int interval)
    {
        rd.setContourInt(interval);
        log.str("");
        EXPECT_TRUE(mt.computeHeightClasses());
        EXPECT_TRUE(mt.heightClasses());
        return std::vector<int>(mt.getClasses(), mt.getClasses() + interval);
    }
};

TEST_F(HeightClassTest, HeightsRoundHalfUpBeforeTakingTheRemainder)
{
    ASSERT_TRUE(loadDem(Grid{2, 2, {100.4f, 100.5f, 119.49f, 120.0f}, 10.0f, ""}));
    std::vector<int> k = classesFor(20);
    EXPECT_EQ(k[0], 2) << "100.4 and 120.0 sit on a contour level";
    EXPECT_EQ(k[1], 1) << "100.5 rounds up to 101";
    EXPECT_EQ(k[19], 1) << "119.49 rounds down to 119";
    EXPECT_EQ(std::accumulate(k.begin(), k.end(), 0), 4);
    EXPECT_EQ(mt.getMinClassCount(), 0);
    EXPECT_EQ(mt.getMaxClassCount(), 2);

    std::string out = log.str();
    EXPECT_EQ(out.rfind("Height Classes Output\n1 1\n2 0\n", 0), 0u) << out;
    EXPECT_NE(out.find("\n19 1\n"), std::string::npos) << "the last class is listed: " << out;
    EXPECT_EQ(out.find("\n0 "), std::string::npos) << "class 0 is not listed: " << out;
}

TEST_F(HeightClassTest, IntervalOneHasASingleClassHoldingEveryPoint)
{
    ASSERT_TRUE(loadDem(bumpy(3, 4)));
    std::vector<int> k = classesFor(1);
    EXPECT_EQ(k[0], 12) << "the last row and column count too";
    EXPECT_EQ(log.str(), "Height Classes Output\n") << "nothing follows the title";
    EXPECT_EQ(mt.getMinClassCount(), 12);
    EXPECT_EQ(mt.getMaxClassCount(), 12);
}

TEST_F(HeightClassTest, TerracedDemPilesEveryPointIntoClassZero)
{
    Grid g = filled(3, 5, 0.0f);
    for (std::size_t i = 0; i < g.h.size(); ++i)
        g.h[i] = 5.0f * static_cast<float>(i % 7) + 0.3f;
    ASSERT_TRUE(loadDem(g));
    std::vector<int> k = classesFor(5);
    EXPECT_EQ(k, (std::vector<int>{15, 0, 0, 0, 0}));
    EXPECT_EQ(mt.getMinClassCount(), 0);
    EXPECT_EQ(mt.getMaxClassCount(), 15);
}

TEST_F(HeightClassTest, NoContourIntervalIsRefusedAndKeepsTheLastHistogram)
{
    ASSERT_TRUE(loadDem(Grid{2, 2, {100.4f, 100.5f, 119.49f, 120.0f}, 10.0f, ""}));
    std::vector<int> before = classesFor(20);
    const int* kept = mt.getClasses();

    for (int interval : {0, -9999}) {
        SCOPED_TRACE("interval " + std::to_string(interval));
        rd.setContourInt(interval);
        log.str("");
        std::ostringstream err;
        std::streambuf* oldErr = std::cerr.rdbuf(err.rdbuf());
        bool computed = mt.computeHeightClasses();
        std::cerr.rdbuf(oldErr);
        EXPECT_FALSE(computed) << "there is no class to count into";
        EXPECT_FALSE(log.str().empty() && err.str().empty()) << "the user must learn why nothing happened";
        EXPECT_EQ(mt.getClasses(), kept);
        EXPECT_EQ(std::vector<int>(kept, kept + 20), before);
        EXPECT_EQ(mt.getMinClassCount(), 0);
        EXPECT_EQ(mt.getMaxClassCount(), 2);
    }
}

TEST_F(HeightClassTest, PointsRoundingBelowZeroAreLeftOut)
{
    // Rounded half up: 0, -1, -20, -40, 3, 20.
    ASSERT_TRUE(loadDem(Grid{2, 3, {-0.4f, -1.5f, -20.5f, -40.5f, 3.0f, 20.0f}, 10.0f, ""}));
    std::vector<int> k = classesFor(20);
    EXPECT_EQ(k[3], 1);
    EXPECT_EQ(k[0], 2) << "only -0.4 (rounds to 0) and 20 belong to class 0; heights rounding to -20 "
                          "and -40 are below 0 too";
    EXPECT_EQ(std::accumulate(k.begin(), k.end(), 0), 3) << "the three points below 0 fall in no class";
}

} // namespace

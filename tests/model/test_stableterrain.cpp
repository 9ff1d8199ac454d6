// The rules of stable terrain, each alone and combined: a mask, the slope
// limits, blunders dropped round by round; and what each removed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/stableterrain.h"

using namespace orolith::model;

namespace {

// 20 x 20 cells of 10 m: flat in the west half, a 45-degree ramp (a rise
// of 10 m a cell) in the east half; the comparison 0.1 m lower everywhere.
struct Pair {
    int rows = 20, cols = 20;
    std::vector<float> dem, comp;
    Pair()
    {
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c) {
                const float h = c < 10 ? 100.0f : 100.0f + 10.0f * static_cast<float>(c - 9);
                dem.push_back(h);
                comp.push_back(h - 0.1f);
            }
    }
    GridView demView() const { return {dem.data(), nullptr, rows, cols}; }
    GridView compView() const { return {comp.data(), nullptr, rows, cols}; }
};

const GroundSpacing TEN{10, 10, false};

TEST(StableTerrain, EachRuleAloneAndCombined)
{
    Pair p;
    std::vector<std::uint8_t> mask(400, 1);
    for (int c = 0; c < 20; ++c)
        mask[5 * 20 + c] = 0; // row 5 is a glacier
    struct {
        const char* what;
        bool mask;
        std::optional<double> minSlope, maxSlope;
        std::size_t maskRemoved, slopeRemoved, kept;
    } cases[] = {
        {"nothing", false, {}, {}, 0, 0, 400},
        {"mask", true, {}, {}, 20, 0, 380},
        // Interior points: 18 rows; flat columns 1..8 (slope 0), the ramp
        // from column 10 on (45 degrees); column 9 sees half the ramp
        // (26.6 degrees).
        {"flat only", false, {}, 10.0, 0, 400 - 18 * 8, 18 * 8},
        {"steep only", false, 30.0, {}, 0, 400 - 18 * 9, 18 * 9},
        {"mask and flat", true, {}, 10.0, 20, 380 - 17 * 8, 17 * 8},
    };
    for (const auto& k : cases) {
        StableTerrainRules rules;
        if (k.mask)
            rules.mask = mask;
        rules.minSlope = k.minSlope;
        rules.maxSlope = k.maxSlope;
        const StableTerrain s = stableTerrain(p.demView(), p.compView(), TEN, rules);
        EXPECT_EQ(s.counts.paired, 400u) << k.what;
        EXPECT_EQ(s.counts.mask, k.maskRemoved) << k.what;
        EXPECT_EQ(s.counts.slope, k.slopeRemoved) << k.what;
        EXPECT_EQ(s.counts.kept, k.kept) << k.what;
        std::size_t kept = 0;
        for (std::uint8_t v : s.stable)
            kept += v;
        EXPECT_EQ(kept, k.kept) << k.what;
    }
}

TEST(StableTerrain, BlundersDroppedRoundByRound)
{
    Pair p;
    // Differences spread a little, then blunders of 5 m and one of 50 m:
    // the 50 m one widens nothing (NMAD is robust), all go in one round,
    // and the second round finds nothing more.
    for (std::size_t i = 0; i < p.comp.size(); ++i)
        p.comp[i] = p.dem[i] - 0.1f * static_cast<float>(i % 5);
    const std::size_t blunders[] = {7, 123, 250, 399};
    for (std::size_t i : blunders)
        p.comp[i] = p.dem[i] - 5.0f;
    p.comp[42] = p.dem[42] + 50.0f;
    StableTerrainRules rules;
    rules.outlierNmads = 3;
    const StableTerrain s = stableTerrain(p.demView(), p.compView(), TEN, rules);
    EXPECT_EQ(s.counts.outliers, 5u);
    EXPECT_EQ(s.counts.outlierRounds, 2);
    EXPECT_EQ(s.counts.kept, 395u);
    for (std::size_t i : blunders)
        EXPECT_EQ(s.stable[i], 0) << "blunder " << i << " kept";
    EXPECT_EQ(s.stable[42], 0);
    EXPECT_EQ(s.stable[8], 1);
}

TEST(StableTerrain, AbsentPointsAreNeverStable)
{
    Pair p;
    std::vector<std::uint8_t> present(400, 1);
    present[33] = 0;
    const GridView comp{p.comp.data(), present.data(), 20, 20};
    const StableTerrain s = stableTerrain(p.demView(), comp, TEN, {});
    EXPECT_EQ(s.counts.paired, 399u);
    EXPECT_EQ(s.stable[33], 0);
}

TEST(StableTerrain, TheReportsLinesNameEachRuleAppliedWithWhatItRemoved)
{
    StableTerrainRules rules;
    StableTerrainCounts counts;
    counts.paired = 1200;
    counts.mask = 20;
    counts.slope = 300;
    counts.outliers = 7;
    counts.outlierRounds = 3;
    counts.kept = 873;
    EXPECT_EQ(stableTerrainText(rules, counts), "stable terrain: 873 of 1200 points kept\n");
    rules.mask.assign(4, 1);
    rules.maskName = "glaciers.gpkg";
    rules.minSlope = 2.5;
    rules.maxSlope = 40;
    rules.outlierNmads = 3;
    EXPECT_EQ(stableTerrainText(rules, counts), "stable terrain: 873 of 1200 points kept\n"
                                                "  mask glaciers.gpkg: 20 removed\n"
                                                "  slope at least 2.5 degrees and at most 40 degrees: 300 removed\n"
                                                "  outliers beyond 3 NMAD of the median (3 rounds): 7 removed\n");
    rules.minSlope.reset();
    EXPECT_EQ(stableTerrainLines(rules, counts)[1].rule, "slope at most 40 degrees");

    counts.kept = 0;
    counts.outliers = 0;
    EXPECT_EQ(stableTerrainEmptyText(counts),
              "The stable-terrain rules keep no point: of the 1200 points present in both grids the mask removed 20, "
              "the slope limits removed 300");
}

} // namespace

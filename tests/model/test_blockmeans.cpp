// The downsampled grids the report's maps are drawn from.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "model/blockmeans.h"

using namespace orolith::model;

namespace {

TEST(BlockMeans, BlockSideLeavesAtMostTheLongestSideAsked)
{
    struct {
        int rows, cols, maxSide, block;
    } cases[] = {{100, 100, 1500, 1}, {1500, 10, 1500, 1},   {1501, 10, 1500, 2},
                 {10, 4000, 1500, 3}, {4000, 4000, 1500, 3}, {3000, 3000, 1500, 2}};
    for (const auto& k : cases) {
        const int block = blockSideFor(k.rows, k.cols, k.maxSide);
        EXPECT_EQ(block, k.block) << k.rows << " x " << k.cols;
        EXPECT_LE((std::max(k.rows, k.cols) + block - 1) / block, k.maxSide);
    }
}

TEST(BlockMeans, MeansOfPresentCellsOnlyAndNaNForEmptyBlocks)
{
    // 3 x 5 with blocks of 2: the last row and column of blocks are cut
    // short by the edge.
    const std::vector<float> h = {1, 2, 3, 4, 5, //
                                  3, 4, 5, 6, 7, //
                                  9, 9, 9, 9, 100};
    const std::vector<std::uint8_t> present = {1, 1, 1, 0, 1, //
                                               1, 1, 1, 0, 1, //
                                               0, 0, 1, 1, 0};
    const GridView g{h.data(), present.data(), 3, 5};
    const BlockMeans m = blockMeans(g, 2);
    ASSERT_EQ(m.rows, 2);
    ASSERT_EQ(m.cols, 3);
    const float nan = std::nanf("");
    const float want[] = {2.5f, 4.0f, 6.0f, nan, 9.0f, nan};
    for (int i = 0; i < 6; ++i) {
        if (std::isnan(want[i]))
            EXPECT_TRUE(std::isnan(m.values[i])) << "block " << i << " has no present cell";
        else
            EXPECT_FLOAT_EQ(m.values[i], want[i]) << "block " << i;
    }

    const BlockMeans same = blockMeans(g, 1);
    EXPECT_EQ(same.rows, 3);
    EXPECT_FLOAT_EQ(same.values[2], 3);
    EXPECT_TRUE(std::isnan(same.values[3])) << "an absent cell stays absent";
}

TEST(BlockMeans, DifferencesWhereBothArePresent)
{
    const std::vector<float> a = {10, 20, 30, 40}, b = {1, 2, 3, 4};
    const std::vector<std::uint8_t> aPresent = {1, 1, 0, 1}, bPresent = {1, 0, 1, 1};
    const GridView ga{a.data(), aPresent.data(), 2, 2}, gb{b.data(), bPresent.data(), 2, 2};
    const BlockMeans one = blockMeansOfDifference(ga, gb, 1);
    EXPECT_FLOAT_EQ(one.values[0], 9);
    EXPECT_TRUE(std::isnan(one.values[1])) << "absent in the second grid";
    EXPECT_TRUE(std::isnan(one.values[2])) << "absent in the first grid";
    EXPECT_FLOAT_EQ(one.values[3], 36);
    const BlockMeans all = blockMeansOfDifference(ga, gb, 2);
    ASSERT_EQ(all.values.size(), 1u);
    EXPECT_FLOAT_EQ(all.values[0], 22.5f) << "the mean of 9 and 36 only";
}

} // namespace

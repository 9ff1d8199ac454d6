// Grid-file heights: layout variants, the running extremes and the
// contour-interval detection of comparison data.
#include "tests/model/reader_fixtures.h"

namespace {
using namespace reader_test;

using ReaderHeightsTest = ReaderTest;

TEST_F(ReaderHeightsTest, LineEndsAndValuesPerLineDoNotChangeTheHeights)
{
    const std::vector<float> expected{1.5f, -2, 300, 4, 0, 6.25f};
    for (const char* name : {"layout_lf.grd", "layout_crlf.grd", "layout_one_value_per_line.grd",
                             "layout_all_values_on_one_line.grd", "layout_trailing_tokens.grd"}) {
        SCOPED_TRACE(name);
        auto m = readDem(fixture(name));
        ASSERT_EQ(m->getRows(), 2);
        ASSERT_EQ(m->getCols(), 3);
        EXPECT_EQ(heights(*m), expected) << "row-major heights, row 0 = first data line";
        EXPECT_EQ(m->getZmin(), -2.0f);
        EXPECT_EQ(m->getZmax(), 300.0f);
        float x, y, cs;
        m->getCoord(x, y, cs);
        EXPECT_EQ(cs, 30.0f) << "cellsize must not pick up a carriage return";
    }
}

TEST_F(ReaderHeightsTest, LastHeightMayEndTheFileWithoutALineEnd)
{
    ScratchDir dir;
    std::string path = dir.write("no_final_newline.grd", "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                                        "1 2\n3 4");
    EXPECT_EQ(heights(*readDem(path)), (std::vector<float>{1, 2, 3, 4}));
    std::string tabs = dir.write("tabs.grd", "ncols\t2\tnrows\t1\txllcorner\t0\tyllcorner\t0\tcellsize\t1\t-1\t+2");
    EXPECT_EQ(heights(*readDem(tabs)), (std::vector<float>{-1, 2})) << "tabs separate tokens like blanks";
}

TEST_F(ReaderHeightsTest, TrailingTokensAreIgnoredInComparisonDataToo)
{
    auto r = readComparison(fixture("layout_trailing_tokens.grd"));
    EXPECT_EQ(heights(*r), (std::vector<float>{1.5f, -2, 300, 4, 0, 6.25f}));
}

TEST_F(ReaderHeightsTest, ExtremesKeepTheirStartValuesWhenNoHeightPassesThem)
{
    auto high = readDem(fixture("heights_all_above_35000.grd"));
    EXPECT_EQ(high->getZmin(), 35000.0f) << "zmin starts at 35000 and only a smaller height lowers it";
    EXPECT_EQ(high->getZmax(), 50000.0f);

    auto low = readDem(fixture("heights_all_below_minus_1000.grd"));
    EXPECT_EQ(low->getZmax(), -1000.0f) << "zmax starts at -1000 and only a larger height raises it";
    EXPECT_EQ(low->getZmin(), -3000.0f);
}

TEST_F(ReaderHeightsTest, ContourIntervalIsTheFirstRiseAboveTheFirstNonZeroHeight)
{
    struct Case {
        const char* file;
        int interval;
        const char* why;
    } cases[] = {
        {"contour_120_120_140.grd", 20, "120, 120, 140: equal heights do not count as a rise"},
        {"contour_120_100_130.grd", 10, "120, 100, 130: a lower height is skipped, 130 - 120"},
        {"contour_truncated_99_9_then_101_2.grd", 2, "99.9, 99.2, 101.2: integer parts 101 - 99"},
        {"contour_minus_9999_then_0.grd", 9999, "-9999 then 0: a negative first height counts"},
        {"contour_all_zeros.grd", 0, "a file of zeros has no interval"},
    };
    for (const Case& c : cases) {
        auto r = readComparison(fixture(c.file));
        EXPECT_EQ(r->getContourInt(), c.interval) << c.file << ": " << c.why;
    }
}

TEST_F(ReaderHeightsTest, ContourIntervalWithoutARiseIsTheFirstHeightsIntegerPart)
{
    ScratchDir dir;
    std::string path = dir.write("no_rise.grd", "ncols 3\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n"
                                                "0 250.75 250.5\n");
    EXPECT_EQ(readComparison(path)->getContourInt(), 250);
}

TEST_F(ReaderHeightsTest, ReloadingReplacesTheGrid)
{
    auto m = std::make_unique<mountain>();
    const std::string first[1] = {fixture("layout_lf.grd")};
    m->readgridfile(first, 1);
    const std::string second[1] = {fixture("nodata_line.grd")};
    m->reset();
    m->readgridfile(second, 1);
    EXPECT_EQ(m->getRows(), 3);
    EXPECT_EQ(m->getCols(), 3);
    EXPECT_EQ(heights(*m), (std::vector<float>{50, 0, 52, 53, 54, 55, 0, 57, 58}));
    EXPECT_EQ(m->getZmin(), 0.0f);
    EXPECT_EQ(m->getZmax(), 58.0f);
}

} // namespace

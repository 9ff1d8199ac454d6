// The class graph's histograms of values that are not all finite: a grid
// with heights near the float limit gives infinite curvatures and
// differences, which must neither pick a bin nor stretch the axis, and
// which the window counts in a note.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

#include "dialogs/graphdata.h"
#include "dialogs/names.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {

constexpr float INF = std::numeric_limits<float>::infinity();
const float NOT_A_NUMBER = std::numeric_limits<float>::quiet_NaN();

std::vector<int> binsWith(std::vector<std::pair<int, int>> filled)
{
    std::vector<int> bins(NUM_BINS, 0);
    for (auto [j, n] : filled)
        bins[j] = n;
    return bins;
}

// Every number the window takes from a histogram: its bounds, its range
// and the value labels under the bars.
void expectAllFinite(const Histogram& h, const std::string& what)
{
    EXPECT_TRUE(std::isfinite(h.min) && std::isfinite(h.max) && std::isfinite(h.range))
        << what << ": the axis runs from " << h.min << " to " << h.max << " (range " << h.range << ")";
    for (const AxisLabel& l : valueAxisLabels(h.min, h.range))
        EXPECT_TRUE(std::isfinite(l.value)) << what << ": an axis label reads " << l.value;
    EXPECT_EQ(std::accumulate(h.bins.begin(), h.bins.end(), 0), h.finite)
        << what << ": the bars do not add up to the finite values";
}

TEST(GraphBins, OnlyFiniteValuesAreBinnedBetweenTheFiniteExtremes)
{
    struct Row {
        const char* what;
        std::vector<float> values;
        float min, max;
        std::vector<std::pair<int, int>> bins; // bin and count; the others are empty
        int notFinite;
    };
    const Row rows[] = {
        // 0 to 25: bin j holds (j, j + 1], bin 0 also the smallest value.
        {"all finite", {0, 0.5f, 1, 12.5f, 25}, 0, 25, {{0, 3}, {12, 1}, {24, 1}}, 0},
        {"some +inf", {0, 25, INF, 10, INF}, 0, 25, {{0, 1}, {9, 1}, {24, 1}}, 2},
        {"some -inf", {-INF, 5, 30}, 5, 30, {{0, 1}, {24, 1}}, 1},
        {"some not a number", {NOT_A_NUMBER, 2, 4, NOT_A_NUMBER}, 2, 4, {{0, 1}, {24, 1}}, 2},
        {"all not finite", {INF, -INF, NOT_A_NUMBER}, 0, 0, {}, 3},
        {"a single value", {7}, 7, 7, {{0, 1}}, 0},
        {"max equal to min", {3.5f, 3.5f, 3.5f}, 3.5f, 3.5f, {{0, 3}}, 0},
        // A range beyond the float limit: bin widths in double stay finite.
        {"the float limit on both sides", {-3.4e38f, 3.4e38f, 0}, -3.4e38f, 3.4e38f, {{0, 1}, {12, 1}, {24, 1}}, 0},
        {"no values", {}, 0, 0, {}, 0},
    };
    for (const Row& r : rows) {
        const Histogram h = histogramOf(r.values.data(), r.values.size());
        EXPECT_EQ(h.bins, binsWith(r.bins)) << r.what << ": values in the wrong bars";
        EXPECT_EQ(h.min, r.min) << r.what << ": the axis starts elsewhere";
        EXPECT_EQ(h.max, r.max) << r.what << ": the axis ends elsewhere";
        EXPECT_EQ(h.range, static_cast<double>(r.max) - r.min) << r.what << ": range of the axis labels";
        EXPECT_EQ(h.notFinite, r.notFinite) << r.what << ": the note counts another number of values";
        EXPECT_EQ(h.finite, static_cast<int>(r.values.size()) - r.notFinite) << r.what;
        expectAllFinite(h, r.what);
    }
}

TEST(GraphBins, DifferencesCountFromZeroUpToTheLargestFiniteOne)
{
    struct Row {
        const char* what;
        std::vector<float> values;
        float max;
        std::vector<std::pair<int, int>> bins;
        int notFinite;
    };
    const Row rows[] = {
        // Bins 0.2 wide: 2.5 lies in (2.4, 2.6].
        {"an infinite difference beside finite ones", {5, INF, 2.5f}, 5, {{12, 1}, {24, 1}}, 1},
        {"every difference not finite", {INF, NOT_A_NUMBER}, 0, {}, 2},
        {"only differences of 0", {0, 0}, 0, {{0, 2}}, 0},
        {"the largest finite difference", {3.4e38f, 1, INF}, 3.4e38f, {{0, 1}, {24, 1}}, 1},
    };
    for (const Row& r : rows) {
        const Histogram h = histogramFrom(0.0f, r.values.data(), r.values.size());
        EXPECT_EQ(h.bins, binsWith(r.bins)) << r.what << ": values in the wrong bars";
        EXPECT_EQ(h.min, 0.0f) << r.what << ": the differences do not count from 0";
        EXPECT_EQ(h.max, r.max) << r.what << ": the axis ends elsewhere";
        EXPECT_EQ(h.notFinite, r.notFinite) << r.what << ": the note counts another number of values";
        expectAllFinite(h, r.what);
    }
}

TEST(GraphBins, BoundsThatAreNotFiniteBinNothing)
{
    const std::vector<float> values = {1, 2, 3};
    struct Row {
        const char* what;
        float max, min;
    };
    const Row rows[] = {
        {"max +inf", INF, 0},
        {"min -inf", 3, -INF},
        {"max not a number", NOT_A_NUMBER, 0},
        {"max below min", 0, 3},
    };
    for (const Row& r : rows) {
        float range = 0;
        EXPECT_EQ(arrangeDiff(3, r.max, r.min, values.data(), range), binsWith({})) << r.what;
    }
}

TEST(GraphBins, TheNoteCountsTheValuesLeftOut)
{
    struct Row {
        int notFinite;
        const char* note;
    };
    const Row rows[] = {
        {0, ""},
        {1, "1 value that is not finite is not shown"},
        {2, "2 values that are not finite are not shown"},
        {12, "12 values that are not finite are not shown"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(notFiniteNote(r.notFinite), r.note) << r.notFinite << " values left out";
}

TEST(GraphBins, AxisNumbersAtTheFloatLimitKeepTheirExponent)
{
    // "3.4e+38" in the 20-pixel field was cut to "3.4e+3", read as 3400.
    const std::pair<double, const char*> rows[] = {
        {3.4e38, "3.4e38"}, {1.36e38, "1.4e38"}, {-3.4e38, "-3.4e38"}, {1.2e7, "1.2e7"}, {9999999, "9999999"},
    };
    for (auto [v, text] : rows)
        EXPECT_EQ(axisNumberText(v), text) << "axis number " << v;
}

} // namespace

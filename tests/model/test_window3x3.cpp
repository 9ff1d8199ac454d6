// The walk every terrain stencil shares (model/window3x3.h): which points
// it visits at the border and beside absent points, that threads change
// nothing, and the stencils' values on windows worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "model/cellmath.h"
#include "model/fields.h"
#include "model/metrics.h"
#include "model/terrain.h"
#include "model/window3x3.h"

using namespace orolith::model;

namespace {

// A grid drawn as rows of text: '#' an absent point (stored as 0), any
// other character a present one. Heights are 10 x row + column, so that a
// window read from the wrong place shows.
struct DrawnGrid {
    int rows = 0, cols = 0;
    std::vector<float> heights;
    std::vector<std::uint8_t> present;
    bool withMask = true;
    GridView view() const { return {heights.data(), withMask ? present.data() : nullptr, rows, cols}; }
};

DrawnGrid drawn(const std::vector<const char*>& picture, bool withMask = true)
{
    DrawnGrid g;
    g.rows = static_cast<int>(picture.size());
    g.cols = g.rows ? static_cast<int>(std::strlen(picture[0])) : 0;
    g.withMask = withMask;
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c) {
            const bool absent = picture[r][c] == '#';
            g.present.push_back(absent ? 0 : 1);
            g.heights.push_back(absent ? 0.0f : static_cast<float>(10 * r + c));
        }
    return g;
}

// The points a walk visits, drawn as the grid: 'v' visited, '.' not.
std::vector<std::string> visitsOf(const GridView& g, const WindowWalk& walk)
{
    std::vector<std::string> out(static_cast<std::size_t>(g.rows), std::string(static_cast<std::size_t>(g.cols), '.'));
    forEachWindow3x3(g, walk, [&](const Window3x3& w) { out[w.row()][w.col()] = 'v'; });
    return out;
}

std::string joined(const std::vector<std::string>& rows)
{
    std::string s;
    for (const std::string& r : rows)
        s += r + "\n";
    return s;
}

std::string joined(const std::vector<const char*>& rows)
{
    std::string s;
    for (const char* r : rows)
        s += std::string(r) + "\n";
    return s;
}

struct WalkCase {
    const char* name;
    std::vector<const char*> grid;
    Neighbourhood shape;
    AbsentPoints absent;
    std::vector<const char*> visited;
};

const WalkCase WALK_CASES[] = {
    {"3 x 3: the centre alone",
     {"...", "...", "..."},
     Neighbourhood::eight,
     AbsentPoints::skipWindow,
     {"...", ".v.", "..."}},
    {"two rows have no interior",
     {".....", "....."},
     Neighbourhood::four,
     AbsentPoints::readAsStored,
     {".....", "....."}},
    {"two columns have no interior",
     {"..", "..", "..", ".."},
     Neighbourhood::eight,
     AbsentPoints::readAsStored,
     {"..", "..", "..", ".."}},
    {"4 x 5 whole: the border band is left out",
     {".....", ".....", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::skipWindow,
     {".....", ".vvv.", ".vvv.", "....."}},
    {"a hole in the middle, four neighbours",
     {".....", ".....", "..#..", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::skipWindow,
     {".....", ".v.v.", ".....", ".v.v.", "....."}},
    {"a hole in the middle, eight neighbours",
     {".....", ".....", "..#..", ".....", "....."},
     Neighbourhood::eight,
     AbsentPoints::skipWindow,
     {".....", ".....", ".....", ".....", "....."}},
    {"a hole read as stored",
     {".....", ".....", "..#..", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::readAsStored,
     {".....", ".vvv.", ".vvv.", ".vvv.", "....."}},
    {"a corner hole is in no cross",
     {"#....", ".....", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::skipWindow,
     {".....", ".vvv.", ".vvv.", "....."}},
    {"a corner hole is in one window",
     {"#....", ".....", ".....", "....."},
     Neighbourhood::eight,
     AbsentPoints::skipWindow,
     {".....", "..vv.", ".vvv.", "....."}},
    {"a hole on the edge, four neighbours",
     {"..#..", ".....", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::skipWindow,
     {".....", ".v.v.", ".vvv.", "....."}},
    {"a hole on the edge, eight neighbours",
     {"..#..", ".....", ".....", "....."},
     Neighbourhood::eight,
     AbsentPoints::skipWindow,
     {".....", ".....", ".vvv.", "....."}},
    {"a hole beside the last column",
     {".....", "....#", ".....", "....."},
     Neighbourhood::four,
     AbsentPoints::skipWindow,
     {".....", ".vv..", ".vvv.", "....."}},
    {"two out: a band of two",
     {".......", ".......", ".......", ".......", ".......", "......."},
     Neighbourhood::eightAndTwoOut,
     AbsentPoints::skipWindow,
     {".......", ".......", "..vvv..", "..vvv..", ".......", "......."}},
    {"two out: a hole two rows up",
     {"...#...", ".......", ".......", ".......", ".......", "......."},
     Neighbourhood::eightAndTwoOut,
     AbsentPoints::skipWindow,
     {".......", ".......", "..v.v..", "..vvv..", ".......", "......."}},
    {"two out: a hole on a diagonal two out is not read",
     {".#.....", ".......", ".......", ".......", ".......", "......."},
     Neighbourhood::eightAndTwoOut,
     AbsentPoints::skipWindow,
     {".......", ".......", "..vvv..", "..vvv..", ".......", "......."}},
    {"nothing present", {"###", "###", "###"}, Neighbourhood::four, AbsentPoints::skipWindow, {"...", "...", "..."}},
    {"nothing present, read as stored",
     {"###", "###", "###"},
     Neighbourhood::four,
     AbsentPoints::readAsStored,
     {"...", ".v.", "..."}},
};

TEST(WindowWalk, VisitsThePointsWhoseWindowIsInsideAndPresent)
{
    for (const WalkCase& k : WALK_CASES) {
        const DrawnGrid g = drawn(k.grid);
        EXPECT_EQ(joined(visitsOf(g.view(), {k.shape, k.absent, 1})), joined(k.visited)) << k.name;
        // A mask of all ones, and none, are the same grid.
        if (joined(k.grid).find('#') == std::string::npos) {
            const DrawnGrid whole = drawn(k.grid, false);
            EXPECT_EQ(joined(visitsOf(whole.view(), {k.shape, k.absent, 1})), joined(k.visited))
                << k.name << ", without a presence mask";
        }
    }
}

TEST(WindowWalk, OnePointAndTheComplementFollowTheSameRule)
{
    for (const WalkCase& k : WALK_CASES) {
        if (k.absent != AbsentPoints::skipWindow)
            continue;
        const DrawnGrid g = drawn(k.grid);
        const GridView v = g.view();
        std::vector<std::string> broken(static_cast<std::size_t>(g.rows), std::string(g.cols, '.'));
        forEachWindowWithAbsentPoint(v, k.shape, [&](int r, int c) { broken[r][c] = 'x'; });
        const int reach = k.shape == Neighbourhood::eightAndTwoOut ? 2 : 1;
        for (int r = 0; r < g.rows; ++r)
            for (int c = 0; c < g.cols; ++c) {
                const bool visited = k.visited[r][c] == 'v';
                const bool inside = r >= reach && c >= reach && r < g.rows - reach && c < g.cols - reach;
                EXPECT_EQ(neighbourhoodPresent(v, r, c, k.shape), visited) << k.name << " at " << r << ", " << c;
                EXPECT_EQ(broken[r][c] == 'x', inside && !visited)
                    << k.name << ": the point with an absent neighbour at " << r << ", " << c;
            }
    }
}

TEST(WindowWalk, AWindowReadsItsOwnNeighbours)
{
    const DrawnGrid g = drawn({".....", ".....", ".....", ".....", "....."});
    const Window3x3 w = windowAt(g.view(), 2, 3);
    EXPECT_EQ(w.row(), 2);
    EXPECT_EQ(w.col(), 3);
    const std::pair<float, float> named[] = {
        {w.nw(), 12}, {w.n(), 13},  {w.ne(), 14}, {w.w(), 22},  {w.centre(), 23},
        {w.e(), 24},  {w.sw(), 32}, {w.s(), 33},  {w.se(), 34}, {w.at(-2, 0), 3},
    };
    for (auto [got, want] : named)
        EXPECT_EQ(got, want) << "10 x row + column";
}

// A grid of irregular heights with a few holes.
DrawnGrid rough(int rows, int cols, unsigned seed)
{
    DrawnGrid g;
    g.rows = rows;
    g.cols = cols;
    for (int i = 0; i < rows * cols; ++i) {
        seed = seed * 1103515245u + 12345u;
        const bool absent = (seed >> 16) % 17 == 0;
        g.present.push_back(absent ? 0 : 1);
        g.heights.push_back(absent ? 0.0f : static_cast<float>((seed >> 8) % 10000) / 7.0f);
    }
    return g;
}

TEST(WindowWalk, ThreadsShareTheRowsWithoutChangingAResult)
{
    const DrawnGrid g = rough(41, 37, 7);
    for (AbsentPoints absent : {AbsentPoints::readAsStored, AbsentPoints::skipWindow}) {
        auto run = [&](int threads) {
            std::vector<float> out(g.heights.size(), -1.0f);
            std::vector<int> visits(g.heights.size(), 0);
            forEachWindow3x3(g.view(), {Neighbourhood::four, absent, threads}, [&](const Window3x3& w) {
                const std::size_t i = g.view().index(w.row(), w.col());
                out[i] = laplacian(w);
                ++visits[i];
            });
            return std::make_pair(out, visits);
        };
        const auto one = run(1);
        for (int threads : {2, 3, 7, 40, THREADS_BY_SIZE}) {
            const auto many = run(threads);
            EXPECT_EQ(std::memcmp(one.first.data(), many.first.data(), one.first.size() * sizeof(float)), 0)
                << threads << " threads";
            EXPECT_EQ(one.second, many.second) << threads << " threads visit every point once";
        }
    }
}

TEST(WindowWalk, ACurvatureFieldLargeEnoughForEveryCoreMatchesTheFormula)
{
    // 600 x 600 points: worth a thread a core.
    const DrawnGrid g = rough(600, 600, 11);
    const CurvatureField f = curvatureField(g.view());
    ASSERT_EQ(f.magnitude.size(), 598u * 598u);
    float sumSq = 0;
    for (int r = 1; r < 599; ++r)
        for (int c = 1; c < 599; ++c) {
            auto h = [&](int rr, int cc) { return g.heights[static_cast<std::size_t>(rr) * 600 + cc]; };
            const float sum = h(r - 1, c) + h(r, c - 1) + h(r, c + 1) + h(r + 1, c);
            const float m = std::fabs(static_cast<float>(sum - 4.0 * h(r, c)));
            const float got = f.magnitude[static_cast<std::size_t>(r - 1) * 598 + (c - 1)];
            ASSERT_EQ(std::memcmp(&got, &m, sizeof m), 0) << "at " << r << ", " << c;
            sumSq += m * m;
        }
    EXPECT_EQ(f.totalSquared, sumSq) << "squares summed in row-major order";
}

TEST(WindowWalk, AVisitorThatStopsEndsTheWalkInRowOrder)
{
    const DrawnGrid g = rough(30, 20, 3);
    using Points = std::vector<std::pair<int, int>>;
    Points all, firstFive;
    forEachWindow3x3(g.view(), {Neighbourhood::eight, AbsentPoints::skipWindow, 1},
                     [&](const Window3x3& w) { all.emplace_back(w.row(), w.col()); });
    forEachWindow3x3(g.view(), {Neighbourhood::eight, AbsentPoints::skipWindow, THREADS_BY_SIZE},
                     [&](const Window3x3& w) {
                         firstFive.emplace_back(w.row(), w.col());
                         return firstFive.size() < 5;
                     });
    ASSERT_GE(all.size(), 5u);
    EXPECT_EQ(firstFive, Points(all.begin(), all.begin() + 5));
    for (std::size_t k = 1; k < all.size(); ++k)
        EXPECT_LT(all[k - 1], all[k]) << "row by row, west to east";
}

// A window over heights written out as 5 rows of 5, centred.
struct Heights5x5 {
    float z[25];
    Window3x3 window() const { return {z + 12, 5, 2, 2}; }
};

TEST(Stencils, ValuesWorkedOutByHand)
{
    // n 1, w 2, e 3, s 4, centre 5: 1 + 2 + 3 + 4 - 4 x 5.
    const Heights5x5 cross{{0, 0, 0, 0, 0, 0, 9, 1, 9, 0, 0, 2, 5, 3, 0, 0, 9, 4, 9, 0, 0, 0, 0, 0, 0}};
    EXPECT_EQ(laplacian(cross.window()), -10.0f) << "the corners take no part";

    // z = 3 x column - 5 x row, columns 2 apart and rows 4: rising east by
    // 3 / 2 and north (towards row 0) by 5 / 4.
    Heights5x5 plane{};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            plane.z[r * 5 + c] = static_cast<float>(3 * c - 5 * r);
    const Gradient g = hornGradient(plane.window(), GroundSpacing{2, 4});
    EXPECT_DOUBLE_EQ(g.east, 1.5);
    EXPECT_DOUBLE_EQ(g.north, 1.25);

    Heights5x5 peak{};
    peak.z[12] = 1;
    EXPECT_TRUE(isPeak(peak.window()));
    for (int neighbour : {6, 7, 8, 11, 13, 16, 17, 18}) {
        Heights5x5 tie = peak;
        tie.z[neighbour] = 1;
        EXPECT_FALSE(isPeak(tie.window())) << "as high as neighbour " << neighbour << " is no peak";
    }
}

TEST(Stencils, TheSlopeBandAndItsPresence)
{
    // 8 x 8: three rows and columns kept from the northern and western
    // edges, two from the southern and eastern ones.
    const std::pair<int, bool> rows[] = {{2, false}, {3, true}, {5, true}, {6, false}};
    for (auto [i, inside] : rows) {
        EXPECT_EQ(inSlopeBand(8, 8, i, 4), inside) << "row " << i;
        EXPECT_EQ(inSlopeBand(8, 8, 4, i), inside) << "column " << i;
    }
    const DrawnGrid whole = drawn({"....", "....", "....", "...."}, false);
    EXPECT_TRUE(slopePointsPresent(whole.view(), 0, 0)) << "without absent points the slope is never undefined";
    const DrawnGrid holed = drawn({"......", "......", "......", "......", "...#.."});
    EXPECT_TRUE(slopePointsPresent(holed.view(), 2, 2));
    EXPECT_FALSE(slopePointsPresent(holed.view(), 2, 3)) << "the hole is two rows down";
    EXPECT_FALSE(slopePointsPresent(holed.view(), 1, 2)) << "reads a row outside the grid";
}

TEST(Stencils, SlopeAndAspectKeepTheirDegreeFactors)
{
    // Falling towards the south-east: west minus east and north minus south
    // both 1. atan(1) x 57.29582791 = 45.0000381 (not 45), so the aspect is
    // 134.99997 in single precision.
    Heights5x5 southEast{};
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 5; ++c)
            southEast.z[r * 5 + c] = static_cast<float>(-r - c);
    ASSERT_TRUE(aspectDegrees(southEast.window(), {}).has_value());
    EXPECT_EQ(*aspectDegrees(southEast.window(), {}), 134.99996948242188f);
    EXPECT_EQ(gradientDirection(southEast.window(), {}), 45);

    const Heights5x5 flat{};
    EXPECT_FALSE(aspectDegrees(flat.window(), {}).has_value()) << "flat ground has no aspect";
    EXPECT_EQ(gradientDirection(flat.window(), {}), 90) << "no change along the row reads as 90";

    // A step up to the east, 10 apart: atan(rise / 10) x 57.29582791 >= 10
    // from a rise of 1.7632683, where 180 / pi would need 1.7632698.
    auto step = [](float rise) {
        Heights5x5 s{};
        for (int r = 0; r < 5; ++r)
            for (int c = 3; c < 5; ++c)
                s.z[r * 5 + c] = rise;
        return s;
    };
    const StencilSpacing tens{10, 10};
    EXPECT_EQ(gradientDirection(step(1.0f).window(), tens), 0);
    EXPECT_TRUE(steepAlongGradient(step(1.7632689f).window(), tens, 10.0f));
    EXPECT_FALSE(steepAlongGradient(step(1.7632680f).window(), tens, 10.0f));
}

} // namespace

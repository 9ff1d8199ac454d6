// The surface without a display: the cursor that picks each triangle's
// colouring cell, the level of detail, the arrays (each triangle's vertices
// where the mesh has them, its colour on its own last vertex), and the
// profile: where its section stands, which cells it passes and how they are
// saved, its marks and the cut it makes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "model/loading.h"
#include "model/mountain.h"
#include "render/profilecsv.h"
#include "render/profilegeometry.h"
#include "render/surfacemesh.h"
#include "render/surfacewalk.h"
#include "render/viewstate.h"
#include "tests/model/grid_files.h"

namespace {

TEST(SurfaceMesh, CursorOfEachTriangleIsWhereTheWalkingCursorStands)
{
    for (auto [rows, cols] : {std::pair{2, 2}, {3, 5}, {6, 3}, {4, 4}}) {
        GridCursor walk;
        int t = 0;
        for (int r = 0; r < rows - 1; ++r)
            for (int c = 0; c < cols - 1; ++c)
                for (int second = 0; second < 2; ++second, ++t) {
                    GridCursor got = cursorOf(r, c, second, cols);
                    EXPECT_TRUE(got.i == walk.i && got.j == walk.j)
                        << rows << " x " << cols << ", triangle " << t << ": (" << got.i << ", " << got.j
                        << ") instead of (" << walk.i << ", " << walk.j << ")";
                    advanceCursor(walk, t, cols);
                }
    }
}

TEST(SurfaceMesh, LevelOfDetailKeepsTheDrawnCellsUnderTheLimit)
{
    for (auto [rows, cols, limit, step] :
         {std::array{1000, 1000, 1100000, 1}, {2000, 2000, 1100000, 2}, {4000, 4000, 1100000, 4},
          {10000, 10000, 1100000, 10}, {4000, 4000, 250000, 8}, {3, 3, 1, 2}}) {
        EXPECT_EQ(detailStep(rows, cols, limit), step) << rows << " x " << cols << " under " << limit;
    }
}

struct Loaded : ::testing::Test {
    void SetUp() override
    {
        std::string dem = writeGrid("mesh_dem.grd", 5, 6, 10, [](int r, int c) { return 100.0f + r * r + 3 * c; });
        ASSERT_TRUE(loadDataSet(dem, "", 1).ok());
    }
};

// The vertices of triangle t in the arrays, flat or smooth.
const float* vertexOf(const SurfaceArrays& a, std::size_t t, int v)
{
    return a.flat ? &a.xyz[a.indices[t * 3 + v] * 3] : &a.xyz[(t * 3 + v) * 3];
}
std::size_t triangles(const SurfaceArrays& a) { return a.flat ? a.indices.size() / 3 : a.xyz.size() / 9; }

TEST_F(Loaded, TrianglesStandWhereTheMeshHasThemFlatOrSmooth)
{
    SurfaceInputs in;
    in.light.on = false;
    for (bool flat : {true, false}) {
        SCOPED_TRACE(flat ? "flat" : "smooth");
        SurfaceArrays a = buildSurface(mt, in, 1, flat);
        ASSERT_EQ(triangles(a), static_cast<std::size_t>(mt.getNumTriangles()));
        std::vector<int> lastUse(a.xyz.size() / 3, 0);
        for (int t = 0; t < mt.getNumTriangles(); ++t) {
            const mountain::triangleinfo tri = mt.triangle(t);
            const float want[3][3] = {{tri.x0, -tri.y0, tri.z0}, {tri.x1, -tri.y1, tri.z1}, {tri.x2, -tri.y2, tri.z2}};
            for (int v = 0; v < 3; ++v) {
                const float* got = vertexOf(a, static_cast<std::size_t>(t), v);
                EXPECT_TRUE(got[0] == want[v][0] && got[1] == want[v][1] && got[2] == want[v][2])
                    << "triangle " << t << ", vertex " << v;
            }
            if (flat)
                ++lastUse[a.indices[t * 3 + 2]];
        }
        for (int uses : lastUse)
            EXPECT_LE(uses, 1) << "two triangles share the vertex that colours them";
        // Unlit, below the tree line and not steep: every triangle in TERRAIN.
        for (std::size_t t = 0; t < triangles(a); ++t) {
            std::size_t colourOf = flat ? a.indices[t * 3 + 2] : t * 3 + 2;
            EXPECT_EQ(a.rgba[colourOf * 4 + 1], 128) << "triangle " << t;
        }
    }
}

TEST_F(Loaded, HiddenSurfaceLeavesMarksAsPointsAndTheProfileCutsRows)
{
    SurfaceInputs in;
    in.drawTriangles = false;
    EXPECT_EQ(triangles(buildSurface(mt, in, 1, false)), 0u) << "no surface while the triangles are switched off";
    in.drawTriangles = true;
    in.cut = ProfileCut{true, VERTP, 1, 0};
    // Cursor rows i with rows - i - 2 > 1, rows 0 and 1 of 5; the last
    // triangle of cell row 1 takes its cursor in row 2 and goes too.
    for (bool flat : {true, false})
        EXPECT_EQ(triangles(buildSurface(mt, in, 1, flat)), static_cast<std::size_t>(2 * 10 - 1));
    SurfaceArrays coarse = buildSurface(mt, SurfaceInputs{}, 2, true);
    EXPECT_EQ(coarse.xyz.size() / 6, static_cast<std::size_t>(3 * 4)) << "rows 0, 2, 4 and columns 0, 2, 4, 5";
    EXPECT_EQ(triangles(coarse), static_cast<std::size_t>(2 * 3 * 2));
}

// A 5 x 4 grid of cell size 10, scaled as convert_to_triangles scales it:
// rows, cols, cellsize, movex, movey, scalefactor, zmid, zscale, zmin, zmax.
const MeshFrame m{5, 4, 10, 15, 20, 2.0f / 50, 120, 2.0f / 50, 100, 140};

TEST(ProfilePlacement, PositionsOutsideTheGridAreClamped)
{
    // {Y, X, grid row, heights column}: Y counts rows from the last, a
    // horizontal section takes its heights from column X - 1. X beyond the
    // columns happens when there are more rows than columns.
    const int cases[][4] = {{1, 2, 3, 1}, {0, 0, 4, 0}, {4, 4, 0, 3}, {4, 5, 0, 3}, {-3, -3, 4, 0}, {99, 99, 0, 3}};
    for (const auto& c : cases) {
        ProfilePlacement p = placeProfile(m, c[0], c[1]);
        EXPECT_TRUE(p.gridy == c[2] && p.gx == c[3]) << "Y " << c[0] << ", X " << c[1] << ": row " << p.gridy
                                                    << ", column " << p.gx;
    }
    EXPECT_FALSE(placeProfile(MeshFrame{}, 0, 0).usable) << "no grid, no section";
}

TEST(ProfileSection, CellsInTheOrderTheProfileDrawsThem)
{
    const ProfilePlacement p = placeProfile(m, 1, 2);
    const struct {
        int view;
        bool usable;
        int count, row0, col0, row2, col2;
    } cases[] = {
        {VERTP, true, 3, 3, 0, 3, 2},  // along grid row 3, without the last column
        {HORIZ, true, 4, 0, 1, 2, 1},  // along column 1, without the last row
        {7, true, 0, 0, 0, 0, 0},      // an unknown view draws nothing
        {VERTP, false, 0, 0, 0, 0, 0}, // nor does a grid too small to cut
    };
    for (const auto& c : cases) {
        const SectionCells cells = sectionCells(c.view, c.usable ? p : ProfilePlacement{}, m.rows, m.cols);
        EXPECT_EQ(cells.count, c.count) << "view " << c.view;
        if (c.count) {
            EXPECT_TRUE(cells.row(0) == c.row0 && cells.col(0) == c.col0 && cells.row(2) == c.row2 &&
                        cells.col(2) == c.col2)
                << "view " << c.view << ": cell 0 at " << cells.row(0) << "," << cells.col(0);
        }
    }
}

TEST(ProfileCsv, DistanceDemAndPresentComparisonHeights)
{
    // 3 x 4, cell size 2.5; comparison values of 0 and below are absent.
    const float dem[] = {10, 11, 12, 13, 20, 21, 22, 23, 30, 31, 32, 33.5f};
    const float comp[] = {0, 11.5f, -1, 13, 20, 0, 22.25f, 23, 30, 31, 32, 33};
    auto along = [](bool row, int line, int count) {
        SectionCells c;
        c.alongRow = row;
        c.line = line;
        c.count = count;
        return c;
    };
    const struct {
        const char* what;
        const float* comp;
        SectionCells cells;
        const char* csv;
    } cases[] = {
        {"a DEM alone", nullptr, along(true, 1, 3), "0,20,\n2.5,21,\n5,22,\n"},
        {"absent comparison values", comp, along(true, 0, 3), "0,10,\n2.5,11,11.5\n5,12,\n"},
        {"down a column", comp, along(false, 3, 2), "0,13,13\n2.5,23,23\n"},
        {"the middle column", comp, along(false, 2, 3), "0,12,\n2.5,22,22.25\n5,32,32\n"},
        {"no section", comp, SectionCells{}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(profileCsv(dem, c.comp, 4, 2.5f, c.cells), std::string("distance,dem,comparison\n") + c.csv)
            << c.what;
    const float odd[] = {0.1f, 1e-7f, 123456.7f};
    EXPECT_EQ(profileCsv(odd, nullptr, 3, 0.1f, along(true, 0, 3)),
              "distance,dem,comparison\n0,0.1,\n0.1,1e-07,\n0.2,123456.7,\n")
        << "heights and distances in the fewest digits that read back";
}

TEST(ProfileColors, LineAndMarksFollowTheDifference)
{
    const ColorRGB red{1, 0.2f, 0.2f}, blue{0.2f, 0.2f, 1}, white{1, 1, 1};
    EXPECT_EQ(compareLineColor(105, 100, 1), red) << "DEM below the comparison";
    EXPECT_EQ(compareLineColor(95, 100, 1), blue) << "DEM above";
    EXPECT_TRUE(compareLineColor(101, 100, 1) == white && compareLineColor(99, 100, 1) == white);
    EXPECT_EQ(compareLineColor(103, 100, 5), white) << "unit from the panel";

    MarkStyle s = markStyle(102, 100, 1);
    EXPECT_TRUE(s.color.r == 1 && std::fabs(s.color.g - 0.6f) < 1e-6f && s.top == 0.1f && s.bottom == 0.0f);
    EXPECT_EQ(markStyle(110, 100, 1).color, (ColorRGB{1, 0, 0})) << "five units or more is pure red";
    s = markStyle(97, 100, 1);
    EXPECT_TRUE(std::fabs(s.color.r - 0.4f) < 1e-6f && s.color.b == 1 && s.top == 0.0f && s.bottom == -0.1f);
    s = markStyle(100.5f, 100, 1);
    EXPECT_TRUE(s.color == white && s.top == 0.05f && s.bottom == -0.05f);
}

TEST(MeshWalk, ThinsOnlyWhileDraggingLargeGrids)
{
    EXPECT_EQ(triangleStep(false, 5000000), 1);
    EXPECT_EQ(triangleStep(true, 199999), 1);
    EXPECT_EQ(triangleStep(true, 200000), 2) << "exactly 200000 points is thinned";
    EXPECT_EQ(triangleStep(true, 1000000), 6);
}

TEST(MeshWalk, ProfileCutHidesOneSideOfTheSection)
{
    ProfileCut cut;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{9, 0})) << "no profile: everything shown";
    cut.on = true;
    cut.ypos = 0;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{7, 0})) << "rows - i - 2 = 1 > 0";
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{8, 0})) << "rows - i - 2 = 0 is cut away";
    cut.ypos = 3;
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{4, 0}) && !triangleShown(cut, 10, GridCursor{5, 0}));
    cut.view = HORIZ;
    cut.xpos = 4;
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{0, 4})) << "j <= X is cut away";
    EXPECT_TRUE(triangleShown(cut, 10, GridCursor{0, 5}));
    cut.view = 7;
    EXPECT_FALSE(triangleShown(cut, 10, GridCursor{0, 5})) << "unknown orientation hides the surface";
}

} // namespace

// The buffered surface without a display: the cursor that picks each
// triangle's colouring cell, the lighting computed once, the level of
// detail, and the arrays (each triangle's vertices where the mesh has them,
// its colour on its own last vertex).
#include <array>
#include <cmath>

#include <gtest/gtest.h>

#include "model/loading.h"
#include "model/mountain.h"
#include "render/surfacemesh.h"
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

TEST(SurfaceMesh, LightingIsAmbientPlusDiffuseAtTheVertex)
{
    const float up[3] = {0, 0, 1}, origin[3] = {0, 0, 0};
    SurfaceLight light;
    light.position[0] = 0, light.position[1] = 0, light.position[2] = 2;
    const ColorRGB grey{0.5f, 0.25f, 0.1f};
    struct {
        float lightAt[3];
        float factor; // of the colour
    } cases[] = {{{0, 0, 2}, 1.2f}, {{2, 0, 2}, 0.2f + std::sqrt(0.5f)}, {{0, 0, -2}, 0.2f}, {{2, 0, 0}, 0.2f}};
    for (const auto& k : cases) {
        std::copy(k.lightAt, k.lightAt + 3, light.position);
        ColorRGB c = litColor(grey, up, origin, light);
        EXPECT_NEAR(c.r, std::min(1.0f, 0.5f * k.factor), 1e-6) << "light at " << k.lightAt[0] << ", " << k.lightAt[2];
        EXPECT_NEAR(c.b, 0.1f * k.factor, 1e-6);
    }
    light.on = false;
    EXPECT_TRUE(litColor(grey, up, origin, light) == grey) << "unlit, the colour as it is";
    std::uint8_t px[4];
    toRgba8({1.0f, 0.5f, 1.0f / 510.0f}, px);
    EXPECT_EQ((std::vector<int>{px[0], px[1], px[2], px[3]}), (std::vector<int>{255, 128, 1, 255})) << "rounded";
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

} // namespace

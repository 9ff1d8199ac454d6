// The triangle mesh and its normals: what the viewer draws and lights.
#include <cmath>

#include "tests/model/analysis_fixtures.h"

namespace {

using Tri = mountain::triangleinfo;

// A model whose exaggeration can be set to any value, as the exaggeration
// buttons may leave it.
struct AdjustableMountain : mountain {
    void setVertExag(float v) { vertExag = v; }
};

class MeshTest : public AnalysisTest {
protected:
    // Grid column and row of a mesh vertex, read back through the scaling.
    static void gridPoint(float x, float y, int& r, int& c)
    {
        c = static_cast<int>(std::lround((x / mt.getScalefactor() + mt.getMovex()) / mt.getCellsize()));
        r = static_cast<int>(std::lround((y / mt.getScalefactor() + mt.getMovey()) / mt.getCellsize()));
    }
};

TEST_F(MeshTest, TriangleCountIsTwoPerCellAndNoneForASingleRowOrColumn)
{
    ASSERT_TRUE(loadDem(filled(2, 2, 5.0f)));
    EXPECT_EQ(mt.getNumTriangles(), 2) << "a 2 x 2 grid is one cell, drawn as two triangles";

    ASSERT_TRUE(loadDem(filled(4, 5, 5.0f)));
    EXPECT_EQ(mt.getNumTriangles(), 3 * 8) << "each of the 3 rows of cells holds 2 x 5 - 2 triangles";

    ASSERT_TRUE(loadDem(filled(1, 6, 5.0f)));
    EXPECT_EQ(mt.getNumTriangles(), 0) << "a single grid row has no cells to draw";

    ASSERT_TRUE(loadDem(filled(6, 1, 5.0f)));
    EXPECT_EQ(mt.getNumTriangles(), 0) << "a single grid column has no cells to draw";
}

TEST_F(MeshTest, WideFlatGridIsScaledByItsExtentAndCentred)
{
    Grid g{2, 3, {0, 1, 2, 3, 4, 5}, 10.0f, ""};
    ASSERT_TRUE(loadDem(g));

    EXPECT_FLOAT_EQ(mt.getScalefactor(), 2.0f / 30.0f) << "the 3 columns x 10 m (not 2 x 10) span 2 view units";
    EXPECT_FLOAT_EQ(mt.getMovex(), 10.0f) << "x is centred on the middle of the grid";
    EXPECT_FLOAT_EQ(mt.getMovey(), 5.0f) << "y is centred on the middle of the grid";
    EXPECT_FLOAT_EQ(mt.getZmid(), 2.5f) << "z is centred on the middle of the height range";

    const Tri& t = mt.getTriangles()[0];
    EXPECT_NEAR(t.x0, -2.0 / 3.0, 1e-6) << "first vertex sits at the left edge";
    EXPECT_NEAR(t.y0, -1.0 / 3.0, 1e-6) << "first vertex sits at row 0, the low-y side";
    EXPECT_NEAR(t.z0, -1.0 / 6.0, 1e-6) << "first vertex height (0 - 2.5) x 2/30";
}

TEST_F(MeshTest, SteepGridIsScaledByItsReliefToExactlyTwoUnits)
{
    Grid g{2, 2, {0, 0, 0, 100}, 1.0f, ""};
    ASSERT_TRUE(loadDem(g));
    EXPECT_FLOAT_EQ(mt.getScalefactor(), 2.0f / 100.0f) << "relief 100 exceeds the 2 m extent";

    float lo = 1e9f, hi = -1e9f;
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const Tri& t = mt.getTriangles()[i];
        for (float z : {t.z0, t.z1, t.z2}) {
            lo = std::min(lo, z);
            hi = std::max(hi, z);
        }
    }
    EXPECT_FLOAT_EQ(lo, -1.0f) << "the lowest point touches the bottom of the view cube";
    EXPECT_FLOAT_EQ(hi, 1.0f) << "the highest point touches the top of the view cube";
}

TEST_F(MeshTest, ExaggerationStretchesHeightsAndZeroFlattensThem)
{
    Grid g = bumpy(4, 5);
    ASSERT_TRUE(loadDem(g, 1));
    float z1 = mt.getTriangles()[5].z2;

    mt.convert_to_triangles(3);
    EXPECT_FLOAT_EQ(mt.getVertExag(), 3.0f);
    EXPECT_FLOAT_EQ(mt.getZscale(), 3.0f * mt.getScalefactor());
    EXPECT_NEAR(mt.getTriangles()[5].z2, 3.0f * z1, 1e-5) << "exaggeration 3 triples every height offset";

    mt.convert_to_triangles(0);
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const Tri& t = mt.getTriangles()[i];
        EXPECT_EQ(t.z0, 0.0f) << "exaggeration 0 must draw a flat surface (triangle " << i << ")";
        EXPECT_EQ(t.z1, 0.0f) << "triangle " << i;
        EXPECT_EQ(t.z2, 0.0f) << "triangle " << i;
    }
}

TEST_F(MeshTest, RebuildRewritesVerticesButKeepsColoursAndNormals)
{
    Grid g = filled(4, 4, 0.0f);
    g.at(1, 1) = 5.0f;
    ASSERT_TRUE(loadDem(g));
    EXPECT_TRUE(allocated);
    const mountain::triangleinfo* mesh = mt.getTriangles();
    const Tri before = mesh[tri(1, 1)];
    ASSERT_EQ(before.curveColor, HIGH);

    mt.convert_to_triangles(4); // as the exaggeration buttons do, before the normals
    const Tri& after = mt.getTriangles()[tri(1, 1)];
    EXPECT_EQ(mt.getTriangles(), mesh) << "the mesh of the same DEM is rebuilt in place";
    EXPECT_FLOAT_EQ(after.z0, 4.0f * before.z0) << "vertices follow the new exaggeration";
    EXPECT_EQ(after.curveColor, HIGH) << "the colour classes survive a rebuild";
    EXPECT_EQ(after.nx, before.nx) << "normals are left for compute_normals";
    EXPECT_EQ(after.nz, before.nz) << "normals are left for compute_normals";
}

TEST_F(MeshTest, ExaggerationButtonsStopAtZero)
{
    AdjustableMountain m;
    m.vertExagPlus();
    EXPECT_FLOAT_EQ(m.getVertExag(), 2.0f) << "plus adds one";
    m.vertExagReset();
    EXPECT_FLOAT_EQ(m.getVertExag(), 1.0f) << "reset returns to 1";
    m.vertExagMinus();
    EXPECT_FLOAT_EQ(m.getVertExag(), 0.0f) << "minus from 1 reaches 0";
    m.vertExagMinus();
    EXPECT_FLOAT_EQ(m.getVertExag(), 0.0f) << "minus at 0 must not turn the surface upside down";

    m.setVertExag(0.5f);
    m.vertExagMinus();
    EXPECT_FLOAT_EQ(m.getVertExag(), -0.5f) << "0.5 is above 0, so minus still applies";
}

TEST_F(MeshTest, EveryCellIsSplitAlongTheSameDiagonalInTheSameVertexOrder)
{
    Grid g = bumpy(3, 4, 11u);
    ASSERT_TRUE(loadDem(g));
    ASSERT_EQ(mt.getNumTriangles(), 12);

    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            SCOPED_TRACE("cell row " + std::to_string(r) + ", column " + std::to_string(c));
            const Tri& a = mt.getTriangles()[tri(r, c)];
            const Tri& b = mt.getTriangles()[tri(r, c) + 1];
            // Expected grid points of the six vertices: the diagonal runs
            // from (r, c+1) to (r+1, c).
            const int want[6][2] = {{r, c}, {r + 1, c}, {r, c + 1}, {r, c + 1}, {r + 1, c}, {r + 1, c + 1}};
            const float got[6][3] = {{a.x0, a.y0, a.z0}, {a.x1, a.y1, a.z1}, {a.x2, a.y2, a.z2},
                                     {b.x0, b.y0, b.z0}, {b.x1, b.y1, b.z1}, {b.x2, b.y2, b.z2}};
            for (int v = 0; v < 6; ++v) {
                int gr, gc;
                gridPoint(got[v][0], got[v][1], gr, gc);
                EXPECT_EQ(gr, want[v][0]) << "vertex " << v << " is on the wrong grid row";
                EXPECT_EQ(gc, want[v][1]) << "vertex " << v << " is on the wrong grid column";
                float height = got[v][2] / mt.getZscale() + mt.getZmid();
                EXPECT_NEAR(height, g.at(want[v][0], want[v][1]), 1e-3)
                    << "vertex " << v << " does not carry its grid point's height";
            }
        }
    }
}

TEST_F(MeshTest, NormalsAreUnitLengthPerpendicularAndPointToNegativeZ)
{
    ASSERT_TRUE(loadDem(bumpy(5, 6, 3u)));
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const Tri& t = mt.getTriangles()[i];
        double len = std::sqrt(double(t.nx) * t.nx + double(t.ny) * t.ny + double(t.nz) * t.nz);
        EXPECT_NEAR(len, 1.0, 1e-5) << "lighting needs a unit normal (triangle " << i << ")";
        EXPECT_LT(t.nz, 0.0f) << "all normals point to negative z (triangle " << i << ")";
        double e1 = (t.x1 - t.x0) * t.nx + (t.y1 - t.y0) * t.ny + (t.z1 - t.z0) * t.nz;
        double e2 = (t.x2 - t.x0) * t.nx + (t.y2 - t.y0) * t.ny + (t.z2 - t.z0) * t.nz;
        EXPECT_NEAR(e1, 0.0, 1e-5) << "normal not perpendicular to the triangle (triangle " << i << ")";
        EXPECT_NEAR(e2, 0.0, 1e-5) << "normal not perpendicular to the triangle (triangle " << i << ")";
    }
}

TEST_F(MeshTest, NormalOfAPlaneRisingEastLeansEast)
{
    // Heights rise 10 per 10 m column: a 45 degree slope towards +x.
    Grid g{4, 4, {}, 10.0f, ""};
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            g.h.push_back(10.0f * c);
    ASSERT_TRUE(loadDem(g));
    const float s = static_cast<float>(std::sqrt(0.5));
    for (int i = 0; i < mt.getNumTriangles(); ++i) {
        const Tri& t = mt.getTriangles()[i];
        EXPECT_NEAR(t.nx, s, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.ny, 0.0f, 1e-5) << "triangle " << i;
        EXPECT_NEAR(t.nz, -s, 1e-5) << "triangle " << i;
    }
}

} // namespace

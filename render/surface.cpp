// The terrain surface: every triangle of the mesh in the colour its scheme
// gives it, plus comparison cubes and difference marks. Colours are decided
// by triangleLook; this file only gathers them into arrays for GL.
#include <vector>

#include <GL/gl.h>

#include "model/dataset.h"
#include "render/frameinputs.h"
#include "render/glcolor.h"
#include "render/names.h"
#include "render/profilegeometry.h"
#include "render/slopeaspect.h"
#include "render/solids.h"
#include "render/surfacecache.h"
#include "render/surfacecolor.h"
#include "render/surfacemesh.h"
#include "render/surfacewalk.h"

namespace orolith::render {

namespace {

// Difference marks start this far above their vertex.
constexpr float MARK_OFFSET = 0.5f;
constexpr float CUBE_EDGE = 0.005f;
// Floats of vertex coordinates sent to GL in one slice (65536 triangles).
constexpr std::size_t BATCH_FLOATS = 3 * 3 * 65536;

struct VertexBatch {
    std::vector<float> xyz, normal, rgb;

    void clear()
    {
        xyz.clear();
        normal.clear();
        rgb.clear();
    }
    void add(float x, float y, float z, const float n[3], const ColorRGB& c)
    {
        xyz.insert(xyz.end(), {x, y, z});
        normal.insert(normal.end(), {n[0], n[1], n[2]});
        rgb.insert(rgb.end(), {c.r, c.g, c.b});
    }
    void draw(GLenum mode) const
    {
        if (xyz.empty())
            return;
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, xyz.data());
        glNormalPointer(GL_FLOAT, 0, normal.data());
        glColorPointer(3, GL_FLOAT, 0, rgb.data());
        glDrawArrays(mode, 0, static_cast<GLsizei>(xyz.size() / 3));
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisableClientState(GL_VERTEX_ARRAY);
    }
};

// The mesh's y is mirrored when drawn, and the normal turned with it.
void drawnNormal(const Triangle& t, float n[3])
{
    n[0] = -t.nx;
    n[1] = t.ny;
    n[2] = -t.nz;
}

// A mark is a vertical line above vertex 1 while the surface is drawn, and
// a point at vertex 0 when only the marks are shown.
void addMark(const Triangle& t, bool drawTriangles, float length, const ColorRGB& color, VertexBatch& lines,
             VertexBatch& points)
{
    float n[3];
    drawnNormal(t, n);
    if (drawTriangles) {
        lines.add(t.x1, -t.y1, t.z1 + MARK_OFFSET, n, color);
        lines.add(t.x1, -t.y1, t.z1 + MARK_OFFSET + length, n, color);
    } else {
        points.add(t.x0, -t.y0, t.z0, n, color);
    }
}

void drawCube(float x, float y, float z)
{
    glColor4f(CUBE_COLOR.r, CUBE_COLOR.g, CUBE_COLOR.b, 1.0f);
    glPushMatrix();
    glTranslatef(x, y, z);
    solidCube(CUBE_EDGE);
    glPopMatrix();
}

} // namespace

void drawSurfaceDirectly(const DataSet& d, const ViewState& view, bool dragging)
{
    const int rows = d.rows(), cols = d.cols();
    const MeshFrame& mesh = d.mesh();
    if (!d.loaded() || !mesh.usable() || mesh.rows != rows || mesh.cols != cols)
        return;
    const int incr = triangleStep(dragging, rows * cols);
    const int numTriangles = mesh.triangles();

    VertexBatch surface, lines, points;
    std::vector<float> cubes;

    const ViewFlags flags = viewFlags(view);
    const HeightClassTable classTable = heightClassTable(d);
    const bool comparison = d.hasComparison();
    const GridView dem = d.demView(), comp = d.comparisonView();
    const ProfilePlacement place = placeProfile(mesh, view.profileYpos, view.profileXpos);
    const ProfileCut cut{view.plotProfile, view.profView, place.Y, place.X};
    auto E = [&](int r, int c) { return dem.at(r, c); };
    auto present = [&](int r, int c) { return dem.isPresent(r, c); };

    const StencilSpacing stencil = stencilSpacing(d);
    GridCursor cur;
    for (int t = 0; t < numTriangles; t += incr) {
        if (cur.i >= rows || cur.j >= cols)
            break;
        // The triangle's own cell, sampled at its first point.
        const int r = t / 2 / (cols - 1), c = t / 2 % (cols - 1);
        const bool second = t % 2 != 0;
        const bool whole = second ? present(r, c + 1) && present(r + 1, c) && present(r + 1, c + 1)
                                  : present(r, c) && present(r + 1, c) && present(r, c + 1);
        const GridCursor at = samplePoint(r, c, r + 1, c + 1, second ? 1 : 0, present);
        const int i = at.i, j = at.j;
        if (!whole) { // a hole
            advanceCursor(cur, t, cols);
            continue;
        }
        const Triangle tri = meshTriangle(mesh, dem, d.spacing(), t);
        const std::size_t cell = static_cast<std::size_t>(t / 2);

        CellSample s;
        s.elev = dem.at(i, j);
        s.comp = comparison ? comp.at(i, j) : 0.0f;
        s.hasComp = comparison;
        s.compPresent = comparison && comp.isPresent(i, j);
        s.curveColor = d.curveColorOfCell(cell);
        s.diffColor = d.diffColorOfCell(cell);
        s.curveDiffColor = d.curveDiffColorOfCell(cell);
        s.evenTriangle = t % 2 == 0;
        s.zscale = mesh.zscale;
        s.zmin = truncToInt(d.zmin());
        s.zmax = truncToInt(d.zmax());
        s.unstable = removedFromStableTerrain(d, i, j);
        const bool slopeDefined = slopeDefinedAt(d, i, j);
        TriangleLook look = triangleLook(
            flags, s, classTable, [&] { return steepAt(d, view.slope, i, j); },
            [&] { return slopeDefined ? aspectDeg(E, rows, cols, i, j, stencil) : static_cast<float>(NOSLOPE); });

        if (look.cube)
            cubes.insert(cubes.end(), {tri.x1, -tri.y1, tri.z1});
        if (look.mark)
            addMark(tri, view.drawTriangles, look.mark->length, look.color, lines, points);
        if (view.drawTriangles && triangleShown(cut, rows, cur)) {
            float n[3];
            drawnNormal(tri, n);
            surface.add(tri.x0, -tri.y0, tri.z0, n, look.color);
            surface.add(tri.x1, -tri.y1, tri.z1, n, look.color);
            surface.add(tri.x2, -tri.y2, tri.z2, n, look.color);
            // Large grids are sent in slices so that the arrays stay small.
            if (surface.xyz.size() >= BATCH_FLOATS) {
                surface.draw(GL_TRIANGLES);
                surface.clear();
            }
        }
        advanceCursor(cur, t, cols);
    }

    surface.draw(GL_TRIANGLES);
    lines.draw(GL_LINES);
    points.draw(GL_POINTS);
    for (std::size_t k = 0; k < cubes.size(); k += 3)
        drawCube(cubes[k], cubes[k + 1], cubes[k + 2]);
}

} // namespace orolith::render

// The terrain surface: every triangle of the mesh in the colour its scheme
// gives it, plus comparison cubes and difference marks. Colours are decided
// by triangleLook; this file only gathers them into arrays for GL.
#include <vector>

#include <GL/gl.h>

#include "model/mountain.h"
#include "render/glcolor.h"
#include "render/modelaccess.h"
#include "render/slopeaspect.h"
#include "render/solids.h"
#include "render/surfacecache.h"
#include "render/surfacecolor.h"
#include "render/surfacemesh.h"
#include "render/surfacewalk.h"

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
void drawnNormal(const mountain::triangleinfo& t, float n[3])
{
    n[0] = -t.nx;
    n[1] = t.ny;
    n[2] = -t.nz;
}

// A mark is a vertical line above vertex 1 while the surface is drawn, and
// a point at vertex 0 when only the marks are shown.
void addMark(const mountain::triangleinfo& t, float length, const ColorRGB& color,
             VertexBatch& lines, VertexBatch& points)
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

void mountain::drawgrid()
{
    static int incr = 1;
    const bool dragging = lButtonState || rButtonState || mButtonState;
    incr = triangleStep(dragging, gridsize());
    if (!meshMatchesGrid(*this))
        return;
    if (bufferedDrawing) {
        drawBufferedSurface(*this, dragging);
        return;
    }
    // Every triangle, directly: what the buffers must look like.

    static VertexBatch surface, lines, points;
    surface.clear();
    lines.clear();
    points.clear();
    std::vector<float> cubes;

    const ViewFlags flags = currentViewFlags();
    const HeightClassTable classTable = currentHeightClasses(*this);
    const bool comparison = haveComparison();
    const ProfilePlacement place = placeProfile(meshFrame(*this), profileYpos, profileXpos);
    const ProfileCut cut{plotProfile, profView, place.Y, place.X};
    auto E = [this](int r, int c) { return grid[r][c]; };

    const StencilSpacing stencil = stencilSpacing(*this);
    GridCursor cur;
    for (int t = 0; t < numTriangles; t += incr) {
        if (cur.i >= rows || cur.j >= cols)
            break;
        // The triangle's own cell, sampled at its first point.
        const int r = t / 2 / (cols - 1), c = t / 2 % (cols - 1);
        const bool second = t % 2 != 0;
        const bool present = second ? isPresent(r, c + 1) && isPresent(r + 1, c) && isPresent(r + 1, c + 1)
                                    : isPresent(r, c) && isPresent(r + 1, c) && isPresent(r, c + 1);
        const GridCursor at = samplePoint(r, c, r + 1, c + 1, second ? 1 : 0,
                                          [this](int pr, int pc) { return isPresent(pr, pc); });
        const int i = at.i, j = at.j;
        if (!present) { // a hole
            advanceCursor(cur, t, cols);
            continue;
        }
        const triangleinfo tri = triangle(t);

        CellSample s;
        s.elev = grid[i][j];
        s.comp = comparison ? rd.getGrid(i, j) : 0.0f;
        s.hasComp = comparison;
        s.compPresent = comparison && rd.isPresent(i, j);
        s.curveColor = tri.curveColor;
        s.diffColor = tri.diffColor;
        s.curveDiffColor = tri.curveDiffColor;
        s.evenTriangle = t % 2 == 0;
        s.zscale = zscale;
        s.zmin = truncToInt(zmin);
        s.zmax = truncToInt(zmax);
        const bool slopeDefined = slopeDefinedAt(*this, i, j);
        TriangleLook look = triangleLook(
            flags, s, classTable, [&] { return findSlope(i, j); },
            [&] { return slopeDefined ? aspectDeg(E, rows, cols, i, j, stencil) : static_cast<float>(NOSLOPE); });

        if (look.cube)
            cubes.insert(cubes.end(), {tri.x1, -tri.y1, tri.z1});
        if (look.mark)
            addMark(tri, look.mark->length, look.color, lines, points);
        if (drawTriangles && triangleShown(cut, rows, cur)) {
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

void mountain::drawDiffSurf(int i, int j, int t)
{
    if (!haveComparison() || !meshMatchesGrid(*this) || t < 0 || t >= numTriangles || i < 0 ||
        i >= rows || j < 0 || j >= cols || !isPresent(i, j) || !rd.isPresent(i, j))
        return;
    DiffMark mark = diffMark(grid[i][j], rd.getGrid(i, j), zscale);
    if (mark.color)
        setColorRGB(*mark.color);
    float current[4];
    glGetFloatv(GL_CURRENT_COLOR, current);
    VertexBatch lines, points;
    addMark(triangle(t), mark.length, {current[0], current[1], current[2]}, lines, points);
    lines.draw(GL_LINES);
    points.draw(GL_POINTS);
}

#include "render/surfacemesh.h"

#include <algorithm>
#include <cmath>

#include "model/cellmath.h"
#include "model/dataset.h"
#include "model/parallel.h"
#include "render/names.h"
#include "render/slopeaspect.h"

namespace orolith::render {

namespace {

// Difference marks start this far above their vertex.
constexpr float MARK_OFFSET = 0.5f;

// The grid rows (or columns) drawn at a step: 0, step, 2 step, ... and the
// last one.
std::vector<int> drawnLines(int count, int step)
{
    std::vector<int> lines;
    for (int k = 0; k < count; k += step)
        lines.push_back(k);
    if (!lines.empty() && lines.back() != count - 1)
        lines.push_back(count - 1);
    return lines;
}

// What one triangle looks like, as drawgrid decides it.
struct Drawn {
    TriangleLook look;
    bool shown;
    bool present; // all three corners have a height
};

} // namespace

int detailStep(int rows, int cols, long long maxCells)
{
    long long cells = static_cast<long long>(std::max(rows - 1, 0)) * std::max(cols - 1, 0);
    int step = 1;
    while (cells > maxCells && (static_cast<long long>(rows - 1) / step) * ((cols - 1) / step) > maxCells)
        ++step;
    return step;
}

ColorRGB litColor(const ColorRGB& c, const float n[3], const float v[3], const SurfaceLight& light)
{
    if (!light.on)
        return c;
    float lx = light.position[0] - v[0], ly = light.position[1] - v[1], lz = light.position[2] - v[2];
    float len = std::sqrt(lx * lx + ly * ly + lz * lz);
    float nl = len > 0 ? (n[0] * lx + n[1] * ly + n[2] * lz) / len : 0.0f;
    // Global ambient 0.2 times the colour, plus the diffuse term.
    float k = 0.2f + std::max(nl, 0.0f);
    return clamped({c.r * k, c.g * k, c.b * k});
}

void toRgba8(const ColorRGB& c, std::uint8_t out[4])
{
    ColorRGB k = clamped(c);
    out[0] = static_cast<std::uint8_t>(std::lround(k.r * 255.0f));
    out[1] = static_cast<std::uint8_t>(std::lround(k.g * 255.0f));
    out[2] = static_cast<std::uint8_t>(std::lround(k.b * 255.0f));
    out[3] = 255;
}

bool drawnFlat(int rows, int cols, int step)
{
    long long r = (rows - 1 + step - 1) / step, c = (cols - 1 + step - 1) / step;
    return r * c > MAX_SMOOTH_CELLS;
}

SurfaceArrays buildSurface(const DataSet& d, const SurfaceInputs& in, int step, bool flat)
{
    SurfaceArrays a;
    a.step = step;
    const int rows = d.rows(), cols = d.cols();
    if (!d.loaded() || !d.mesh().usable() || rows < 2 || cols < 2)
        return a;
    const GridView m = d.demView(), comp = d.comparisonView();
    const MeshFrame& mesh = d.mesh();
    const std::vector<int> R = drawnLines(rows, step), C = drawnLines(cols, step);
    const int nr = static_cast<int>(R.size()), nc = static_cast<int>(C.size());
    const double sx = d.spacing().x, sy = d.spacing().y;
    const float sf = mesh.scalefactor, movex = mesh.movex, movey = mesh.movey;
    const float zmid = mesh.zmid, zscale = mesh.zscale;
    const StencilSpacing stencil = stencilSpacing(d);
    auto X = [&](int c) { return static_cast<float>((c * sx - movex) * sf); };
    auto Y = [&](int r) { return static_cast<float>((r * sy - movey) * sf); };
    auto Z = [&](int r, int c) { return static_cast<float>((static_cast<double>(m.at(r, c)) - zmid) * zscale); };
    auto E = [&](int r, int c) { return m.at(r, c); };

    // Vertices: both copies of a point at its position, as drawn (y mirrored).
    a.xyz.resize(static_cast<std::size_t>(nr) * nc * 6);
    a.rgba.assign(static_cast<std::size_t>(nr) * nc * 8, 255);
    for (int i = 0; i < nr; ++i) {
        for (int j = 0; j < nc; ++j) {
            float* p = &a.xyz[(static_cast<std::size_t>(i) * nc + j) * 6];
            p[0] = p[3] = X(C[j]);
            p[1] = p[4] = -Y(R[i]);
            p[2] = p[5] = Z(R[i], C[j]);
        }
    }
    auto vertex = [&](int i, int j, int copy) { return static_cast<std::uint32_t>((i * nc + j) * 2 + copy); };

    const int cellRows = nr - 1, cellCols = nc - 1;
    // Decisions per triangle, row by row on every core; then the arrays in
    // order, so that the marks and cubes keep drawgrid's order.
    std::vector<Drawn> drawn(static_cast<std::size_t>(cellRows) * cellCols * 2);
    forEachPart(
        0, cellRows, threadsFor(static_cast<long long>(cellRows) * cellCols * 40), [&](int, int first, int last) {
            for (int i = first; i < last; ++i) {
                for (int j = 0; j < cellCols; ++j) {
                    const int r = R[i], c = C[j];
                    const std::size_t cell = static_cast<std::size_t>(r) * (cols - 1) + c;
                    for (int second = 0; second < 2; ++second) {
                        // Both triangles take their colour from their own cell;
                        // only the profile's cut still follows the drawing
                        // cursor.
                        const bool firstHalf = second == 0;
                        const GridCursor at = samplePoint(r, c, R[i + 1], C[j + 1], second,
                                                          [&](int pr, int pc) { return m.isPresent(pr, pc); });
                        const bool slopeDefined = slopeDefinedAt(d, at.i, at.j);
                        // An absent corner (of the grid as drawn) leaves a hole.
                        const bool halfWhole =
                            firstHalf ? m.isPresent(r, c) && m.isPresent(R[i + 1], c) && m.isPresent(r, C[j + 1])
                                      : m.isPresent(r, C[j + 1]) && m.isPresent(R[i + 1], c) &&
                                            m.isPresent(R[i + 1], C[j + 1]);
                        CellSample s;
                        s.elev = m.at(at.i, at.j);
                        s.comp = in.comparison ? comp.at(at.i, at.j) : 0.0f;
                        s.hasComp = in.comparison;
                        s.compPresent = in.comparison && comp.isPresent(at.i, at.j);
                        s.curveColor = d.curveColorOfCell(cell);
                        s.diffColor = d.diffColorOfCell(cell);
                        s.curveDiffColor = d.curveDiffColorOfCell(cell);
                        s.evenTriangle = firstHalf;
                        s.zscale = zscale;
                        s.zmin = truncToInt(d.zmin());
                        s.zmax = truncToInt(d.zmax());
                        s.unstable = removedFromStableTerrain(d, at.i, at.j);
                        Drawn& out = drawn[(static_cast<std::size_t>(i) * cellCols + j) * 2 + second];
                        out.look = triangleLook(
                            in.flags, s, in.classes,
                            [&] { return slopeDefined && steepCell(E, rows, cols, stencil, in.slope, at.i, at.j); },
                            [&] {
                                return slopeDefined ? aspectDeg(E, rows, cols, at.i, at.j, stencil)
                                                    : static_cast<float>(NOSLOPE);
                            });
                        const GridCursor cur = cursorOf(r, c, second, cols);
                        out.shown = in.drawTriangles && halfWhole && triangleShown(in.cut, rows, cur);
                        out.present = halfWhole;
                    }
                }
            }
        });

    a.flat = flat;
    const std::vector<float> points = a.flat ? std::vector<float>() : std::move(a.xyz);
    const float* point = a.flat ? a.xyz.data() : points.data();
    if (a.flat)
        a.indices.reserve(drawn.size() * 3);
    else
        a.rgba.clear(), a.xyz.clear(), a.xyz.reserve(drawn.size() * 9), a.rgba.reserve(drawn.size() * 12);
    a.marksArePoints = !in.drawTriangles;
    for (int i = 0; i < cellRows; ++i) {
        for (int j = 0; j < cellCols; ++j) {
            // The triangles' corners: (i, j), (i+1, j), (i, j+1); then
            // (i, j+1), (i+1, j), (i+1, j+1), split as the mesh splits a cell.
            const std::uint32_t corners[2][3] = {{vertex(i, j, 0), vertex(i + 1, j, 0), vertex(i, j + 1, 0)},
                                                 {vertex(i, j + 1, 0), vertex(i + 1, j, 0), vertex(i + 1, j + 1, 1)}};
            for (int second = 0; second < 2; ++second) {
                const Drawn& tri = drawn[(static_cast<std::size_t>(i) * cellCols + j) * 2 + second];
                const float* v[3] = {point + corners[second][0] * 3, point + corners[second][1] * 3,
                                     point + corners[second][2] * 3};
                // The mesh's normal, turned with the mirrored y.
                Normal n0 =
                    triangleNormal(v[0][0], -v[0][1], v[0][2], v[1][0], -v[1][1], v[1][2], v[2][0], -v[2][1], v[2][2]);
                const float n[3] = {-n0.x, n0.y, -n0.z};
                if (!tri.present)
                    continue; // a hole: no surface, no cube, no mark
                if (tri.look.cube)
                    a.cubes.insert(a.cubes.end(), {v[1][0], v[1][1], v[1][2]});
                if (tri.look.mark) {
                    const float length = tri.look.mark->length;
                    std::uint8_t c[4];
                    if (in.drawTriangles) {
                        const float from[3] = {v[1][0], v[1][1], v[1][2] + MARK_OFFSET};
                        const float to[3] = {v[1][0], v[1][1], v[1][2] + MARK_OFFSET + length};
                        for (const float* p : {from, to}) {
                            a.markXyz.insert(a.markXyz.end(), {p[0], p[1], p[2]});
                            toRgba8(litColor(tri.look.color, n, p, in.light), c);
                            a.markRgba.insert(a.markRgba.end(), c, c + 4);
                        }
                    } else {
                        a.markXyz.insert(a.markXyz.end(), {v[0][0], v[0][1], v[0][2]});
                        toRgba8(litColor(tri.look.color, n, v[0], in.light), c);
                        a.markRgba.insert(a.markRgba.end(), c, c + 4);
                    }
                }
                if (!tri.shown)
                    continue;
                if (a.flat) {
                    toRgba8(litColor(tri.look.color, n, v[2], in.light), &a.rgba[corners[second][2] * 4]);
                    a.indices.insert(a.indices.end(), corners[second], corners[second] + 3);
                    continue;
                }
                for (const float* p : v) {
                    std::uint8_t c[4];
                    toRgba8(litColor(tri.look.color, n, p, in.light), c);
                    a.xyz.insert(a.xyz.end(), p, p + 3);
                    a.rgba.insert(a.rgba.end(), c, c + 4);
                }
            }
        }
    }
    return a;
}

} // namespace orolith::render

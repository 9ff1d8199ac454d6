// The surface as arrays that GL draws from buffers, built once and drawn
// every frame until something that changes the picture changes. No GL here.
//
// Every triangle keeps the colour drawgrid gives it. As the light moves
// with the model (it is placed under the model transform) and the material
// has no specular part, lighting does not depend on the camera: each
// vertex's lit colour is computed here once, and GL draws it unlit.
//
// Small grids give each triangle three vertices of its own, lit and shaded
// smoothly as GL would light them. A large grid's triangles are too small
// for the light to change across one: two vertices stand at every grid
// point, and each triangle is drawn flat in the colour of its last vertex,
// which is its own -- a third of the vertices.
//
// A grid of more cells than a frame can show is drawn at a level of detail:
// every step-th row and column (the last ones always), each cell coloured
// by the rules of its first grid cell.
#ifndef OROLITH_RENDER_SURFACEMESH_H
#define OROLITH_RENDER_SURFACEMESH_H

#include <cstdint>
#include <vector>

#include "render/colorrgb.h"
#include "render/names.h"
#include "render/surfacecolor.h"
#include "render/surfacewalk.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// Cells drawn at most; beyond this the level of detail thins the grid.
constexpr long long MAX_DRAWN_CELLS = 1100000;
// Cells drawn at most while a large grid is dragged (as outlines).
constexpr long long MAX_DRAG_CELLS = 250000;
// Up to this many cells drawn, every triangle has vertices of its own.
constexpr long long MAX_SMOOTH_CELLS = 250000;

// Step between drawn rows and columns for a grid of rows x cols points so
// that at most `maxCells` cells are drawn.
int detailStep(int rows, int cols, long long maxCells);

// Where drawgrid's cursor stands when it reaches triangle `second` (0 or 1)
// of cell (r, c), walking every triangle (a lag of one column, and the last
// triangle of a row takes column 0 of the next row). The profile's cut
// follows it; the colours come from the cell itself.
inline GridCursor cursorOf(int r, int c, int second, int cols)
{
    if (second == 1 && c + 1 == cols - 1)
        return {r + 1, 0};
    return {r, c + 1};
}

// The grid point whose heights colour triangle `second` (0 or 1) of the
// cell from (r, c) to (r2, c2) (the next drawn row and column): the cell's
// first point, which the first triangle has as a corner. Beside a hole that
// point may be absent while the second triangle is whole: it then takes its
// own first present corner, so that no absent height colours it.
template <class Present>
GridCursor samplePoint(int r, int c, int r2, int c2, int second, Present present)
{
    if (second == 0 || present(r, c))
        return {r, c};
    if (present(r, c2))
        return {r, c2};
    if (present(r2, c))
        return {r2, c};
    return {r2, c2};
}

// Light 0 as the surface sees it: GL's defaults (white diffuse light, no
// ambient light of its own, a global ambient of 0.2, no specular material)
// with the colour as ambient and diffuse material.
struct SurfaceLight {
    bool on = true;
    float position[3] = {0, 0, 1}; // in the coordinates the surface is drawn in
};

// The lit colour of a vertex at `vertex` with unit normal `normal`.
ColorRGB litColor(const ColorRGB& colour, const float normal[3], const float vertex[3], const SurfaceLight& light);

// A colour as the 8-bit RGBA the framebuffer stores.
void toRgba8(const ColorRGB& c, std::uint8_t out[4]);

// Everything the picture of the surface depends on besides the model.
struct SurfaceInputs {
    ViewFlags flags;
    HeightClassTable classes{nullptr, 0, 0, 0};
    bool comparison = false; // comparison data are loaded
    bool drawTriangles = true;
    ProfileCut cut;
    float slope = 10.0f; // steepness threshold, degrees
    SurfaceLight light;
};

struct SurfaceArrays {
    // Smooth: three vertices a shown triangle. Flat: two a drawn grid
    // point, with three indices a shown triangle, its own vertex last.
    bool flat = false;
    std::vector<float> xyz;         // as drawn: (x, -y, z)
    std::vector<std::uint8_t> rgba; // their colours
    std::vector<std::uint32_t> indices;
    std::vector<float> markXyz; // difference marks: line pairs, or points
    std::vector<std::uint8_t> markRgba;
    bool marksArePoints = false;
    std::vector<float> cubes; // centres of the comparison-point cubes
    int step = 1;
};

// Builds the arrays of the data set's surface at the given step, flat or
// smooth.
SurfaceArrays buildSurface(const DataSet& d, const SurfaceInputs& in, int step, bool flat);

// Whether a grid drawn at `step` is drawn flat: more than MAX_SMOOTH_CELLS
// cells.
bool drawnFlat(int rows, int cols, int step);

} // namespace orolith::render

#endif

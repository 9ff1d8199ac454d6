// The triangle mesh of the DEM, scaled into the viewer's unit cube: two
// triangles a cell, centred on the grid's middle, heights stretched by the
// vertical exaggeration. Only the frame is stored; triangle() derives a
// triangle from the grid exactly as a stored mesh would hold it.
#include <algorithm>
#include <cmath>

#include "model/cellmath.h"
#include "model/mountain.h"

void mountain::convert_to_triangles(int exaggeration)
{
    vertExag = static_cast<float>(exaggeration);
    ++version_;

    // The longer of the horizontal extent and the relief spans 2 units.
    // Distances are the ground's (metres for a geographic grid), so that
    // the relief stands in proportion.
    const double sx = spacing_.x, sy = spacing_.y;
    float extent = static_cast<float>(std::max(cols * sx, rows * sy));
    float relief = zmax - zmin;
    scalefactor = extent > relief ? static_cast<float>(2.0 / extent) : static_cast<float>(2.0 / relief);
    zscale = scalefactor * vertExag;
    zmid = (zmin + zmax) / 2;
    movex = static_cast<float>((cols - 1) * sx / 2);
    movey = static_cast<float>((rows - 1) * sy / 2);
    numTriangles = rows > 1 && cols > 1 ? (rows - 1) * (2 * cols - 2) : 0;
    meshRows_ = rows;
    meshCols_ = cols;
    allocated = true;
}

bool mountain::hasMesh() const
{
    return grid && meshRows_ == rows && meshCols_ == cols && numTriangles > 0;
}

mountain::triangleinfo mountain::triangle(int k) const
{
    const int cell = k / 2;
    const int r = cell / (cols - 1), c = cell % (cols - 1);
    auto X = [&](int col) { return static_cast<float>((col * spacing_.x - movex) * scalefactor); };
    auto Y = [&](int row) { return static_cast<float>((row * spacing_.y - movey) * scalefactor); };
    auto Z = [&](int row, int col) { return static_cast<float>((static_cast<double>(grid[row][col]) - zmid) * zscale); };

    triangleinfo t;
    // Every cell is split along the diagonal (r, c+1) - (r+1, c), with the
    // same vertex order in every cell.
    if (k % 2 == 0) {
        t.x0 = X(c); t.y0 = Y(r); t.z0 = Z(r, c);
        t.x1 = X(c); t.y1 = Y(r + 1); t.z1 = Z(r + 1, c);
        t.x2 = X(c + 1); t.y2 = Y(r); t.z2 = Z(r, c + 1);
    } else {
        t.x0 = X(c + 1); t.y0 = Y(r); t.z0 = Z(r, c + 1);
        t.x1 = X(c); t.y1 = Y(r + 1); t.z1 = Z(r + 1, c);
        t.x2 = X(c + 1); t.y2 = Y(r + 1); t.z2 = Z(r + 1, c + 1);
    }
    const Normal n = triangleNormal(t.x0, t.y0, t.z0, t.x1, t.y1, t.z1, t.x2, t.y2, t.z2);
    t.nx = n.x;
    t.ny = n.y;
    t.nz = n.z;
    t.curveColor = curveClassColor(static_cast<std::size_t>(cell));
    t.diffColor = classColor(elevDiffClass_, static_cast<std::size_t>(cell));
    t.curveDiffColor = classColor(curveDiffClass_, static_cast<std::size_t>(cell));
    return t;
}

// compute_curve_color and the difference analyses write the classes that
// triangle() turns into colours; the normals, like the vertices, follow
// from the grid and the frame.
void mountain::compute_normals() {}

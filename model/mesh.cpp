// The triangle mesh of the DEM, scaled into the viewer's unit cube: two
// triangles a cell, centred on the grid's middle, heights stretched by the
// vertical exaggeration.
#include <algorithm>
#include <new>

#include "model/mountain.h"

void mountain::convert_to_triangles(int exaggeration)
{
    vertExag = static_cast<float>(exaggeration);

    // The longer of the horizontal extent and the relief spans 2 units.
    float extent = std::max(cols, rows) * cellsize;
    float relief = zmax - zmin;
    scalefactor = extent > relief ? static_cast<float>(2.0 / extent) : static_cast<float>(2.0 / relief);
    zscale = scalefactor * vertExag;
    zmid = (zmin + zmax) / 2;
    movex = (cols - 1) * cellsize / 2;
    movey = (rows - 1) * cellsize / 2;
    numTriangles = rows > 1 && cols > 1 ? (rows - 1) * (2 * cols - 2) : 0;

    // The viewer clears `allocated` before every new DEM, so an array kept
    // here always belongs to a grid of the same size.
    if (!allocated) {
        delete[] triangles;
        triangles = new (std::nothrow) triangleinfo[numTriangles > 0 ? numTriangles : 1]();
        if (!triangles)
            error(NO_TRI);
        allocated = true;
    }

    auto X = [&](int c) { return static_cast<float>((static_cast<double>(c) * cellsize - movex) * scalefactor); };
    auto Y = [&](int r) { return static_cast<float>((static_cast<double>(r) * cellsize - movey) * scalefactor); };
    auto Z = [&](int r, int c) { return static_cast<float>((static_cast<double>(grid[r][c]) - zmid) * zscale); };

    int k = 0;
    for (int r = 0; r < rows - 1; ++r) {
        float y0 = Y(r), y1 = Y(r + 1);
        for (int c = 0; c < cols - 1; ++c, k += 2) {
            float x0 = X(c), x1 = X(c + 1);
            float z00 = Z(r, c), z01 = Z(r, c + 1), z10 = Z(r + 1, c), z11 = Z(r + 1, c + 1);
            // Every cell is split along the diagonal (r, c+1) - (r+1, c).
            triangleinfo& a = triangles[k];
            a.x0 = x0; a.y0 = y0; a.z0 = z00;
            a.x1 = x0; a.y1 = y1; a.z1 = z10;
            a.x2 = x1; a.y2 = y0; a.z2 = z01;
            triangleinfo& b = triangles[k + 1];
            b.x0 = x1; b.y0 = y0; b.z0 = z01;
            b.x1 = x0; b.y1 = y1; b.z1 = z10;
            b.x2 = x1; b.y2 = y1; b.z2 = z11;
        }
    }
}

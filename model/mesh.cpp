#include "model/mesh.h"

#include <algorithm>

namespace orolith::model {

MeshFrame meshFrame(int rows, int cols, const GroundSpacing& spacing, float zmin, float zmax, int e)
{
    MeshFrame m;
    m.rows = rows;
    m.cols = cols;
    m.exaggeration = static_cast<float>(e);
    // Distances are the ground's (metres for a geographic grid), so that
    // the relief stands in proportion.
    const double sx = spacing.x, sy = spacing.y;
    m.cellX = static_cast<float>(sx);
    m.cellY = static_cast<float>(sy);
    const float extent = static_cast<float>(std::max(cols * sx, rows * sy));
    const float relief = zmax - zmin;
    m.scalefactor = extent > relief ? static_cast<float>(2.0 / extent) : static_cast<float>(2.0 / relief);
    m.zscale = m.scalefactor * m.exaggeration;
    m.zmid = (zmin + zmax) / 2;
    m.movex = static_cast<float>((cols - 1) * sx / 2);
    m.movey = static_cast<float>((rows - 1) * sy / 2);
    m.zmin = zmin;
    m.zmax = zmax;
    return m;
}

Triangle meshTriangle(const MeshFrame& m, const GridView& dem, const GroundSpacing& spacing, int k)
{
    const int cell = k / 2;
    const int r = cell / (m.cols - 1), c = cell % (m.cols - 1);
    auto X = [&](int col) { return static_cast<float>((col * spacing.x - m.movex) * m.scalefactor); };
    auto Y = [&](int row) { return static_cast<float>((row * spacing.y - m.movey) * m.scalefactor); };
    auto Z = [&](int row, int col) {
        return static_cast<float>((static_cast<double>(dem.at(row, col)) - m.zmid) * m.zscale);
    };
    Triangle t;
    // Every cell is split along the diagonal (r, c+1) - (r+1, c), with the
    // same vertex order in every cell.
    if (k % 2 == 0) {
        t.x0 = X(c);
        t.y0 = Y(r);
        t.z0 = Z(r, c);
        t.x1 = X(c);
        t.y1 = Y(r + 1);
        t.z1 = Z(r + 1, c);
        t.x2 = X(c + 1);
        t.y2 = Y(r);
        t.z2 = Z(r, c + 1);
    } else {
        t.x0 = X(c + 1);
        t.y0 = Y(r);
        t.z0 = Z(r, c + 1);
        t.x1 = X(c);
        t.y1 = Y(r + 1);
        t.z1 = Z(r + 1, c);
        t.x2 = X(c + 1);
        t.y2 = Y(r + 1);
        t.z2 = Z(r + 1, c + 1);
    }
    const Normal n = triangleNormal(t.x0, t.y0, t.z0, t.x1, t.y1, t.z1, t.x2, t.y2, t.z2);
    t.nx = n.x;
    t.ny = n.y;
    t.nz = n.z;
    return t;
}

} // namespace orolith::model

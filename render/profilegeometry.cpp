#include "render/profilegeometry.h"

#include <algorithm>

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::render {

ProfilePlacement placeProfile(const MeshFrame& m, int ypos, int xpos)
{
    ProfilePlacement p;
    if (m.rows < 1 || m.cols < 1)
        return p;
    p.usable = true;
    p.Y = std::clamp(ypos, 0, m.rows - 1);
    p.X = std::clamp(xpos, 1, m.cols);
    p.gridy = m.rows - p.Y - 1;
    p.gx = p.X - 1;
    p.yval = (p.Y * m.cellY - m.movey) * m.scalefactor;
    p.yvalCut = ((p.Y + 1) * m.cellY - m.movey) * m.scalefactor;
    p.xval = (p.X * m.cellX - m.movex) * m.scalefactor;
    p.xvalCut = ((p.X + 1) * m.cellX - m.movex) * m.scalefactor;
    p.zlow = m.zOf(m.zmin) - 0.1f;
    p.zhigh = m.zOf(m.zmax) + 0.1f;
    return p;
}

SectionCells sectionCells(int view, const ProfilePlacement& p, int rows, int cols)
{
    SectionCells cells;
    if (!p.usable || (view != VERTP && view != HORIZ))
        return cells;
    cells.alongRow = view == VERTP;
    cells.line = cells.alongRow ? p.gridy : p.gx;
    cells.count = std::max(0, (cells.alongRow ? cols : rows) - 1);
    return cells;
}

bool profilePositionValid(int view, int v, int rows, int cols)
{
    if (view == HORIZ)
        return v >= 1 && v <= cols;
    return v >= 0 && v < rows;
}

ColorRGB compareLineColor(float comp, float dem, float units)
{
    if (comp - units > dem)
        return {1.0f, 0.2f, 0.2f};
    if (dem > comp + units)
        return {0.2f, 0.2f, 1.0f};
    return {1.0f, 1.0f, 1.0f};
}

MarkStyle markStyle(float comp, float dem, float units)
{
    float diff = comp - dem;
    if (comp - units > dem)
        return {clamped({1.0f, 1 - 0.2f * diff, 1 - 0.2f * diff}), 0.1f, 0.0f};
    if (dem > comp + units)
        return {clamped({1 + 0.2f * diff, 1 + 0.2f * diff, 1.0f}), 0.0f, -0.1f};
    return {{1.0f, 1.0f, 1.0f}, 0.05f, -0.05f};
}

} // namespace orolith::render

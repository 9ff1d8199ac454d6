// The profile view: a vertical section of the DEM along one grid row or
// column, a translucent cutting plane, and the comparison heights along the
// same section as a coloured line (dense grids) or as marks (sparse and
// contour data).
#include <GL/gl.h>

#include "model/mountain.h"
#include "render/glcolor.h"
#include "render/modelaccess.h"
#include "render/overlays.h"
#include "render/profilegeometry.h"

void mountain::profilePlot()
{
    const MeshFrame m = meshFrame(*this);
    const ProfilePlacement p = placeProfile(m, profileYpos, profileXpos);
    if (!p.usable || !grid)
        return;
    const bool vertical = profView == VERTP;
    if (!vertical && profView != HORIZ)
        return;

    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.4f, 0.5f, 0.5f, 0.4f);
    glBegin(GL_POLYGON);
    if (vertical) {
        glVertex3f(-1, p.yvalCut, p.zlow);
        glVertex3f(-1, p.yvalCut, p.zhigh);
        glVertex3f(1, p.yvalCut, p.zhigh);
        glVertex3f(1, p.yvalCut, p.zlow);
    } else {
        glVertex3f(p.xvalCut, -1, p.zlow);
        glVertex3f(p.xvalCut, -1, p.zhigh);
        glVertex3f(p.xvalCut, 1, p.zhigh);
        glVertex3f(p.xvalCut, 1, p.zlow);
    }
    glEnd();

    const SectionCells cells = sectionCells(profView, p, rows, cols);
    const int count = cells.count;
    auto cellRow = [&](int k) { return cells.row(k); };
    auto cellCol = [&](int k) { return cells.col(k); };
    auto vertex = [&](int k, float height) {
        if (vertical)
            glVertex3f(m.xOfCol(static_cast<float>(k)), p.yval, m.zOf(height));
        else
            glVertex3f(p.xval, m.yOfRow(static_cast<float>(k)), m.zOf(height));
    };

    // The section breaks where a point is absent: a strip a run of
    // present points.
    auto strips = [&](auto present, auto drawPoint) {
        bool open = false;
        for (int k = 0; k < count; ++k) {
            if (!present(k)) {
                if (open)
                    glEnd();
                open = false;
                continue;
            }
            if (!open)
                glBegin(GL_LINE_STRIP);
            open = true;
            drawPoint(k);
        }
        if (open)
            glEnd();
    };
    glColor3f(1, 1, 1);
    strips([&](int k) { return isPresent(cellRow(k), cellCol(k)); },
           [&](int k) { vertex(k, grid[cellRow(k)][cellCol(k)]); });

    if (multFiles && haveComparison()) {
        const bool dense = rd.getContourInt() <= 1;
        if (dense) {
            strips([&](int k) { return isPresent(cellRow(k), cellCol(k)) && rd.isPresent(cellRow(k), cellCol(k)); },
                   [&](int k) {
                       float c = rd.getGrid(cellRow(k), cellCol(k));
                       setColorRGB(compareLineColor(c, grid[cellRow(k)][cellCol(k)], diffUnits));
                       vertex(k, c);
                   });
        }
        if (!dense || showGlyphs) {
            if (vertical)
                drawMarkX(p.gridy, p.yval);
            else
                drawMarkY(p.gx, p.xval);
        }
    }
    restoreLighting();
}

namespace {
// One comparison mark at a cell: a vertical tick with glyphs on, else a
// dash one cell long at the comparison height. `at(k, z)` places the
// section position k (cell index, may be fractional for the dash end).
template <class At>
void markAt(int k, float comp, float dem, const MeshFrame& m, At at)
{
    MarkStyle style = markStyle(comp, dem, diffUnits);
    setColorRGB(style.color);
    float z = m.zOf(comp);
    if (showGlyphs) {
        at(static_cast<float>(k), z + style.top);
        at(static_cast<float>(k), z + style.bottom);
    } else {
        at(static_cast<float>(k), z);
        at(static_cast<float>(k + 1), z);
    }
}
}

void mountain::drawMarkX(int row, float yval)
{
    if (!haveComparison() || row < 0 || row >= rows)
        return;
    const MeshFrame m = meshFrame(*this);
    glBegin(GL_LINES);
    for (int c = 0; c < cols - 1; ++c) {
        if (!rd.isPresent(row, c) || !isPresent(row, c))
            continue;
        float comp = rd.getGrid(row, c);
        markAt(c, comp, grid[row][c], m, [&](float k, float z) { glVertex3f(m.xOfCol(k), yval, z); });
    }
    glEnd();
}

void mountain::drawMarkY(int column, float xval)
{
    if (!haveComparison() || column < 0 || column >= cols)
        return;
    const MeshFrame m = meshFrame(*this);
    glBegin(GL_LINES);
    for (int r = 0; r < rows - 1; ++r) {
        if (!rd.isPresent(r, column) || !isPresent(r, column))
            continue;
        float comp = rd.getGrid(r, column);
        markAt(r, comp, grid[r][column], m, [&](float k, float z) { glVertex3f(xval, m.yOfRow(k), z); });
    }
    glEnd();
}

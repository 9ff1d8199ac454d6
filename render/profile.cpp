// The profile view: a vertical section of the DEM along one grid row or
// column, a translucent cutting plane, and the comparison heights along the
// same section as a coloured line (dense grids) or as marks (sparse and
// contour data).
#include <GL/gl.h>

#include "model/dataset.h"
#include "render/glcolor.h"
#include "render/names.h"
#include "render/overlays.h"
#include "render/profilegeometry.h"
#include "render/viewstate.h"

namespace orolith::render {

namespace {
// One comparison mark at a cell: a vertical tick with glyphs on, else a
// dash one cell long at the comparison height. `at(k, z)` places the
// section position k (cell index, may be fractional for the dash end).
template <class At>
void markAt(int k, float comp, float dem, const MeshFrame& m, const ViewState& view, At at)
{
    MarkStyle style = markStyle(comp, dem, view.diffUnits);
    setColorRGB(style.color);
    float z = m.zOf(comp);
    if (view.showGlyphs) {
        at(static_cast<float>(k), z + style.top);
        at(static_cast<float>(k), z + style.bottom);
    } else {
        at(static_cast<float>(k), z);
        at(static_cast<float>(k + 1), z);
    }
}

// The comparison marks along grid row `row` (a vertical section at yval)
// or column `column` (a horizontal one at xval).
void drawMarksAlongRow(const DataSet& d, const ViewState& view, int row, float yval)
{
    if (!d.hasComparison() || row < 0 || row >= d.rows())
        return;
    const MeshFrame& m = d.mesh();
    const GridView dem = d.demView(), comp = d.comparisonView();
    glBegin(GL_LINES);
    for (int c = 0; c < d.cols() - 1; ++c) {
        if (!comp.isPresent(row, c) || !dem.isPresent(row, c))
            continue;
        markAt(c, comp.at(row, c), dem.at(row, c), m, view,
               [&](float k, float z) { glVertex3f(m.xOfCol(k), yval, z); });
    }
    glEnd();
}

void drawMarksAlongColumn(const DataSet& d, const ViewState& view, int column, float xval)
{
    if (!d.hasComparison() || column < 0 || column >= d.cols())
        return;
    const MeshFrame& m = d.mesh();
    const GridView dem = d.demView(), comp = d.comparisonView();
    glBegin(GL_LINES);
    for (int r = 0; r < d.rows() - 1; ++r) {
        if (!comp.isPresent(r, column) || !dem.isPresent(r, column))
            continue;
        markAt(r, comp.at(r, column), dem.at(r, column), m, view,
               [&](float k, float z) { glVertex3f(xval, m.yOfRow(k), z); });
    }
    glEnd();
}

} // namespace

void drawProfile(const DataSet& d, const ViewState& view)
{
    if (!d.loaded())
        return;
    const MeshFrame& m = d.mesh();
    const ProfilePlacement p = placeProfile(m, view.profileYpos, view.profileXpos);
    if (!p.usable)
        return;
    const int profView = view.profView;
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

    const SectionCells cells = sectionCells(profView, p, d.rows(), d.cols());
    const GridView dem = d.demView(), comp = d.comparisonView();
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
    strips([&](int k) { return dem.isPresent(cellRow(k), cellCol(k)); },
           [&](int k) { vertex(k, dem.at(cellRow(k), cellCol(k))); });

    if (d.hasComparison()) {
        const bool dense = d.contourInterval() <= 1;
        if (dense) {
            strips(
                [&](int k) { return dem.isPresent(cellRow(k), cellCol(k)) && comp.isPresent(cellRow(k), cellCol(k)); },
                [&](int k) {
                    float c = comp.at(cellRow(k), cellCol(k));
                    setColorRGB(compareLineColor(c, dem.at(cellRow(k), cellCol(k)), view.diffUnits));
                    vertex(k, c);
                });
        }
        if (!dense || view.showGlyphs) {
            if (vertical)
                drawMarksAlongRow(d, view, p.gridy, p.yval);
            else
                drawMarksAlongColumn(d, view, p.gx, p.xval);
        }
    }
    restoreLighting(view);
}

} // namespace orolith::render

#include "render/viewswitches.h"
#include "render/names.h"

namespace orolith::render {

namespace {

using G = SwitchGroup;
using N = Needs;
using S = ViewSwitch;

// Every switch in the order the key map and the menu list them.
constexpr ViewSwitch ALL[] = {
    S::magnifier,           S::lighting,     S::axes,          S::contours,       S::sun,
    S::heightColors,        S::aspectColors, S::heightClasses, S::curvatureError, S::elevationError,
    S::curvatureDifference, S::profile,      S::glyphs,        S::triangles,      S::points,
    S::differenceMarks,     S::legend};

// The menu paths as the menu bar takes them: a slash inside a label is
// escaped. Shift-R shows the difference marks with the elevation
// difference colours; the curvature key asks for comparison data although
// the box does not.
// clang-format off
SwitchRow rowOf(ViewSwitch id)
{
    switch (id) {
    //                                       panel label             menu path                        key  Shift  box            menu           key            group
    case S::magnifier:           return {id, "Magnifier",            "&Display/Magnifier",            'p', false, N::dem,        N::dem,        N::nothing,    G::none};
    case S::lighting:            return {id, "Shaded Relief",        "&Display/Lighting",             'l', false, N::dem,        N::dem,        N::nothing,    G::none};
    case S::axes:                return {id, "Show Axes",            "&Display/Axes",                 'a', false, N::dem,        N::dem,        N::nothing,    G::none};
    case S::contours:            return {id, "Contours/Ref. Data",   "&Display/Contour\\/Ref. Data",  'n', false, N::comparison, N::comparison, N::comparison, G::surfaceColours};
    case S::sun:                 return {id, "Display Sun",          "&Display/Sun",                  0,   false, N::dem,        N::dem,        N::dem,        G::none};
    case S::heightColors:        return {id, "Height Colors",        "&Display/Height Colors",        0,   false, N::dem,        N::dem,        N::dem,        G::surfaceColours};
    case S::aspectColors:        return {id, "Aspect Colors",        "&Display/Slope Colors",         0,   false, N::dem,        N::dem,        N::dem,        G::surfaceColours};
    case S::heightClasses:       return {id, "Color Height Classes", "E&rror/Color Height Classes",   0,   false, N::comparison, N::comparison, N::comparison, G::surfaceColours};
    case S::curvatureError:      return {id, "Display",              "E&rror/Curvature Error",        'c', false, N::dem,        N::comparison, N::comparison, G::errorClasses};
    case S::elevationError:      return {id, "Elev.",                "E&rror/Local Difference Error", 'r', true,  N::comparison, N::comparison, N::comparison, G::errorClasses};
    case S::curvatureDifference: return {id, "Curv.",                nullptr,                         0,   false, N::comparison, N::comparison, N::comparison, G::errorClasses};
    case S::profile:             return {id, "Display",              nullptr,                         0,   false, N::dem,        N::dem,        N::dem,        G::none};
    case S::glyphs:              return {id, "Glyphs",               nullptr,                         0,   false, N::comparison, N::comparison, N::comparison, G::none};
    case S::triangles:           return {id, nullptr,                nullptr,                         'd', false, N::dem,        N::dem,        N::nothing,    G::none};
    case S::points:              return {id, nullptr,                nullptr,                         '.', false, N::comparison, N::comparison, N::comparison, G::none};
    case S::differenceMarks:     return {id, nullptr,                nullptr,                         'r', true,  N::comparison, N::comparison, N::comparison, G::none};
    case S::legend:              return {id, nullptr,                "&View/Legend",                  'g', false, N::dem,        N::dem,        N::dem,        G::none};
    }
    return {};
}
// clang-format on

bool* flagOf(ViewState& v, ViewSwitch id)
{
    switch (id) {
    case S::magnifier: return &v.magnify;
    case S::lighting: return &v.lighting;
    case S::axes: return &v.drawAxes;
    case S::contours: return &v.drawContours;
    case S::sun: return &v.drawSun;
    case S::heightColors: return &v.drawColors;
    case S::aspectColors: return &v.colorSlope;
    case S::heightClasses: return &v.colorHeightClasses;
    case S::curvatureError: return &v.drawCurveColor;
    case S::elevationError: return &v.drawDiffColor;
    case S::curvatureDifference: return &v.drawCurveDiff;
    case S::profile: return &v.plotProfile;
    case S::glyphs: return &v.showGlyphs;
    case S::triangles: return &v.drawTriangles;
    case S::points: return &v.drawPoints;
    case S::differenceMarks: return &v.drawDiff;
    case S::legend: return &v.showLegend;
    }
    return nullptr;
}

} // namespace

std::vector<SwitchRow> viewSwitches()
{
    std::vector<SwitchRow> rows;
    for (ViewSwitch id : ALL)
        rows.push_back(rowOf(id));
    return rows;
}

SwitchRow switchRow(ViewSwitch id) { return rowOf(id); }

bool switchOn(const ViewState& view, ViewSwitch id) { return *flagOf(const_cast<ViewState&>(view), id); }

void setSwitch(ViewState& view, ViewSwitch id, bool on) { *flagOf(view, id) = on; }

std::vector<ViewSwitch> applySwitch(ViewState& view, ViewSwitch id, bool on)
{
    std::vector<ViewSwitch> changed;
    const SwitchGroup group = switchRow(id).group;
    if (on && group != SwitchGroup::none) {
        for (ViewSwitch other : ALL) {
            if (other != id && rowOf(other).group == group && switchOn(view, other)) {
                setSwitch(view, other, false);
                changed.push_back(other);
            }
        }
    }
    if (switchOn(view, id) != on) {
        setSwitch(view, id, on);
        changed.push_back(id);
    }
    return changed;
}

bool needsMet(Needs needs, const DataLoaded& loaded)
{
    switch (needs) {
    case Needs::nothing: return true;
    case Needs::dem: return loaded.dem;
    case Needs::comparison: return loaded.dem && loaded.comparison;
    }
    return false;
}

std::vector<ViewSwitch> switchesOfKey(int key, bool shift, const DataLoaded& loaded)
{
    std::vector<ViewSwitch> out;
    for (ViewSwitch id : ALL) {
        const SwitchRow row = rowOf(id);
        if (row.key != 0 && row.key == key && (!row.shift || shift) && needsMet(row.keyNeeds, loaded))
            out.push_back(row.id);
    }
    return out;
}

} // namespace orolith::render

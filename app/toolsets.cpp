#include "app/toolsets.h"

#include "app/menupositions.h"
#include "model/mountain.h"

namespace {

// Tools that a DEM alone supports. The curvature box is among them, but its
// menu entry "Curvature Error" opens with the rest of the Error menu, only
// once comparison data is in use.
ToolSet demTools()
{
    return {{Tool::mag, Tool::slope, Tool::sun, Tool::unitSliderGUI, Tool::axes, Tool::light,
             Tool::colors, Tool::Cerr, Tool::graphCButton, Tool::prof},
            {menupos::TRI, menupos::SLOPE, menupos::LIGHT, menupos::AXES, menupos::SUN,
             menupos::COLORS}};
}

// Tools that need comparison data as well.
ToolSet comparisonTools()
{
    return {{Tool::glyph, Tool::unitSliderldGUI, Tool::graphButton, Tool::graphDButton, Tool::col,
             Tool::cont, Tool::lerr, Tool::curverr},
            {menupos::GRAPH, menupos::SPARSE, menupos::CONT, menupos::HEIGHTS, menupos::CERR,
             menupos::LERR}};
}

// Menu entries that act on the whole data set, whatever the panel shows.
// Co-registration compares two DEMs: sparse or contour data has no slopes
// to fit a shift to.
ToolSet dataSetEntries(int fileConst, int comparisonKind)
{
    ToolSet set;
    if (fileConst >= 1)
        set.menuEntries = {menupos::SAVE_IMAGE, menupos::SAVE_PROFILE};
    if (fileConst == 2 && comparisonKind == DEM)
        set.menuEntries.push_back(menupos::COREGISTER);
    return set;
}

void append(ToolSet& to, const ToolSet& from)
{
    to.widgets.insert(to.widgets.end(), from.widgets.begin(), from.widgets.end());
    to.menuEntries.insert(to.menuEntries.end(), from.menuEntries.begin(), from.menuEntries.end());
}

} // namespace

ToolSet toolsActivatedFor(int fileConst, int comparisonKind)
{
    ToolSet set = demTools();
    if (fileConst == 2)
        append(set, comparisonTools());
    append(set, dataSetEntries(fileConst, comparisonKind));
    return set;
}

ToolSet panelTools()
{
    ToolSet set = demTools();
    append(set, comparisonTools());
    return set;
}

ToolSet dataTools()
{
    ToolSet set = panelTools();
    append(set, dataSetEntries(2, DEM));
    return set;
}

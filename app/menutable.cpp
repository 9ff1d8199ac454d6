#include "app/menutable.h"

#include <FL/Fl_Menu_Item.H>

#include "dialogs/names.h"
#include "dialogs/openchecks.h"

namespace orolith::ui {

namespace {

using C = Command;
using K = MenuRow::Kind;
using N = CommandNeeds;
using S = ViewSwitch;

MenuRow command(const char* path, Command c, N needs = N::nothing, int flags = 0, bool withPanelHidden = true)
{
    return {K::command, path, c, S::axes, flags, needs, withPanelHidden};
}

MenuRow dataSetCommand(const char* path, Command c, N needs, int flags = 0)
{
    return command(path, c, needs, flags, true);
}

MenuRow panelCommand(const char* path, Command c, N needs) { return command(path, c, needs, 0, false); }

MenuRow toggle(S id, int flags = 0) { return {K::viewSwitch, nullptr, C::exit, id, flags, N::nothing, false}; }
// A toggle of the picture itself rather than of the panel's tools: it
// stays usable while the panel is hidden.
MenuRow viewToggle(S id) { return {K::viewSwitch, nullptr, C::exit, id, 0, N::nothing, true}; }

MenuRow submenu(const char* path) { return {K::submenu, path, C::exit, S::axes, 0, N::nothing, true}; }

} // namespace

std::vector<MenuRow> mainMenu()
{
    return {
        command("&File/&Open.../DEM File", C::openDem),
        command("&File/&Open.../DEM and Comparison File", C::openPair),
        command("&File/&Open.../Add\\/Change Comparison File...", C::changeComparison),
        dataSetCommand("&File/&Open.../Checkpoints...", C::openCheckpoints, N::dem),
        dataSetCommand("&File/Save Image...", C::saveImage, N::dem),
        dataSetCommand("&File/Save Profile...", C::saveProfile, N::dem, FL_MENU_DIVIDER),
        command("&File/E&xit", C::exit),
        submenu("&Edit"),
        command("&View/Rotate 90 degrees.../+Z axis", C::rotateZPlus),
        command("&View/Rotate 90 degrees.../-Z axis", C::rotateZMinus),
        command("&View/Rotate 90 degrees.../+X axis", C::rotateXPlus),
        command("&View/Rotate 90 degrees.../-X axis", C::rotateXMinus),
        command("&View/Zoom In", C::zoomIn),
        command("&View/Zoom Out", C::zoomOut),
        command("&View/Side View", C::sideView),
        command("&View/Top View", C::topView),
        command("&View/Reset View", C::resetView),
        viewToggle(S::legend),
        toggle(S::magnifier),
        toggle(S::lighting),
        toggle(S::axes),
        toggle(S::contours),
        toggle(S::sun),
        toggle(S::heightColors),
        toggle(S::aspectColors, FL_MENU_DIVIDER),
        {K::toggleCommand, "&Display/Display\\/Hide Tools", C::toggleTools, S::axes, 0, N::nothing, true},
        toggle(S::heightClasses),
        toggle(S::curvatureError),
        toggle(S::elevationError),
        command("&Analysis/Statistics", C::statistics),
        panelCommand("&Analysis/Graph", C::graph, N::comparison),
        panelCommand("&Analysis/Make Sparse file", C::sparse, N::comparison),
        dataSetCommand("&Analysis/Co-register...", C::coregister, N::comparisonDem),
        dataSetCommand("&Analysis/Stable terrain...", C::stableTerrain, N::comparison),
        command("&Options/Modify Curvature Error", C::modifyCurvature),
        command("&Help/Help", C::help),
        command("&Help/About", C::about),
    };
}

std::string menuPathOf(const MenuRow& row)
{
    return row.kind == MenuRow::Kind::viewSwitch ? switchRow(row.viewSwitch).menuPath : row.path;
}

std::string plainMenuPath(const std::string& path)
{
    std::string out;
    for (std::size_t k = 0; k < path.size(); ++k) {
        if (path[k] == '\\' && k + 1 < path.size())
            ++k;
        out += path[k];
    }
    return out;
}

bool menuRowUsable(const MenuRow& row, const DataLoaded& loaded, int comparisonKind, bool panelShown)
{
    if (row.kind == MenuRow::Kind::viewSwitch)
        return (panelShown || row.withPanelHidden) && needsMet(switchRow(row.viewSwitch).menuNeeds, loaded);
    bool met = true;
    switch (row.needs) {
    case N::nothing: return true;
    case N::dem: met = needsMet(Needs::dem, loaded); break;
    case N::comparison: met = needsMet(Needs::comparison, loaded); break;
    case N::comparisonDem: met = needsMet(Needs::comparison, loaded) && comparisonKind == DEM; break;
    }
    return met && (panelShown || row.withPanelHidden);
}

} // namespace orolith::ui

// The menu bar as one table: each row a menu entry, either a command or a
// view switch (whose path, needs and key are in the switch table). The
// main window builds its menu from it and finds entries by their paths;
// which entries are usable follows from the rows' needs.
#ifndef OROLITH_APP_MENUTABLE_H
#define OROLITH_APP_MENUTABLE_H

#include <string>
#include <vector>

#include "dialogs/names.h"
#include "render/viewswitches.h"

namespace orolith::ui {

enum class Command {
    openDem,
    openPair,
    changeComparison,
    openCheckpoints,
    saveImage,
    saveProfile,
    exit,
    rotateZPlus,
    rotateZMinus,
    rotateXPlus,
    rotateXMinus,
    zoomIn,
    zoomOut,
    sideView,
    topView,
    resetView,
    toggleTools,
    statistics,
    graph,
    sparse,
    coregister,
    stableTerrain,
    modifyCurvature,
    help,
    about,
};

// What a command needs before it may be chosen.
enum class CommandNeeds {
    nothing,
    dem,
    comparison,
    comparisonDem, // comparison data of kind DEM File
};

struct MenuRow {
    enum class Kind { submenu, command, toggleCommand, viewSwitch };
    Kind kind;
    const char* path; // as the menu bar takes it (a slash in a label escaped); null for a view switch
    Command command;
    ViewSwitch viewSwitch;
    int flags; // FL_MENU_DIVIDER
    CommandNeeds needs;
    // Usable while the tool panel is hidden: the entries that act on the
    // whole data set, so that the picture of the widened viewer can be
    // saved. Every other data entry goes with the panel.
    bool withPanelHidden;
};

// Every entry in menu order.
std::vector<MenuRow> mainMenu();

// The path of a row as the menu bar takes it.
std::string menuPathOf(const MenuRow& row);
// The path find_item takes: the labels' escapes removed.
std::string plainMenuPath(const std::string& path);

// Whether a row's entry is usable with what is loaded (`comparisonKind`
// the comparison file's kind code) and the panel shown or hidden.
bool menuRowUsable(const MenuRow& row, const DataLoaded& loaded, int comparisonKind, bool panelShown);

} // namespace orolith::ui

#endif

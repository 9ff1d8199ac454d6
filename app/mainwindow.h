// The main window: menu bar on top, the viewer filling what the window
// gives it, the tool panel at its fixed width on the right and the status
// row at its fixed height under the viewer. Its widgets show the session's
// state and pass the user's requests to the session; none of them changes
// the view or the data set itself. Where each part goes is the plain
// function mainLayout; MainWindow only applies it, on every resize and when
// "Display/Hide Tools" hides or shows the panel.
#ifndef OROLITH_APP_MAINWINDOW_H
#define OROLITH_APP_MAINWINDOW_H

#include <FL/Fl_Window.H>

#include <array>
#include <map>
#include <string>

#include "app/menutable.h"
#include "dialogs/messagelayout.h"
#include "dialogs/names.h"
#include "model/align.h"
#include "model/gridfile.h"
#include "render/viewswitches.h"

class Fl_Button;
class Fl_Check_Button;
class Fl_Counter;
class Fl_Group;
class Fl_Menu_Bar;
class Fl_Menu_Item;
class Fl_Multiline_Output;
class Fl_Output;
class Fl_Progress;
class Fl_Round_Button;
class Fl_Value_Output;

namespace orolith::render {
class Viewer;
}

namespace orolith::ui {

class Session;

constexpr int MENU_BAR_H = 25;
// The panel's sections are laid out for this size; a taller window leaves
// blank room under them rather than stretching them.
constexpr int TOOL_PANEL_W = 200, TOOL_PANEL_H = 675;
// The size the window opens at.
constexpr int START_W = 850, START_H = 736;

struct MainLayout {
    Rect menuBar, viewer, panel, statusRow;
};

// With the panel hidden the viewer and the status row take its width too;
// the panel keeps its place at the right edge.
MainLayout mainLayout(int windowW, int windowH, bool panelShown);

// The smallest window whose panel is whole and whose status row keeps its
// labels and fields apart (statusrow.h); the window cannot be made smaller.
struct WindowSize {
    int w, h;
};
WindowSize minimumWindowSize();

// What the widgets show: the view's switches and profile, what is loaded,
// the units, and whether the panel is shown.
struct ShownState {
    DataLoaded loaded;
    int comparisonKind = 0; // kind code of the comparison file in use
    bool panelShown = true;
};

class MainWindow : public Fl_Window {
public:
    // Builds every widget, the menu from the menu table, and the panel's
    // boxes from the switch table. Nothing is shown.
    explicit MainWindow(Session& session);

    Session& session() { return session_; }
    Viewer& viewer() { return *viewer_; }

    // Boxes, menu marks, profile buttons and the usability of every tool as
    // the session's state has them.
    void showState(const ShownState& state);
    // The files in use in the status row: the names (the end of a long path
    // in sight, the whole in the tooltip) and the DEM's corner and cell size.
    void showFiles(const std::string& dem, const std::string& comparison, const Alignment& alignment);
    void showComparisonNote(const std::string& text); // "... (co-registered)"
    void showHeader(const GridHeader& header);
    void showExaggeration(int exaggeration);
    void showUnits(double curvature, double difference);
    void showProfilePosition(int position);
    // The readout line of the terrain under the mouse; empty off it.
    void showReadout(const std::string& text);

    // The tool panel hidden or shown; the layout follows.
    void showToolPanel(bool shown);
    bool toolPanelShown() const { return panelShown_; }

    // Puts the menu bar, viewer, panel and status row where mainLayout has
    // them for the window's size.
    void layOut();
    void resize(int x, int y, int w, int h) override;

    // The widgets, for the session's busy time and for the tests.
    Fl_Menu_Bar* menuBar() const { return menuBar_; }
    // The entry of a menu path as the table writes it; null when none.
    Fl_Menu_Item* menuEntry(const std::string& path) const;
    Fl_Menu_Item* switchEntry(ViewSwitch id) const;
    // The panel's box of a switch; null when it has none.
    Fl_Check_Button* switchBox(ViewSwitch id) const;
    Fl_Group* toolPanel() const { return toolPanel_; }
    Fl_Progress* loadBar() const { return loadBar_; }
    Fl_Button* cancelButton() const { return cancelButton_; }

    Fl_Output* demField = nullptr;
    Fl_Output* comparisonField = nullptr;
    Fl_Output* xCornerField = nullptr;
    Fl_Output* yCornerField = nullptr;
    Fl_Output* cellSizeField = nullptr;
    Fl_Counter* exaggerationCounter = nullptr; // "Vertical Exageration:"
    Fl_Button* statisticsButton = nullptr;
    Fl_Multiline_Output* readoutField = nullptr;

    Fl_Counter* curvatureUnitCounter = nullptr;
    std::array<Fl_Value_Output*, 3> curvatureLegend{}; // 1, 2 and 3 units
    std::array<Fl_Button*, 3> curvatureSwatches{};
    Fl_Button* curvatureGraphButton = nullptr;
    Fl_Counter* differenceUnitCounter = nullptr;
    std::array<Fl_Value_Output*, 4> differenceLegend{}; // 1 to 4 units
    Fl_Button* differenceGraphButton = nullptr;
    Fl_Check_Button* slopeDifferenceBox = nullptr;       // shown, never usable
    Fl_Round_Button* profileAlongRowButton = nullptr;    // "Y-Axis"
    Fl_Round_Button* profileAlongColumnButton = nullptr; // "X-Axis"
    Fl_Counter* profileCounter = nullptr;                // "Row/Column:"
    Fl_Button* heightClassGraphButton = nullptr;

private:
    void buildMenu();
    void buildStatusRow();
    void buildCurvatureSection();
    void buildDifferenceSection();
    void buildDisplaySection();
    void buildProfileSection();
    void buildHeightClassSection();
    Fl_Check_Button* makeSwitchBox(int x, int y, ViewSwitch id);
    void placeStatusRow(const Rect& row);

    Session& session_;
    Fl_Menu_Bar* menuBar_ = nullptr;
    Viewer* viewer_ = nullptr;
    Fl_Group* toolPanel_ = nullptr;
    Fl_Progress* loadBar_ = nullptr;
    Fl_Button* cancelButton_ = nullptr;
    std::map<ViewSwitch, Fl_Check_Button*> boxes_;
    bool panelShown_ = true;
};

} // namespace orolith::ui

#endif

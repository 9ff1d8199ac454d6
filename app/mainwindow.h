// The main window: menu bar on top, the viewer filling what the window
// gives it, the tool panel at its fixed width on the right and the status
// row at its fixed height under the viewer. Where each goes is the plain
// function mainLayout; MainWindow only applies it, on every resize and when
// "Display/Hide Tools" hides or shows the panel.
#ifndef OROLITH_APP_MAINWINDOW_H
#define OROLITH_APP_MAINWINDOW_H

#include <FL/Fl_Window.H>

#include "dialogs/messagelayout.h"

constexpr int MENU_BAR_H = 25;
// The panel's sections are laid out for this size; a taller window leaves
// blank room under them rather than stretching them.
constexpr int TOOL_PANEL_W = 200, TOOL_PANEL_H = 675;
// The size buildMainWindow opens the window at.
constexpr int START_W = 850, START_H = 700;

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

class MainWindow : public Fl_Window {
public:
    MainWindow(int x, int y, int w, int h, const char* title) : Fl_Window(x, y, w, h, title) {}

    // Called by "Display/Hide Tools" (tools), which keeps toolsShown.
    void hideToolPanel();
    void showToolPanel();
    bool toolPanelShown() const { return panelShown; }

    // Puts the menu bar, viewer, panel and status row where mainLayout has
    // them for the window's size. buildMainWindow calls it once the widgets
    // exist; resize calls it for every new size.
    void layOut();
    void resize(int x, int y, int w, int h) override;

private:
    bool panelShown = true;
};

#endif

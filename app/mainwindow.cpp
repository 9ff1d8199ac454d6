#include "app/mainwindow.h"

#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>

#include "app/glviewerGUI.h"
#include "dialogs/statusrow.h"
#include "render/glviewer.h"

MainLayout mainLayout(int windowW, int windowH, bool panelShown)
{
    const int besideViewer = panelShown ? TOOL_PANEL_W : 0;
    const int viewerW = windowW - besideViewer;
    MainLayout l;
    l.menuBar = {0, 0, windowW, MENU_BAR_H};
    l.viewer = {0, MENU_BAR_H, viewerW, windowH - MENU_BAR_H - STATUS_ROW_H};
    l.statusRow = {0, windowH - STATUS_ROW_H, viewerW, STATUS_ROW_H};
    l.panel = {windowW - TOOL_PANEL_W, MENU_BAR_H, TOOL_PANEL_W, TOOL_PANEL_H};
    return l;
}

WindowSize minimumWindowSize() { return {TOOL_PANEL_W + STATUS_ROW_MIN_W, MENU_BAR_H + TOOL_PANEL_H}; }

void MainWindow::hideToolPanel()
{
    panelShown = false;
    toolPanel->hide();
    layOut();
    redraw();
}

void MainWindow::showToolPanel()
{
    panelShown = true;
    toolPanel->show();
    layOut();
    redraw();
}

void MainWindow::layOut()
{
    const MainLayout l = mainLayout(w(), h(), panelShown);
    auto place = [](Fl_Widget* widget, const Rect& r) { widget->resize(r.x, r.y, r.w, r.h); };
    place(menubar, l.menuBar);
    place(gl, l.viewer);
    // The panel's group has no resizable child: its widgets move with it
    // and keep their sizes.
    place(toolPanel, l.panel);
    placeStatusRow(l.statusRow);
}

void MainWindow::resize(int x, int y, int w, int h)
{
    const bool resized = w != this->w() || h != this->h();
    // The window has no resizable child, so the toolkit leaves the
    // children where they are; the layout puts them in their places.
    Fl_Window::resize(x, y, w, h);
    if (resized && gl)
        layOut();
}

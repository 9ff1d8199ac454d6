// The main window. While the tool panel is hidden the viewer spreads over
// it and a blank cover fills what is left of the panel below the viewer,
// also after the user resizes the window; shown again, viewer and panel
// take the places the window's size gives them, as if never hidden.
#ifndef OROLITH_APP_MAINWINDOW_H
#define OROLITH_APP_MAINWINDOW_H

#include <FL/Fl_Window.H>

struct PanelRect {
    int x = 0, y = 0, w = 0, h = 0;
};

// Where the viewer and the cover go while the panel is hidden, from the
// viewer's place with the panel shown and the window's size.
struct HiddenPanelLayout {
    PanelRect viewer, cover;
};
HiddenPanelLayout hiddenPanelLayout(const PanelRect& shownViewer, int windowW, int windowH);

class MainWindow : public Fl_Window {
public:
    MainWindow(int x, int y, int w, int h, const char* title) : Fl_Window(x, y, w, h, title) {}

    // Called by "Display\Hide Tools" (tools), which keeps toolsShown.
    void hideToolPanel();
    void showToolPanel();

    void resize(int x, int y, int w, int h) override;

private:
    void coverToolPanel();
    bool panelHidden = false;
    PanelRect shownViewer;
};

#endif

#include "app/mainwindow.h"

#include <FL/Fl_Button.H>

#include "app/glviewerGUI.h"
#include "render/glviewer.h"

HiddenPanelLayout hiddenPanelLayout(const PanelRect& shownViewer, int windowW, int windowH)
{
    const int right = shownViewer.x + shownViewer.w;
    const int bottom = shownViewer.y + shownViewer.h;
    HiddenPanelLayout l;
    l.viewer = {shownViewer.x, shownViewer.y, windowW - shownViewer.x, shownViewer.h};
    l.cover = {right, bottom, windowW - right, windowH - bottom};
    return l;
}

void MainWindow::hideToolPanel()
{
    // The toolkit lays the children out anew from the sizes it first
    // recorded; record them now, while they are the shown layout.
    sizes();
    panelHidden = true;
    coverToolPanel();
}

void MainWindow::showToolPanel()
{
    panelHidden = false;
    gl->resize(shownViewer.x, shownViewer.y, shownViewer.w, shownViewer.h);
    block->hide();
    XMAX = gl->w();
}

void MainWindow::coverToolPanel()
{
    shownViewer = {gl->x(), gl->y(), gl->w(), gl->h()};
    const HiddenPanelLayout l = hiddenPanelLayout(shownViewer, w(), h());
    gl->resize(l.viewer.x, l.viewer.y, l.viewer.w, l.viewer.h);
    block->resize(l.cover.x, l.cover.y, l.cover.w, l.cover.h);
    block->show();
    XMAX = gl->w();
}

void MainWindow::resize(int x, int y, int w, int h)
{
    const bool resized = w != this->w() || h != this->h();
    // A new size puts every child, the viewer too, where the shown layout
    // has it; a move leaves them alone.
    Fl_Window::resize(x, y, w, h);
    if (panelHidden && resized)
        coverToolPanel();
    XMAX = gl ? gl->w() : XMAX;
}

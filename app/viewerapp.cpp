#include "app/viewerapp.h"

#include <FL/Fl.H>
#include <GL/freeglut.h>

#include "app/mainwindow.h"
#include "app/session.h"
#include "dialogs/names.h"
#include "render/viewer.h"

namespace orolith::ui {

int runViewer(int argc, char** argv, const GridIo& io, const PointIo& points)
{
    // GLUT draws the sun and the comparison cubes; no GLUT window is opened.
    if (!glutGet(GLUT_INIT_STATE))
        glutInit(&argc, argv);
    Session session(io, points);
    session.window().show();
    session.viewer().show();
    // The first argument after the program name, of any length, is the DEM
    // offered to the open dialogs; further arguments are ignored.
    if (argc > 1)
        session.offerStartupDem(argv[1]);
    return Fl::run();
}

} // namespace orolith::ui

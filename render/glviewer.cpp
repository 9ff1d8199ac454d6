// The viewer window and the frame it draws: camera, light and the model's
// drawing members, all driven by the view-state globals.
#include "render/glviewer.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "model/mountain.h"
#include "render/clipscale.h"
#include "render/overlays.h"
#include "render/surfacecache.h"

MyWindow::MyWindow(int x, int y, int w, int h, const char* label) : Fl_Gl_Window(x, y, w, h, label)
{
    mode(FL_DOUBLE | FL_ALPHA | FL_DEPTH);
    allocated = false;
    rd.setContourInt(0);
    mt.reset();
}

void MyWindow::draw()
{
    // This frame shows every change made so far.
    REDRAW = false;
    // A new context has none of the old one's buffers.
    if (!context_valid()) {
        forgetSurfaceBuffers();
        context_valid(1);
    }
    if (!OPEN) {
        glClearColor(0.7f, 0.7f, 0.7f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    if (firstTime) {
        InitializeGL();
        firstTime = 0;
    }
    windowinit();
    // The picture fills the widget, whatever size the main window gives it.
    reshape(pixel_w(), pixel_h());
    minit();
    display();
}

void MyWindow::InitializeGL()
{
    glEnable(GL_DEPTH_TEST);
}

void windowinit()
{
    // GLUT's defaults only; no GLUT window is ever opened, and before
    // glutInit GLUT would refuse the calls.
    if (!glutGet(GLUT_INIT_STATE))
        return;
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutInitWindowSize(MAX, MAX);
}

void reshape(int w, int h)
{
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const ClipScale s = imageClipScale(w, h);
    if (s.x != 1 || s.y != 1) {
        // A scale in clip space: loaded before the frustum, it multiplies
        // what the frustum makes, so the frustum's planes and depth stay as
        // the square picture has them and the longer side shows more
        // terrain instead of a stretched one.
        glScaled(s.x, s.y, 1.0);
    }
    glFrustum(-0.2, 0.2, -0.2, 0.2, 18.0, 200.0);
    glMatrixMode(GL_MODELVIEW);
}

void minit()
{
    glClearColor(BACKGROUND[0], BACKGROUND[1], BACKGROUND[2], BACKGROUND[3]);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glLightfv(GL_LIGHT0, GL_POSITION, position0);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    // The light switch only flips `lighting`; the frame applies it.
    if (lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, polygonOutline ? GL_LINE : GL_FILL);
}

void display()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, 0, eyevalue, 0, 0, 0, 0, 1, 0);

    glPushMatrix();
    glRotatef(xrotation, 1, 0, 0);
    glRotatef(zrotation, 0, 0, 1);
    glTranslatef(xtranslate, ytranslate, 0);
    if (drawAxes)
        mt.drawcoordsystem();
    // Under the model transform, so the light turns with the terrain and
    // rotating the view leaves its shading as it was.
    glLightfv(GL_LIGHT0, GL_POSITION, position0);
    // While a load replaces the model, the surface of the data set in use
    // from its buffers, and no profile: the model's grid may already be the
    // new one while its mesh frame is still the old one's.
    if (holdSurface)
        drawBufferedSurface(mt, false);
    else
        mt.drawgrid();
    if (drawSun)
        drawSunSphere();
    if (plotProfile && !holdSurface)
        mt.profilePlot();
    glPopMatrix();

    if (magnify)
        mt.drawMagnifier();
}

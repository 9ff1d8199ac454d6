#include "render/frame.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "model/dataset.h"
#include "render/clipscale.h"
#include "render/legendgl.h"
#include "render/names.h"
#include "render/overlays.h"
#include "render/pickmarks.h"
#include "render/surfacecache.h"

namespace orolith::render {

void windowinit()
{
    // Before glutInit GLUT would refuse the calls.
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

void minit(const ViewState& view, bool outline)
{
    glClearColor(BACKGROUND[0], BACKGROUND[1], BACKGROUND[2], BACKGROUND[3]);
    glEnable(GL_NORMALIZE);
    glEnable(GL_COLOR_MATERIAL);
    glLightfv(GL_LIGHT0, GL_POSITION, view.position0);
    glEnable(GL_LIGHT0);
    glEnable(GL_DEPTH_TEST);
    if (view.lighting)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);
    glShadeModel(GL_SMOOTH);
    glPolygonMode(GL_FRONT_AND_BACK, outline ? GL_LINE : GL_FILL);
}

void display(const DataSet& d, const ViewState& view, SurfaceCache& surface, const FrameMode& mode)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    gluLookAt(0, 0, view.eyevalue, 0, 0, 0, 0, 1, 0);

    glPushMatrix();
    glRotatef(view.xrotation, 1, 0, 0);
    glRotatef(view.zrotation, 0, 0, 1);
    glTranslatef(view.xtranslate, view.ytranslate, 0);
    if (view.drawAxes)
        drawAxes(view);
    // Under the model transform, so the light turns with the terrain and
    // rotating the view leaves its shading as it was.
    glLightfv(GL_LIGHT0, GL_POSITION, view.position0);
    if (mode.hold)
        surface.drawHeld(view);
    else if (surface.buffered)
        surface.draw(d, view, mode.dragging);
    else
        drawSurfaceDirectly(d, view, mode.dragging);
    // While held, the data set may be changing under the markers.
    if (!mode.hold)
        drawCheckpointMarkers(d, view);
    if (view.drawSun)
        drawSunSphere(view);
    if (view.plotProfile && !mode.hold)
        drawProfile(d, view);
    if (!mode.hold)
        drawPickMarks(d, view);
    glPopMatrix();

    if (view.magnify)
        drawMagnifier(view);
    drawCrossHair(view);
    // Last, over everything: what the colours mean.
    drawLegend(d, view, mode.hold);
}

} // namespace orolith::render

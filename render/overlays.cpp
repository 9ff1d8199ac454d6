// Axes, sun and magnifier ring.
#include "render/overlays.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "render/names.h"
#include "render/solids.h"
#include "render/viewstate.h"

namespace orolith::render {

void restoreLighting(const ViewState& view)
{
    if (view.lighting)
        glEnable(GL_LIGHTING);
}

void drawAxes(const ViewState& view)
{
    glDisable(GL_LIGHTING);
    glBegin(GL_LINES);
    glColor3f(1, 0, 0);
    glVertex3f(-1.2f, 0, 0);
    glVertex3f(1.2f, 0, 0);
    glColor3f(0, 0, 1);
    glVertex3f(0, -1.2f, 0);
    glVertex3f(0, 1.2f, 0);
    glColor3f(1, 1, 0);
    glVertex3f(0, 0, -1.2f);
    glVertex3f(0, 0, 1.2f);
    glEnd();
    restoreLighting(view);
}

void drawSunSphere(const ViewState& view)
{
    glPushMatrix();
    glTranslatef(view.position0[0], 0, view.position0[2] - 1.0f);
    glColor3f(1, 1, 0);
    glDisable(GL_LIGHTING);
    solidSphere(0.03, 30, 30);
    restoreLighting(view);
    glPopMatrix();
}

void drawMagnifier(const ViewState& view)
{
    GLUquadric* quadric = gluNewQuadric();
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 1, 0.4f);
    glPushMatrix();
    // MAGDIST in front of the eye, just past the near plane, so the ring
    // keeps its size on screen at every zoom.
    glTranslatef(view.magTransX, view.magTransY, view.eyevalue - MAGDIST);
    gluDisk(quadric, INDIAMETER, OUTDIAMETER, 50, 1);
    gluDeleteQuadric(quadric);
    glPopMatrix();
    restoreLighting(view);
}

} // namespace orolith::render

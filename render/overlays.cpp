// Axes, sun and magnifier ring.
#include "render/overlays.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "model/mountain.h"
#include "render/solids.h"
#include "render/viewstate.h"

void restoreLighting()
{
    if (lighting)
        glEnable(GL_LIGHTING);
}

void mountain::drawcoordsystem()
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
    restoreLighting();
}

void drawSunSphere()
{
    glPushMatrix();
    glTranslatef(position0[0], 0, position0[2] - 1.0f);
    glColor3f(1, 1, 0);
    glDisable(GL_LIGHTING);
    solidSphere(0.03, 30, 30);
    restoreLighting();
    glPopMatrix();
}

void mountain::drawMagnifier()
{
    static GLUquadric* quadric = gluNewQuadric();
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0, 0, 1, 0.4f);
    glPushMatrix();
    // MAGDIST in front of the eye, just past the near plane, so the ring
    // keeps its size on screen at every zoom.
    glTranslatef(magTransX, magTransY, eyevalue - MAGDIST);
    gluDisk(quadric, INDIAMETER, OUTDIAMETER, 50, 1);
    glPopMatrix();
    restoreLighting();
}

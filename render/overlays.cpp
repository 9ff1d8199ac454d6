// Axes, sun, magnifier ring and checkpoints.
#include "render/overlays.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <vector>

#include "render/checkpointmarkers.h"
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

void drawCheckpointMarkers(const DataSet& d, const ViewState& view)
{
    const std::vector<CheckpointMarker> markers = checkpointMarkers(d, view.diffUnits);
    if (markers.empty())
        return;
    glDisable(GL_LIGHTING);
    // Each marker over its dark square, which it lies level with.
    glDepthFunc(GL_LEQUAL);
    GLfloat size = 1;
    glGetFloatv(GL_POINT_SIZE, &size);
    glPointSize(MARKER_OUTLINE_PIXELS);
    glColor3f(0.1f, 0.1f, 0.1f);
    glBegin(GL_POINTS);
    for (const CheckpointMarker& m : markers)
        glVertex3f(m.at.x, m.at.y, m.at.z);
    glEnd();
    glPointSize(MARKER_PIXELS);
    glBegin(GL_POINTS);
    for (const CheckpointMarker& m : markers) {
        glColor3f(m.color.r, m.color.g, m.color.b);
        glVertex3f(m.at.x, m.at.y, m.at.z);
    }
    glEnd();
    glPointSize(size);
    glDepthFunc(GL_LESS);
    restoreLighting(view);
}

} // namespace orolith::render

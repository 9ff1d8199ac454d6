// The GL half of pickmarks.h.
#include <GL/gl.h>

#include <string>

#include "model/dataset.h"
#include "render/overlays.h"
#include "render/pickmarks.h"

namespace orolith::render {

namespace {

// The number in black on a white halo (the bitmap drawn once a pixel out
// in every direction), a few pixels right of and above the square.
void drawNumber(const Vec3& at, int number)
{
    const TextBitmap b = numberBitmap(std::to_string(number));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const float right = PICK_OUTLINE_PIXELS / 2 + 2, up = 2;
    auto drawAt = [&](float dx, float dy) {
        glRasterPos3d(at.x, at.y, at.z);
        glBitmap(0, 0, 0, 0, right + dx, up + dy, nullptr);
        glBitmap(b.width, b.height, 0, 0, 0, 0, b.bits.data());
    };
    glColor3f(1, 1, 1);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (dx || dy)
                drawAt(static_cast<float>(dx), static_cast<float>(dy));
    glColor3f(0, 0, 0);
    drawAt(0, 0);
}

} // namespace

void drawPickMarks(const DataSet& d, const ViewState& view)
{
    if (view.picks.empty())
        return;
    glDisable(GL_LIGHTING);
    // Marks and numbers stay in sight when terrain stands in front of them.
    glDisable(GL_DEPTH_TEST);
    GLfloat size = 1;
    glGetFloatv(GL_POINT_SIZE, &size);
    for (const PickMark& p : view.picks) {
        const Vec3 at = pickMarkPlace(d, p);
        glPointSize(PICK_OUTLINE_PIXELS);
        glColor3f(0, 0, 0);
        glBegin(GL_POINTS);
        glVertex3d(at.x, at.y, at.z);
        glEnd();
        glPointSize(PICK_MARK_PIXELS);
        glColor3f(1.0f, 0.2f, 1.0f);
        glBegin(GL_POINTS);
        glVertex3d(at.x, at.y, at.z);
        glEnd();
        drawNumber(at, p.number);
    }
    glPointSize(size);
    glEnable(GL_DEPTH_TEST);
    restoreLighting(view);
}

void drawCrossHair(const ViewState& view)
{
    if (!view.crossHair)
        return;
    GLint vp[4];
    glGetIntegerv(GL_VIEWPORT, vp);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(vp[0], vp[0] + vp[2], vp[1], vp[1] + vp[3], -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    const double cx = vp[0] + vp[2] / 2.0, cy = vp[1] + vp[3] / 2.0, a = CROSS_HAIR_ARM;
    // Black arms on white ones, visible on any ground.
    for (int pass = 0; pass < 2; ++pass) {
        glLineWidth(pass == 0 ? 3.0f : 1.0f);
        if (pass == 0)
            glColor3f(1, 1, 1);
        else
            glColor3f(0, 0, 0);
        glBegin(GL_LINES);
        glVertex2d(cx - a, cy);
        glVertex2d(cx + a, cy);
        glVertex2d(cx, cy - a);
        glVertex2d(cx, cy + a);
        glEnd();
    }
    glLineWidth(1.0f);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    restoreLighting(view);
}

} // namespace orolith::render

#include "render/solids.h"

#include "render/names.h"
#include <GL/freeglut.h>
#include <GL/glu.h>

namespace orolith::render {

namespace {
bool glutReady() { return glutGet(GLUT_INIT_STATE) != 0; }
} // namespace

void solidCube(float edge)
{
    if (glutReady()) {
        glutSolidCube(edge);
        return;
    }
    const float h = edge / 2;
    static const float faces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    glBegin(GL_QUADS);
    for (const auto& n : faces) {
        // Two axes spanning the face, chosen perpendicular to its normal.
        float u[3] = {n[1] != 0 || n[2] != 0 ? 1.0f : 0.0f, n[0] != 0 ? 1.0f : 0.0f, 0};
        float v[3] = {n[1] * u[2] - n[2] * u[1], n[2] * u[0] - n[0] * u[2], n[0] * u[1] - n[1] * u[0]};
        glNormal3fv(n);
        const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
        for (const auto& k : corner)
            glVertex3f(h * (n[0] + k[0] * u[0] + k[1] * v[0]), h * (n[1] + k[0] * u[1] + k[1] * v[1]),
                       h * (n[2] + k[0] * u[2] + k[1] * v[2]));
    }
    glEnd();
}

void solidSphere(double radius, int slices, int stacks)
{
    if (glutReady()) {
        glutSolidSphere(radius, slices, stacks);
        return;
    }
    GLUquadric* quadric = gluNewQuadric();
    gluSphere(quadric, radius, slices, stacks);
    gluDeleteQuadric(quadric);
}

} // namespace orolith::render

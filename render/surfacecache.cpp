#define GL_GLEXT_PROTOTYPES
#include "render/surfacecache.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <cstring>

#include "model/dataset.h"
#include "render/frameinputs.h"
#include "render/profilegeometry.h"
#include "render/smalltriangles.h"
#include "render/solids.h"
#include "render/viewstate.h"

namespace {

// Positions, then colours, in one buffer.
GLuint upload(const std::vector<float>& xyz, const std::vector<std::uint8_t>& rgba, std::size_t& rgbaOffset)
{
    GLuint b = 0;
    glGenBuffers(1, &b);
    glBindBuffer(GL_ARRAY_BUFFER, b);
    const std::size_t posBytes = xyz.size() * sizeof(float);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(posBytes + rgba.size()), nullptr, GL_STATIC_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, static_cast<GLsizeiptr>(posBytes), xyz.data());
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(posBytes), static_cast<GLsizeiptr>(rgba.size()), rgba.data());
    rgbaOffset = posBytes;
    return b;
}

void drawColoured(GLuint buffer, std::size_t rgbaOffset)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    glColorPointer(4, GL_UNSIGNED_BYTE, 0, reinterpret_cast<const void*>(rgbaOffset));
}

void finishColoured()
{
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
}

// Projection times model-view, and the viewport, as GL has them now.
ScreenTransform currentScreenTransform()
{
    double p[16], mv[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    glGetDoublev(GL_MODELVIEW_MATRIX, mv);
    ScreenTransform t;
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += p[k * 4 + r] * mv[c * 4 + k];
            t.matrix[c * 4 + r] = sum;
        }
    glGetIntegerv(GL_VIEWPORT, t.viewport);
    return t;
}


#define GL_GLEXT_PROTOTYPES
#include "render/surfacecache.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "model/dataset.h"
#include "render/frameinputs.h"
#include "render/names.h"
#include "render/profilegeometry.h"
#include "render/smalltriangles.h"
#include "render/solids.h"
#include "render/viewstate.h"

namespace orolith::render {

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
    glBufferSubData(GL_ARRAY_BUFFER, static_cast<GLintptr>(posBytes), static_cast<GLsizeiptr>(rgba.size()),
                    rgba.data());
    rgbaOffset = posBytes;
    return b;
}

void drawColoured(GLuint buffer, std::size_t rgbaOffset)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
    // GL takes an offset into the bound buffer where it takes a pointer.
    glColorPointer(4, GL_UNSIGNED_BYTE, 0,
                   reinterpret_cast<const void*>(rgbaOffset)); // NOLINT(performance-no-int-to-ptr)
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

bool sameFlags(const ViewFlags& a, const ViewFlags& b)
{
    return a.drawContours == b.drawContours && a.drawPoints == b.drawPoints && a.drawCurveColor == b.drawCurveColor &&
           a.drawDiffColor == b.drawDiffColor && a.drawCurveDiff == b.drawCurveDiff && a.drawDiff == b.drawDiff &&
           a.colorHeightClasses == b.colorHeightClasses && a.drawColors == b.drawColors &&
           a.colorSlope == b.colorSlope && a.treeLine == b.treeLine;
}

} // namespace

bool SurfaceCache::Key::operator==(const Key& o) const
{
    return version == o.version && comparisonVersion == o.comparisonVersion && sameFlags(flags, o.flags) &&
           comparison == o.comparison && drawTriangles == o.drawTriangles && cut.on == o.cut.on &&
           cut.view == o.cut.view && cut.ypos == o.cut.ypos && cut.xpos == o.cut.xpos && slope == o.slope &&
           light.on == o.light.on && light.position[0] == o.light.position[0] &&
           light.position[1] == o.light.position[1] && light.position[2] == o.light.position[2] &&
           classes == o.classes && interval == o.interval && minCount == o.minCount && maxCount == o.maxCount &&
           step == o.step;
}

void SurfaceCache::Buffers::release()
{
    if (surface)
        glDeleteBuffers(1, &surface);
    if (indices)
        glDeleteBuffers(1, &indices);
    if (marks)
        glDeleteBuffers(1, &marks);
    if (cubeList)
        glDeleteLists(cubeList, 1);
    *this = Buffers{};
}

SurfaceCache::~SurfaceCache()
{
    // The buffers die with their context; nothing is deleted here, as the
    // context may already be gone when the viewer is.
}

void SurfaceCache::build(Buffers& b, const DataSet& d, const SurfaceInputs& in, const Key& key)
{
    b.release();
    SurfaceArrays a = buildSurface(d, in, key.step, drawnFlat(d.rows(), d.cols(), key.step));
    b.surface = upload(a.xyz, a.rgba, b.rgbaOffset);
    b.flat = a.flat;
    b.vertexCount = static_cast<GLsizei>(a.xyz.size() / 3);
    b.indexCount = static_cast<GLsizei>(a.indices.size());
    if (a.flat && rendersInSoftware(reinterpret_cast<const char*>(glGetString(GL_RENDERER)))) {
        // Sorted each frame (drawFlatTriangles), and drawn from here.
        b.xyz = std::move(a.xyz);
        b.triangles = std::move(a.indices);
    } else {
        glGenBuffers(1, &b.indices);
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indices);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(a.indices.size() * sizeof(std::uint32_t)),
                     a.indices.data(), GL_STATIC_DRAW);
    }
    if (!a.markXyz.empty()) {
        b.marks = upload(a.markXyz, a.markRgba, b.markRgbaOffset);
        b.markCount = static_cast<GLsizei>(a.markXyz.size() / 3);
        b.marksArePoints = a.marksArePoints;
    }
    // The cubes are drawn from GLUT's client arrays: no buffer may be bound.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    if (!a.cubes.empty()) {
        // The cubes stay lit by GL, as drawn directly.
        b.cubeList = glGenLists(1);
        glNewList(b.cubeList, GL_COMPILE);
        glColor4f(CUBE_COLOR.r, CUBE_COLOR.g, CUBE_COLOR.b, 1.0f);
        for (std::size_t k = 0; k < a.cubes.size(); k += 3) {
            glPushMatrix();
            glTranslatef(a.cubes[k], a.cubes[k + 1], a.cubes[k + 2]);
            solidCube(0.005f);
            glPopMatrix();
        }
        glEndList();
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    b.key = key;
    b.built = true;
    ++builds_;
}

void SurfaceCache::drawFlatTriangles(const Buffers& b)
{
    if (b.indices) {
        glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, b.indices);
        glDrawElements(GL_TRIANGLES, b.indexCount, GL_UNSIGNED_INT, nullptr);
        return;
    }
    // Outlines cover pixels that no centre test foresees: all of them.
    GLint fill[2] = {GL_FILL, GL_FILL};
    glGetIntegerv(GL_POLYGON_MODE, fill);
    const bool filled = fill[0] == GL_FILL && fill[1] == GL_FILL;
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    if (leaveOutSmallTriangles && filled) {
        const std::size_t count = reach_.select(b.xyz, b.triangles, currentScreenTransform());
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(count), GL_UNSIGNED_INT, reach_.kept());
    } else {
        glDrawElements(GL_TRIANGLES, b.indexCount, GL_UNSIGNED_INT, b.triangles.data());
    }
}

void SurfaceCache::drawBuffers(const Buffers& b, bool lit)
{
    glDisable(GL_LIGHTING); // lit already
    drawColoured(b.surface, b.rgbaOffset);
    if (b.flat) {
        glShadeModel(GL_FLAT); // each triangle the colour of its own last vertex
        drawFlatTriangles(b);
        glShadeModel(GL_SMOOTH);
    } else {
        glDrawArrays(GL_TRIANGLES, 0, b.vertexCount);
    }
    finishColoured();
    if (b.markCount > 0) {
        drawColoured(b.marks, b.markRgbaOffset);
        glDrawArrays(b.marksArePoints ? GL_POINTS : GL_LINES, 0, b.markCount);
        finishColoured();
    }
    if (lit)
        glEnable(GL_LIGHTING);
    if (b.cubeList)
        glCallList(b.cubeList);
}

void SurfaceCache::drawHeld(const ViewState& view)
{
    if (full_.built)
        drawBuffers(full_, view.lighting);
}

void SurfaceCache::draw(const DataSet& d, const ViewState& view, bool dragging)
{
    if (!d.loaded() || !d.mesh().usable())
        return;
    SurfaceInputs in;
    in.flags = viewFlags(view);
    in.classes = heightClassTable(d);
    in.comparison = d.hasComparison();
    in.drawTriangles = view.drawTriangles;
    const ProfilePlacement place = placeProfile(d.mesh(), view.profileYpos, view.profileXpos);
    in.cut = ProfileCut{view.plotProfile, view.profView, place.Y, place.X};
    in.slope = view.slope;
    in.light.on = view.lighting;
    std::copy(view.position0, view.position0 + 3, in.light.position);

    Key key;
    key.version = d.version();
    key.comparisonVersion = in.comparison ? d.comparisonVersion() : 0;
    key.flags = in.flags;
    key.comparison = in.comparison;
    key.drawTriangles = in.drawTriangles;
    key.cut = in.cut;
    key.slope = in.slope;
    key.light = in.light;
    key.classes = in.classes.classes;
    key.interval = in.classes.interval;
    key.minCount = in.classes.minCount;
    key.maxCount = in.classes.maxCount;
    // A drag of a large grid shows a coarse grid, in outlines.
    const bool thin = dragging && static_cast<long long>(d.rows()) * d.cols() > NUMTRIANGLES;
    key.step = detailStep(d.rows(), d.cols(), thin ? MAX_DRAG_CELLS : MAX_DRAWN_CELLS);
    Buffers& b = thin ? coarse_ : full_;
    if (!b.built || !(b.key == key))
        build(b, d, in, key);
    drawBuffers(b, view.lighting);
}

void SurfaceCache::forget()
{
    // The names belonged to a context that is gone: nothing to delete.
    full_ = Buffers{};
    coarse_ = Buffers{};
}

} // namespace orolith::render

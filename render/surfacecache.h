// The surface kept in GL buffers between frames. It rebuilds its buffers
// only when something the picture depends on has changed (the data set's
// versions, a colour flag, the profile cut, the light, the level of
// detail), so a frame that only moves the camera builds nothing. (Under a
// software renderer a large grid's frame hands GL a list of the triangles
// that reach a pixel, render/smalltriangles.h.) Each GL context has a cache
// of its own: its buffers belong to the context that made them.
#ifndef OROLITH_RENDER_SURFACECACHE_H
#define OROLITH_RENDER_SURFACECACHE_H

#include <cstdint>
#include <vector>

#include "render/names.h"
#include "render/smalltriangles.h"
#include "render/surfacemesh.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

class SurfaceCache {
public:
    SurfaceCache() = default;
    ~SurfaceCache();
    SurfaceCache(const SurfaceCache&) = delete;
    SurfaceCache& operator=(const SurfaceCache&) = delete;

    // Draws the surface of `d` seen as `view`; `dragging` selects the
    // coarse level of detail that a drag of a large grid shows. Call with
    // the cache's GL context current.
    void draw(const DataSet& d, const ViewState& view, bool dragging);
    // While a load replaces the data set or an analysis runs, what was drawn
    // last: the full-detail buffers, or nothing; no buffer is built.
    void drawHeld(const ViewState& view);
    // The context was made anew and the buffers went with the old one: they
    // are built again before next use.
    void forget();

    // How many times the buffers were built, for tests of when they are.
    int builds() const { return builds_; }

    // Off, the surface is drawn triangle by triangle in every frame, the
    // way the buffered picture must look; tests compare the two.
    bool buffered = true;
    // On, a flat surface drawn by a software renderer leaves out, each
    // frame, the triangles that reach no pixel; tests compare the pictures
    // with and without.
    bool leaveOutSmallTriangles = true;

    // What the arrays were built from; a frame whose inputs differ rebuilds.
    struct Key {
        unsigned long long version = 0, comparisonVersion = 0;
        ViewFlags flags;
        bool comparison = false, drawTriangles = true;
        ProfileCut cut;
        float slope = 0;
        SurfaceLight light;
        const int* classes = nullptr;
        int interval = 0, minCount = 0, maxCount = 0;
        int step = 0;
        bool operator==(const Key& o) const;
    };

private:
    struct Buffers {
        bool built = false;
        Key key;
        unsigned surface = 0, indices = 0, marks = 0;
        unsigned cubeList = 0;
        int indexCount = 0, vertexCount = 0, markCount = 0;
        bool flat = false;
        std::size_t rgbaOffset = 0, markRgbaOffset = 0;
        bool marksArePoints = false;
        // Under a software renderer, a flat surface's positions and
        // triangles, kept to sort out, each frame, those that reach no pixel.
        std::vector<float> xyz;
        std::vector<std::uint32_t> triangles;

        void release();
    };

    void build(Buffers& b, const DataSet& d, const SurfaceInputs& in, const Key& key);
    void drawBuffers(const Buffers& b, bool lit);
    void drawFlatTriangles(const Buffers& b);

    Buffers full_, coarse_;
    int builds_ = 0;
    PixelReach reach_; // its storage kept from frame to frame
};

// The surface drawn directly, triangle by triangle: what the buffers must
// look like.
void drawSurfaceDirectly(const DataSet& d, const ViewState& view, bool dragging);

} // namespace orolith::render

#endif

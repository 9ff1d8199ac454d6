// Triangles that cannot reach a pixel. GL fills a pixel only when its centre
// lies inside a triangle, so a triangle whose screen bounding box holds no
// pixel centre of the viewport draws nothing. Mesa's software renderer still
// sets up each such triangle in full, and a grid of a million cells seen in
// a window of a few hundred thousand pixels is mostly such triangles: left
// out before drawing, the picture stays the same and the frame takes a
// fraction of the time.
#ifndef OROLITH_RENDER_SMALLTRIANGLES_H
#define OROLITH_RENDER_SMALLTRIANGLES_H

#include "render/names.h"
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orolith::render {

// Where a vertex lands on the screen: clip = matrix * (x, y, z, 1) with
// `matrix` column-major as GL keeps it (projection times model-view), then
// the viewport (x, y, width, height).
struct ScreenTransform {
    double matrix[16];
    int viewport[4];
};

// Sorts out, frame by frame, the triangles of a surface that may cover a
// pixel centre; keeps its storage between frames.
class PixelReach {
public:
    // The triangles of `indices` (three vertex numbers each, into `xyz`)
    // that may cover a pixel centre of the viewport, in their order, as the
    // first `count` entries of kept(). A triangle with a vertex at or behind
    // the eye is kept, and bounding boxes are widened by a small margin, so
    // that no triangle that draws anything is dropped.
    std::size_t select(const std::vector<float>& xyz, const std::vector<std::uint32_t>& indices,
                       const ScreenTransform& t);
    const std::uint32_t* kept() const { return kept_.data(); }

private:
    std::vector<float> screen_;       // x, y of each vertex; NaN behind the eye
    std::vector<std::uint32_t> keys_; // the gaps between pixel centres it lies in
    std::vector<std::uint32_t> kept_;
};

// Whether the GL renderer named `renderer` sets up every triangle in
// software, so that leaving out those that reach no pixel pays off. A GPU
// discards them itself, faster than they could be sorted out here.
bool rendersInSoftware(const char* renderer);

} // namespace orolith::render

#endif

// The camera of a frame as numbers: the projection and model-view matrices
// the frame loads into GL (frame.cpp), built here in double precision from
// the view state and the picture's size, so that a point under the mouse
// can be found without reading anything back from GL. No GL here.
#ifndef OROLITH_RENDER_FRAMEMATRICES_H
#define OROLITH_RENDER_FRAMEMATRICES_H

#include <array>
#include <optional>

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::render {

// A 4 x 4 matrix in GL's order: column after column.
using Mat4 = std::array<double, 16>;

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

Mat4 multiply(const Mat4& a, const Mat4& b);
// The inverse; nothing for a singular matrix.
std::optional<Mat4> inverse(const Mat4& m);

// What the frame of a width x height picture loads: the projection of
// reshape() and the model-view of display() under which the surface is
// drawn (eye, turns about x and z, move in the model's plane).
struct FrameMatrices {
    Mat4 projection{}, modelview{};
    int width = 0, height = 0;
};
FrameMatrices frameMatrices(const ViewState& view, int width, int height);

// A window position in pixels, x from the left and y from the top as the
// toolkit's events give them (a pixel's centre at + 0.5).
struct WindowPoint {
    double x = 0, y = 0;
};

// Where a model point appears in the picture; nothing behind the eye.
std::optional<WindowPoint> project(const FrameMatrices& f, const Vec3& model);

// The line of sight through a window position: the model points under it
// on the near plane (`from`) and on the far plane (`to`).
struct Ray {
    Vec3 from, to;
};
std::optional<Ray> rayThrough(const FrameMatrices& f, const WindowPoint& at);

} // namespace orolith::render

#endif

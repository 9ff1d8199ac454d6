// The shape of the ground around one point, as the surface's colours take
// it: the direction of the gradient snapped to 45 degrees, whether the
// ground is steep along it, the aspect in compass degrees, and the peaks of
// a sparse sample. Each is a function of a Window3x3 (model/window3x3.h),
// so that a test can check it on a handful of heights; the viewer applies
// them under its triangles (render/slopeaspect.h).
//
// The float expressions keep the order and the degree factors the surface
// colours were defined with: the snap to 45 degrees and the aspect wheel
// change on their last bits.
#ifndef OROLITH_MODEL_TERRAIN_H
#define OROLITH_MODEL_TERRAIN_H

#include <cmath>
#include <optional>

#include "model/cellmath.h"
#include "model/constants.h"
#include "model/gridview.h"
#include "model/window3x3.h"

namespace orolith::model {

// Distances between neighbouring points (the grid's ground spacing) as the
// slope stencils take them: `x` along a row, `y` along a column. The
// ratios are exactly 1 for square cells, so that those keep their bits.
struct StencilSpacing {
    double x = 1, y = 1;
    float rowPerCol() const { return static_cast<float>(x / y); }
    float colPerRow() const { return static_cast<float>(y / x); }
    // The divisor of a diagonal neighbour's rise: the cell size for square
    // cells (not the diagonal's length).
    double diagonal() const { return x == y ? x : std::sqrt(x * y); }
};

// Snaps an angle to a multiple of 45 degrees. The bounds are lopsided:
// 22 gives 0 but -22 gives -45, 67 gives 45 but -67 gives -90. Beyond
// +-112 the angle is rounded half up to a whole degree.
inline int snapTo45Degrees(float a)
{
    if (a > -22 && a <= 22)
        return 0;
    if (a > 22 && a <= 67)
        return 45;
    if (a > 67 && a <= 112)
        return 90;
    if (a > -67 && a <= -22)
        return -45;
    if (a > -112 && a <= -67)
        return -90;
    return truncToInt(a + 0.5);
}

// The slope stencils read two points out along the row and column
// (Neighbourhood::eightAndTwoOut); the surface's colours give them values
// only at points at least three rows and columns from the northern and
// western edges and two from the southern and eastern ones.
inline bool inSlopeBand(int rows, int cols, int i, int j) { return i >= 3 && j >= 3 && i < rows - 2 && j < cols - 2; }

// Every point the slope stencils read around (i, j) is present, or the
// grid has no absent points at all.
inline bool slopePointsPresent(const GridView& g, int i, int j)
{
    return !g.present || neighbourhoodPresent(g, i, j, Neighbourhood::eightAndTwoOut);
}

// Direction of the gradient, in degrees from the row direction snapped to
// 45 (-90, -45, 0, 45 or 90): row and column differences of a 5-point
// derivative, the rise along a column scaled to ground distance. Ground
// that does not change along the row reads 90. Reads two points out.
inline int gradientDirection(const Window3x3& w, const StencilSpacing& spacing)
{
    auto z = [&](int dr, int dc) { return w.at(dr, dc); };
    // Each partial sum is a float, in this order: the last bits decide
    // ties at the 45-degree bounds.
    float dRow = z(2, 0);
    dRow -= z(-2, 0);
    dRow += z(1, -1);
    dRow -= z(-1, -1);
    dRow += z(1, 1);
    dRow -= z(-1, 1);
    dRow -= 4 * z(-1, 0);
    dRow += 4 * z(1, 0);
    dRow /= 2;
    float dCol = z(1, 1);
    dCol -= z(1, -1);
    dCol += z(-1, 1);
    dCol -= z(-1, -1);
    dCol -= z(0, -2);
    dCol += z(0, 2);
    dCol += 4 * z(0, 1);
    dCol -= 4 * z(0, -1);
    dCol /= 2;
    if (dCol == 0)
        return 90;
    // Rises per unit of ground distance: a row and a column may differ.
    dRow *= spacing.rowPerCol();
    float angle = static_cast<float>(std::atan(static_cast<double>(dRow / dCol)) * DEGREES_PER_RADIAN_180_OVER_3_14159);
    return snapTo45Degrees(angle);
}

// The ground rises or falls by at least `slope` degrees from the point to
// one of its two neighbours along gradientDirection. The run to a diagonal
// neighbour is spacing.diagonal(). Reads two points out.
inline bool steepAlongGradient(const Window3x3& w, const StencilSpacing& spacing, float slope)
{
    // The two neighbours along the gradient, and the run to them.
    int dr1, dc1, dr2, dc2;
    double run;
    switch (gradientDirection(w, spacing)) {
    case 0:
        dr1 = 0;
        dc1 = 1;
        dr2 = 0;
        dc2 = -1;
        run = spacing.x;
        break;
    case 45:
        dr1 = -1;
        dc1 = -1;
        dr2 = 1;
        dc2 = 1;
        run = spacing.diagonal();
        break;
    case 90:
    case -90:
        dr1 = -1;
        dc1 = 0;
        dr2 = 1;
        dc2 = 0;
        run = spacing.y;
        break;
    case -45:
        dr1 = -1;
        dc1 = 1;
        dr2 = 1;
        dc2 = -1;
        run = spacing.diagonal();
        break;
    default: return false;
    }
    auto angleTo = [&](int dr, int dc) {
        double rise = std::fabs(w.centre() - w.at(dr, dc));
        return std::atan(rise / run) * DEGREES_PER_RADIAN_57_29582791;
    };
    return angleTo(dr1, dc1) >= slope || angleTo(dr2, dc2) >= slope;
}

// Compass degrees of the downhill direction (0 north, 90 east), from the
// Sobel-like differences west minus east and north minus south; none on
// flat ground. Reads the 3 x 3 window only.
inline std::optional<float> aspectDegrees(const Window3x3& w, const StencilSpacing& spacing)
{
    float p = ((w.nw() + 2 * w.w() + w.sw()) - (w.ne() + 2 * w.e() + w.se())) / 8;
    float q = ((w.nw() + 2 * w.n() + w.ne()) - (w.sw() + 2 * w.s() + w.se())) / 8;
    if (p == 0 && q == 0)
        return std::nullopt;
    if (q == 0)
        return p > 0 ? 90.0f : 270.0f;
    if (p == 0)
        return q > 0 ? 180.0f : 0.0f;
    // Rises per unit of ground distance: a column and a row may differ.
    p *= spacing.colPerRow();
    float a = static_cast<float>(std::atan(static_cast<double>(p / q)) * DEGREES_PER_RADIAN_57_29582791);
    if (a < 0)
        return p > 0 ? -a : 180 - a;
    return p > 0 ? 180 - a : 360 - a;
}

// Higher than all eight neighbours: a peak of the sparse sample.
inline bool isPeak(const Window3x3& w)
{
    const float h = w.centre();
    return h > w.nw() && h > w.n() && h > w.ne() && h > w.w() && h > w.e() && h > w.sw() && h > w.s() && h > w.se();
}

} // namespace orolith::model

#endif

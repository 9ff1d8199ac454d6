// The arithmetic of one cell, kept apart from the loops that walk the grid
// so that each rule can be checked with a handful of numbers. The float
// expressions are written in the order the results depend on: changing the
// order or the precision changes the last bits of the statistics.
#ifndef OROLITH_MODEL_CELLMATH_H
#define OROLITH_MODEL_CELLMATH_H

#include <climits>
#include <cmath>

#include "model/colors.h"
#include "model/window3x3.h"

namespace orolith::model {

// Conversion toward zero to int, saturated at the int range so that a
// freak height can never make the conversion undefined.
inline int truncToInt(double v)
{
    if (!(v == v))
        return 0;
    if (v >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (v <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(v);
}

// Discrete Laplacian at a point: the four neighbours (up, left, right,
// down) summed as floats, then four times the centre subtracted.
inline float laplacian(float up, float left, float right, float down, float centre)
{
    float sum = up + left + right + down;
    return static_cast<float>(sum - 4.0 * centre);
}
inline float laplacian(const Window3x3& w) { return laplacian(w.n(), w.w(), w.e(), w.s(), w.centre()); }

// Curvature class of a magnitude m in unit u: 0 (> 3u), 1 (> 2u), 2 (> u)
// or 3 (the rest). Bounds are strict.
inline int curveClass(float m, float u)
{
    if (m > 3 * u)
        return 0;
    if (m > 2 * u)
        return 1;
    if (m > u)
        return 2;
    return 3;
}

// Difference class of d >= 0 in unit u: 0 (> 4u) to 4 (<= u).
inline int diffClass(float d, float u)
{
    if (d > 4 * u)
        return 0;
    if (d > 3 * u)
        return 1;
    if (d > 2 * u)
        return 2;
    if (d > u)
        return 3;
    return 4;
}

constexpr int CURVE_CLASS_COLORS[4] = {HIGH, MEDIUM, LOW, TERRAIN};
constexpr int DIFF_CLASS_COLORS[5] = {VERYHIGH, HIGH, MEDIUM, LOW, TERRAIN};

// Unit normal of a triangle: the cross product of its first two edges, the
// length taken in double precision.
struct Normal {
    float x, y, z;
};
inline Normal triangleNormal(float x0, float y0, float z0, float x1, float y1, float z1, float x2, float y2, float z2)
{
    float ux = x1 - x0, uy = y1 - y0, uz = z1 - z0;
    float wx = x2 - x0, wy = y2 - y0, wz = z2 - z0;
    float nx = uy * wz - uz * wy;
    float ny = uz * wx - ux * wz;
    float nz = ux * wy - uy * wx;
    float len = static_cast<float>(
        std::sqrt(static_cast<double>(nx) * nx + static_cast<double>(ny) * ny + static_cast<double>(nz) * nz));
    return {nx / len, ny / len, nz / len};
}

// Height class of a height for contour interval n > 0: the rounded height
// (half up) modulo n, or -1 when the height rounds below 0 and so falls in
// no class.
inline int heightClassOf(float height, int n)
{
    int h = truncToInt(static_cast<double>(height) + 0.5);
    return h < 0 ? -1 : h % n;
}

} // namespace orolith::model

#endif

// Steepness and aspect of one DEM cell from its neighbourhood, and the
// colour wheel of the aspect. The stencils take the heights through an
// accessor E(row, col) so they can be checked on grids written in a test;
// the functions of a data set below apply them to its DEM. Rows grow
// towards the south, columns towards the east.
#ifndef OROLITH_RENDER_SLOPEASPECT_H
#define OROLITH_RENDER_SLOPEASPECT_H

#include <cmath>

#include "render/colorrgb.h"
#include "render/viewstate.h"

// Snaps an angle to a multiple of 45 degrees. The bounds are lopsided:
// 22 gives 0 but -22 gives -45, 67 gives 45 but -67 gives -90.
int roundDeg(float angle);

// Colour wheel: white north, red east, black south, blue west; grey for
// NOSLOPE and anything outside 0..360.
ColorRGB slopeColor(float deg);

// 180 / 3.14159: the gradient direction converts with this factor, the
// aspect and the steepness angles with DIVPI.
constexpr double GRADIENT_DEG = 57.295827908797776;

// Distances between neighbouring points (the grid's ground spacing) as
// the stencils below take them: `x` along a row, `y` along a column. The
// ratios are exactly 1 for square cells, so that those keep their bits.
struct StencilSpacing {
    double x = 1, y = 1;
    float rowPerCol() const { return static_cast<float>(x / y); }
    float colPerRow() const { return static_cast<float>(y / x); }
    // The divisor of a diagonal neighbour's rise: the cell size for square
    // cells (not the diagonal's length).
    double diagonal() const { return x == y ? x : std::sqrt(x * y); }
};

// Every point of the 5 x 5 neighbourhood the stencils below may read is
// present: Present(r, c) says whether one is. Absent points have no height
// to take a slope from.
template <class Present>
bool neighbourhoodPresent(Present P, int i, int j)
{
    for (int r = i - 2; r <= i + 2; ++r)
        for (int c = j - 2; c <= j + 2; ++c) {
            const bool read = (r == i || c == j) || (r - i >= -1 && r - i <= 1 && c - j >= -1 && c - j <= 1);
            if (read && !P(r, c))
                return false;
        }
    return true;
}

template <class Elev>
int gradientDirection(Elev E, int rows, int cols, int i, int j, const StencilSpacing& spacing = {})
{
    if (i < 3 || j < 3 || i >= rows - 2 || j >= cols - 2)
        return -1;
    // Each partial sum is a float, in this order: the last bits decide
    // ties at the 45-degree bounds.
    float dRow = E(i + 2, j);
    dRow -= E(i - 2, j);
    dRow += E(i + 1, j - 1);
    dRow -= E(i - 1, j - 1);
    dRow += E(i + 1, j + 1);
    dRow -= E(i - 1, j + 1);
    dRow -= 4 * E(i - 1, j);
    dRow += 4 * E(i + 1, j);
    dRow /= 2;
    float dCol = E(i + 1, j + 1);
    dCol -= E(i + 1, j - 1);
    dCol += E(i - 1, j + 1);
    dCol -= E(i - 1, j - 1);
    dCol -= E(i, j - 2);
    dCol += E(i, j + 2);
    dCol += 4 * E(i, j + 1);
    dCol -= 4 * E(i, j - 1);
    dCol /= 2;
    if (dCol == 0)
        return 90;
    // Rises per unit of ground distance: a row and a column may differ.
    dRow *= spacing.rowPerCol();
    float angle = static_cast<float>(std::atan(static_cast<double>(dRow / dCol)) * GRADIENT_DEG);
    return roundDeg(angle);
}

// Steep: the height changes by at least `slope` degrees towards one of the
// two neighbours along the gradient. The divisor is the distance to the
// neighbour along a row or column, and the cell size also for the diagonal
// neighbours.
template <class Elev>
bool steepCell(Elev E, int rows, int cols, const StencilSpacing& spacing, float slope, int i, int j)
{
    if (i < 2 || j < 2 || i > rows - 3 || j > cols - 3)
        return false;
    int n1r, n1c, n2r, n2c;
    double run;
    switch (gradientDirection(E, rows, cols, i, j, spacing)) {
    case 0: n1r = i; n1c = j + 1; n2r = i; n2c = j - 1; run = spacing.x; break;
    case 45: n1r = i - 1; n1c = j - 1; n2r = i + 1; n2c = j + 1; run = spacing.diagonal(); break;
    case 90:
    case -90: n1r = i - 1; n1c = j; n2r = i + 1; n2c = j; run = spacing.y; break;
    case -45: n1r = i - 1; n1c = j + 1; n2r = i + 1; n2c = j - 1; run = spacing.diagonal(); break;
    default: return false;
    }
    auto angleTo = [&](int r, int c) {
        double rise = std::fabs(E(i, j) - E(r, c));
        return std::atan(rise / run) * DIVPI;
    };
    return angleTo(n1r, n1c) >= slope || angleTo(n2r, n2c) >= slope;
}

// Aspect from the Sobel-like differences west minus east (p) and north
// minus south (q).
template <class Elev>
float aspectDeg(Elev E, int rows, int cols, int i, int j, const StencilSpacing& spacing = {})
{
    if (i < 3 || j < 3 || i >= rows - 2 || j >= cols - 2)
        return static_cast<float>(NOSLOPE);
    float p = ((E(i - 1, j - 1) + 2 * E(i, j - 1) + E(i + 1, j - 1)) -
               (E(i - 1, j + 1) + 2 * E(i, j + 1) + E(i + 1, j + 1))) / 8;
    float q = ((E(i - 1, j - 1) + 2 * E(i - 1, j) + E(i - 1, j + 1)) -
               (E(i + 1, j - 1) + 2 * E(i + 1, j) + E(i + 1, j + 1))) / 8;
    if (p == 0 && q == 0)
        return static_cast<float>(NOSLOPE);
    if (q == 0)
        return p > 0 ? 90.0f : 270.0f;
    if (p == 0)
        return q > 0 ? 180.0f : 0.0f;
    // Rises per unit of ground distance: a column and a row may differ.
    p *= spacing.colPerRow();
    float a = static_cast<float>(std::atan(static_cast<double>(p / q)) * DIVPI);
    if (a < 0)
        return p > 0 ? -a : 180 - a;
    return p > 0 ? 180 - a : 360 - a;
}

class DataSet;

// The stencils' spacing of a data set's DEM, and whether its slope and
// aspect are defined at (i, j): no point they read is absent.
StencilSpacing stencilSpacing(const DataSet& d);
bool slopeDefinedAt(const DataSet& d, int i, int j);

// Gradient direction of the DEM at (i, j): -90, -45, 0, 45, 90, or -1
// within the border band the stencil cannot reach and beside absent points.
int gradientDirectionAt(const DataSet& d, int i, int j);
// Aspect of the DEM at (i, j), compass degrees of the downhill direction
// (0 north, 90 east), or NOSLOPE for flat cells, the border band and
// points next to absent ones.
float aspectAt(const DataSet& d, int i, int j);
// Steep ground at (i, j) by the vegetation slope (degrees).
bool steepAt(const DataSet& d, float slope, int i, int j);

#endif

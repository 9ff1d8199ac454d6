// Steepness and aspect of one DEM cell from its neighbourhood, and the
// colour wheel of the aspect. The arithmetic is the model's
// (model/terrain.h); the templates take the heights through an accessor
// E(row, col) so they can be checked on grids written in a test, and the
// functions of a data set below apply them to its DEM. Rows grow towards
// the south, columns towards the east.
#ifndef OROLITH_RENDER_SLOPEASPECT_H
#define OROLITH_RENDER_SLOPEASPECT_H

#include "model/terrain.h"
#include "model/window3x3.h"
#include "render/colorrgb.h"
#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// Snaps an angle to a multiple of 45 degrees (snapTo45Degrees,
// model/terrain.h).
int roundDeg(float angle);

// Colour wheel: white north, red east, black south, blue west; grey for
// NOSLOPE and anything outside 0..360.
ColorRGB slopeColor(float deg);

// The heights a slope stencil reads around (i, j), taken through an
// accessor, as a window the model's stencils read: the 3 x 3 window, and
// for Neighbourhood::eightAndTwoOut the points two out along the row and
// column. Five rows of five, (i, j) in the middle; points no stencil reads
// stay unset. Written out point by point, the heights stay in registers.
class GatheredWindow {
public:
    template <class Elev>
    GatheredWindow(Elev E, int i, int j, Neighbourhood shape) : i_(i), j_(j)
    {
        z_[6] = E(i - 1, j - 1);
        z_[7] = E(i - 1, j);
        z_[8] = E(i - 1, j + 1);
        z_[11] = E(i, j - 1);
        z_[12] = E(i, j);
        z_[13] = E(i, j + 1);
        z_[16] = E(i + 1, j - 1);
        z_[17] = E(i + 1, j);
        z_[18] = E(i + 1, j + 1);
        if (shape == Neighbourhood::eightAndTwoOut) {
            z_[2] = E(i - 2, j);
            z_[10] = E(i, j - 2);
            z_[14] = E(i, j + 2);
            z_[22] = E(i + 2, j);
        }
    }
    Window3x3 window() const { return {z_ + 12, 5, i_, j_}; }

private:
    float z_[25];
    int i_, j_;
};

// The stencils of model/terrain.h on heights E(row, col) of a rows x cols
// grid, with the values of the border band the stencils cannot reach:
// -1, no steepness, NOSLOPE.
template <class Elev>
int gradientDirection(Elev E, int rows, int cols, int i, int j, const StencilSpacing& spacing = {})
{
    if (!inSlopeBand(rows, cols, i, j))
        return -1;
    return gradientDirection(GatheredWindow(E, i, j, Neighbourhood::eightAndTwoOut).window(), spacing);
}

// Steep: the height changes by at least `slope` degrees towards one of the
// two neighbours along the gradient. The divisor is the distance to the
// neighbour along a row or column, and the cell size also for the diagonal
// neighbours.
template <class Elev>
bool steepCell(Elev E, int rows, int cols, const StencilSpacing& spacing, float slope, int i, int j)
{
    if (!inSlopeBand(rows, cols, i, j))
        return false;
    return steepAlongGradient(GatheredWindow(E, i, j, Neighbourhood::eightAndTwoOut).window(), spacing, slope);
}

// Aspect from the Sobel-like differences west minus east (p) and north
// minus south (q).
template <class Elev>
float aspectDeg(Elev E, int rows, int cols, int i, int j, const StencilSpacing& spacing = {})
{
    if (!inSlopeBand(rows, cols, i, j))
        return static_cast<float>(NOSLOPE);
    const GatheredWindow heights(E, i, j, Neighbourhood::eight);
    return aspectDegrees(heights.window(), spacing).value_or(static_cast<float>(NOSLOPE));
}

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

} // namespace orolith::render

#endif

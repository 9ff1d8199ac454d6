// Slope and aspect of a data set's DEM, used by the surface's base colour
// and its aspect scheme.
#include "render/slopeaspect.h"

#include "model/dataset.h"
#include "render/names.h"

namespace orolith::render {

int roundDeg(float a) { return snapTo45Degrees(a); }

StencilSpacing stencilSpacing(const DataSet& d) { return {d.spacing().x, d.spacing().y}; }

bool slopeDefinedAt(const DataSet& d, int i, int j) { return slopePointsPresent(d.demView(), i, j); }

int gradientDirectionAt(const DataSet& d, int i, int j)
{
    const GridView g = d.demView();
    if (!inSlopeBand(g.rows, g.cols, i, j) || !slopePointsPresent(g, i, j))
        return -1;
    return gradientDirection(windowAt(g, i, j), stencilSpacing(d));
}

float aspectAt(const DataSet& d, int i, int j)
{
    const GridView g = d.demView();
    if (!inSlopeBand(g.rows, g.cols, i, j) || !slopePointsPresent(g, i, j))
        return static_cast<float>(NOSLOPE);
    return aspectDegrees(windowAt(g, i, j), stencilSpacing(d)).value_or(static_cast<float>(NOSLOPE));
}

bool steepAt(const DataSet& d, float slope, int i, int j)
{
    const GridView g = d.demView();
    return inSlopeBand(g.rows, g.cols, i, j) && slopePointsPresent(g, i, j) &&
           steepAlongGradient(windowAt(g, i, j), stencilSpacing(d), slope);
}

ColorRGB slopeColor(float deg)
{
    if (deg >= 0 && deg <= 90) {
        float f = deg / 90;
        return {1, 1 - f, 1 - f};
    }
    if (deg > 90 && deg <= 180) {
        float f = (deg - 90) / 90;
        return {1 - f, 0, 0};
    }
    if (deg > 180 && deg <= 270) {
        float f = (270 - deg) / 90;
        return {0, 0, 1 - f};
    }
    if (deg > 270 && deg < 360) {
        float f = (360 - deg) / 90;
        return {1 - f, 1 - f, 1};
    }
    return {0.5f, 0.5f, 0.5f};
}

} // namespace orolith::render

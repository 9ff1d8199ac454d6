// Slope and aspect of a data set's DEM, used by the surface's base colour
// and its aspect scheme.
#include "render/slopeaspect.h"

#include "model/cellmath.h"
#include "model/dataset.h"

namespace {

bool presentIn(const GridView& g, int r, int c)
{
    return r >= 0 && c >= 0 && r < g.rows && c < g.cols && g.isPresent(r, c);
}

} // namespace

int roundDeg(float a)
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

StencilSpacing stencilSpacing(const DataSet& d)
{
    return {d.spacing().x, d.spacing().y};
}

bool slopeDefinedAt(const DataSet& d, int i, int j)
{
    const GridView g = d.demView();
    return !g.present || neighbourhoodPresent([&](int r, int c) { return presentIn(g, r, c); }, i, j);
}

int gradientDirectionAt(const DataSet& d, int i, int j)
{
    if (!slopeDefinedAt(d, i, j))
        return -1;
    const GridView g = d.demView();
    return gradientDirection([&](int r, int c) { return g.at(r, c); }, g.rows, g.cols, i, j, stencilSpacing(d));
}

float aspectAt(const DataSet& d, int i, int j)
{
    if (!slopeDefinedAt(d, i, j))
        return static_cast<float>(NOSLOPE);
    const GridView g = d.demView();
    return aspectDeg([&](int r, int c) { return g.at(r, c); }, g.rows, g.cols, i, j, stencilSpacing(d));
}

bool steepAt(const DataSet& d, float slope, int i, int j)
{
    if (!slopeDefinedAt(d, i, j))
        return false;
    const GridView g = d.demView();
    return steepCell([&](int r, int c) { return g.at(r, c); }, g.rows, g.cols, stencilSpacing(d), slope, i, j);
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

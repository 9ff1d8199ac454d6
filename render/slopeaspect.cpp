// Slope and aspect of the DEM `mt`, used by drawgrid's base colour and its
// slope-colour scheme.
#include "render/slopeaspect.h"

#include "model/cellmath.h"
#include "model/mountain.h"

namespace {
float elevOf(int r, int c) { return mt.getElev(r, c); }

bool presentIn(const mountain& m, int r, int c)
{
    return r >= 0 && c >= 0 && r < m.getRows() && c < m.getCols() && m.isPresent(r, c);
}
} // namespace

StencilSpacing stencilSpacing(const mountain& m)
{
    return {m.spacing().x, m.spacing().y};
}

bool slopeDefinedAt(const mountain& m, int i, int j)
{
    return !m.hasAbsentCells() || neighbourhoodPresent([&](int r, int c) { return presentIn(m, r, c); }, i, j);
}

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

int find_gradient(int i, int j)
{
    if (!slopeDefinedAt(mt, i, j))
        return -1;
    return gradientDirection(elevOf, mt.getRows(), mt.getCols(), i, j, stencilSpacing(mt));
}

float colorSlopeDeg(int i, int j)
{
    if (!slopeDefinedAt(mt, i, j))
        return static_cast<float>(NOSLOPE);
    return aspectDeg(elevOf, mt.getRows(), mt.getCols(), i, j, stencilSpacing(mt));
}

bool mountain::findSlope(int i, int j)
{
    if (!slopeDefinedAt(*this, i, j))
        return false;
    auto E = [this](int r, int c) { return getElev(r, c); };
    return steepCell(E, rows, cols, stencilSpacing(*this), SLOPE, i, j);
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

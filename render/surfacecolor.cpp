// The colour rules of the surface that are more than a lookup.
#include "render/surfacecolor.h"

#include "model/dataset.h"
#include "render/names.h"

namespace orolith::render {

ColorRGB rampColor(int zmax, int zmin, int elev)
{
    // A third of the relief per leg of the ramp, in whole height units. A
    // relief under 3 units has no whole third; its real third keeps the
    // same legs, and a flat grid takes the ramp's lowest colour. The
    // differences are taken in 64 bits: heights at the int limits (a freak
    // value saturates there) would overflow an int.
    const long long relief = static_cast<long long>(zmax) - zmin;
    double third = static_cast<double>(relief / 3); // NOLINT(bugprone-integer-division): whole thirds
    if (third <= 0)
        third = static_cast<double>(relief) / 3.0;
    const double d = static_cast<double>(static_cast<long long>(elev) - zmin);
    float r, g;
    if (third <= 0) {
        r = 0;
        g = 0.3f;
    } else if (d < third) {
        r = 0;
        g = static_cast<float>(d * (70 / third / 100) + 0.3);
    } else if (d < 2 * third) {
        r = static_cast<float>((d - third) * (100 / third / 100));
        g = 1;
    } else {
        r = 1;
        g = static_cast<float>(1 - (d - 2 * third) * (100 / third / 100));
    }
    return clamped({static_cast<float>(r - 0.2), static_cast<float>(g - 0.2), 0.0f});
}

std::optional<ColorRGB> heightClassColor(float elev, const HeightClassTable& t)
{
    if (!t.classes || t.interval <= 0)
        return std::nullopt;
    // Heights that round below 0 are in no class of the histogram.
    int k = heightClassOf(elev, t.interval);
    if (k < 0 || k >= t.interval)
        return std::nullopt;
    int span = t.maxCount - t.minCount;
    // All classes equally full: nothing stands out, every cell takes the
    // colour of the emptiest class.
    double share = span > 0 ? static_cast<double>(t.classes[k] - t.minCount) / span : 0.0;
    return clamped({static_cast<float>(0.2 + 0.8 * share), 0.6f, 0.3f});
}

DiffMark diffMark(float dem, float comp, float zscale)
{
    DiffMark mark;
    float d = dem - comp;
    if (d > 0) {
        mark.color = ColorRGB{0.3f, 0.3f, 0.9f};
    } else if (d < 0) {
        mark.color = ColorRGB{0.9f, 0.3f, 0.3f};
        d = -d;
    }
    mark.length = zscale * d + 0.05f;
    return mark;
}

ColorRGB unstableShade(const ColorRGB& c) { return {c.r * UNSTABLE_SHADE, c.g * UNSTABLE_SHADE, c.b * UNSTABLE_SHADE}; }

bool removedFromStableTerrain(const DataSet& d, int row, int col)
{
    if (!d.hasComparison() || !d.hasStableTerrain())
        return false;
    const GridView dem = d.demView(), comp = d.comparisonView();
    const std::size_t i = dem.index(row, col);
    return dem.isPresent(i) && comp.isPresent(i) && !d.stableTerrain().stable[i];
}

} // namespace orolith::render

#include "model/gridview.h"

namespace orolith::model {

bool comparisonKindNamed(const std::string& name, ComparisonKind& kind)
{
    if (name == "dem")
        kind = ComparisonKind::dem;
    else if (name == "sparse")
        kind = ComparisonKind::sparse;
    else if (name == "contour")
        kind = ComparisonKind::contour;
    else
        return false;
    return true;
}

std::vector<std::uint8_t> comparisonPresence(const GridData& g, ComparisonKind kind)
{
    if (kind == ComparisonKind::dem)
        return g.present;
    // Sparse and contour files hold 0 wherever they have no height.
    std::vector<std::uint8_t> out(g.heights.size());
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = g.isPresent(i) && g.heights[i] > 0;
    return out;
}

bool mostlyZero(const GridData& g)
{
    std::size_t zeros = 0;
    for (float v : g.heights)
        zeros += v == 0;
    return !g.heights.empty() && 2 * zeros >= g.heights.size();
}

} // namespace orolith::model

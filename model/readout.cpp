#include "model/readout.h"

#include <algorithm>
#include <cmath>

#include "model/cellmath.h"
#include "model/constants.h"
#include "model/metrics.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

bool interior(int r, int c, int rows, int cols) { return r > 0 && c > 0 && r < rows - 1 && c < cols - 1; }

// The four neighbours and the point itself: the curvature's stencil.
bool crossPresent(const GridView& g, int r, int c)
{
    return g.isPresent(r, c) && g.isPresent(r - 1, c) && g.isPresent(r + 1, c) && g.isPresent(r, c - 1) &&
           g.isPresent(r, c + 1);
}

std::optional<ClassAt> classOf(std::optional<double> value, const CellClasses& classes, int count)
{
    if (!value || std::isnan(classes.unit))
        return std::nullopt;
    const float v = static_cast<float>(*value), u = classes.unit;
    const int index = count == 4 ? curveClass(v, u) : diffClass(v, u);
    return ClassAt{index, count, u};
}

} // namespace

MapPoint mapPointOf(const GridHeader& dem, double row, double col)
{
    const double top = dem.yllcorner + dem.rows * dem.cellsizeY;
    return {dem.xllcorner + (col + 0.5) * dem.cellsizeX, top - (row + 0.5) * dem.cellsizeY};
}

CellReadout readoutAt(const DataSet& d, double row, double col)
{
    CellReadout out;
    const int rows = d.rows(), cols = d.cols();
    if (rows < 1 || cols < 1)
        return out;
    row = std::clamp(row, 0.0, rows - 1.0);
    col = std::clamp(col, 0.0, cols - 1.0);
    const MapPoint at = mapPointOf(d.header(), row, col);
    out.x = at.x;
    out.y = at.y;
    // Grid points stand at cell centres: the cell that holds the place is
    // the nearest point's.
    const int r = static_cast<int>(std::lround(row)), c = static_cast<int>(std::lround(col));
    out.row = r;
    out.col = c;

    const GridView dem = d.demView();
    const bool demHere = dem.isPresent(r, c);
    if (demHere)
        out.dem = dem.at(r, c);
    if (d.hasComparison()) {
        const GridView comp = d.comparisonView();
        if (comp.isPresent(r, c))
            out.comparison = comp.at(r, c);
        if (out.dem && out.comparison)
            out.difference = *out.dem - *out.comparison;
    }

    if (interior(r, c, rows, cols)) {
        if (windowPresent(dem, r, c)) {
            const Gradient g = hornGradient(dem, r, c, d.spacing());
            const double steepness = std::hypot(g.east, g.north);
            out.slope = slopeDegrees(steepness);
            if (steepness > 0) {
                // Downhill: against the gradient, clockwise from north.
                const double a = std::atan2(-g.east, -g.north) * DEGREES_PER_RADIAN;
                out.aspect = a < 0 ? a + 360 : a;
            }
        }
        const std::size_t interiorAt = static_cast<std::size_t>(r - 1) * (cols - 2) + (c - 1);
        if (crossPresent(dem, r, c) && interiorAt < d.curvature().magnitude.size())
            out.curvature = d.curvature().magnitude[interiorAt];
        if (d.hasComparison() && crossPresent(dem, r, c) && crossPresent(d.comparisonView(), r, c) &&
            interiorAt < d.curvatureDifference().size())
            out.curvatureDifferenceClass =
                classOf(d.curvatureDifference()[interiorAt], d.curvatureDifferenceClasses(), 5);
    }
    out.curvatureClass = classOf(out.curvature, d.curvatureClasses(), 4);
    if (out.difference)
        out.differenceClass = classOf(std::fabs(*out.difference), d.elevationClasses(), 5);
    return out;
}

} // namespace orolith::model

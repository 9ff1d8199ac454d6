#include "model/placement.h"

#include <cmath>
#include <cstdio>

namespace orolith::model {

namespace {

bool within(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// Twelve significant digits: enough to tell two corners apart, short
// enough to read.
std::string number(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.12g", v);
    return buf;
}

} // namespace

bool sameCoordinateSystem(const GridHeader& a, const GridHeader& b, const RasterReader* reader)
{
    if (a.projection.empty() || b.projection.empty())
        return true;
    if (reader && reader->sameCrs)
        return reader->sameCrs(a.projection, b.projection);
    return a.projection == b.projection;
}

Placement placementOf(const GridHeader& dem, const GridHeader& comp, const RasterReader* reader)
{
    if (comp.rows != dem.rows || comp.cols != dem.cols)
        return Placement::differs;
    const bool sizes = within(comp.cellsizeX, dem.cellsizeX, 1e-6 * dem.cellsizeX) &&
                       within(comp.cellsizeY, dem.cellsizeY, 1e-6 * dem.cellsizeY);
    const bool corners = within(comp.xllcorner, dem.xllcorner, dem.cellsizeX / 2) &&
                         within(comp.yllcorner, dem.yllcorner, dem.cellsizeY / 2);
    if (sizes && corners && sameCoordinateSystem(dem, comp, reader))
        return Placement::same;
    if (comp.xllcorner == 0 && comp.yllcorner == 0)
        return Placement::unplaced;
    return Placement::differs;
}

std::string placementText(const GridHeader& h)
{
    std::string cells = number(h.cellsizeX);
    if (h.cellsizeY != h.cellsizeX)
        cells += " x " + number(h.cellsizeY);
    char corner[96];
    std::snprintf(corner, sizeof corner, "(%.2f, %.2f)", h.xllcorner, h.yllcorner);
    std::string crs = h.crs.known ? (h.crs.name.empty() ? "a coordinate system" : h.crs.name) : "no coordinate system";
    return std::to_string(h.rows) + " x " + std::to_string(h.cols) + " cells of " + cells + " at corner " + corner +
           ", " + crs;
}

std::string placementMessage(const GridHeader& dem, const GridHeader& comp, const std::string& how)
{
    const bool sizes = dem.rows == comp.rows && dem.cols == comp.cols;
    return std::string(sizes ? "The grids do not lie on the same grid" : "Grid sizes do not match") + ": the DEM \"" +
           dem.path + "\" has " + placementText(dem) + "; the comparison grid \"" + comp.path + "\" has " +
           placementText(comp) + ". To resample the comparison grid onto the DEM's grid, " + how + ".";
}

} // namespace orolith::model

#include "model/sparsesample.h"

#include <algorithm>

#include "model/errors.h"
#include "model/terrain.h"
#include "model/window3x3.h"

namespace orolith::model {

std::vector<SpotHeight> localMaximums(const GridView& dem)
{
    std::vector<SpotHeight> out;
    // An absent neighbour, stored as 0, makes no peak: only whole windows.
    // The walk stops at the LOCALNUM-th peak, row by row.
    forEachWindow3x3(dem, {Neighbourhood::eight, AbsentPoints::skipWindow, 1}, [&](const Window3x3& w) {
        if (isPeak(w))
            out.push_back({w.row(), w.col(), w.centre()});
        return out.size() < LOCALNUM;
    });
    return out;
}

std::vector<float> sparseRaster(const GridView& dem, int n, const RandomDraw& draw, Messages& messages,
                                std::string& why)
{
    why.clear();
    const int rows = dem.rows, cols = dem.cols;
    if (!dem.heights || rows < 1 || cols < 1) {
        why = "A sparse sample needs a DEM: open one first";
        return {};
    }
    if (n < LOCALNUM) {
        why = errorText(SPARSE);
        return {};
    }
    // More spot heights than grid points cannot make a sparser file (the
    // smallest count stays possible on a small grid), and an absurd count
    // would only keep the generator busy.
    const long long points = static_cast<long long>(rows) * cols;
    const long long most = std::max<long long>(points, LOCALNUM);
    if (n > most) {
        why = "Number of heights must be <= " + std::to_string(most) + ", the number of grid points";
        return {};
    }
    messages.line("Peak heights will be included automatically.");
    const std::vector<SpotHeight> peaks = localMaximums(dem);
    messages.line("Found " + std::to_string(peaks.size()) + " local maximums.");

    // Random points are drawn row first, then column; every point carries
    // the DEM's own height, so the order in which they are written does not
    // matter.
    std::vector<float> raster(dem.cells(), 0.0f);
    for (int i = static_cast<int>(peaks.size()); i < n; ++i) {
        const int row = draw(rows);
        const int column = draw(cols);
        if (dem.isPresent(row, column)) // an absent point has no height to give
            raster[dem.index(row, column)] = dem.at(row, column);
    }
    for (const SpotHeight& p : peaks)
        raster[dem.index(p.row, p.column)] = p.height;
    return raster;
}

} // namespace orolith::model

// The sparse sample of a DEM: its peaks plus random spot heights, as a
// raster in which every other cell is 0 (the form read back as a sparse
// comparison file). The DEM under study stays as it is.
#ifndef OROLITH_MODEL_SPARSESAMPLE_H
#define OROLITH_MODEL_SPARSESAMPLE_H

#include <functional>
#include <string>
#include <vector>

#include "model/gridview.h"
#include "model/messages.h"

namespace orolith::model {

// Smallest accepted number of spot heights in a sample, and the largest
// number of peaks it takes.
constexpr int LOCALNUM = 100;

struct SpotHeight {
    int row;
    int column;
    float height;
};

// The DEM's peaks (higher than all eight neighbours, whose window is wholly
// present), row by row, at most LOCALNUM.
std::vector<SpotHeight> localMaximums(const GridView& dem);

// A number from 0 to bound - 1: the sample's random source, given by the
// caller (a seeded generator, so that a sample can be drawn again).
using RandomDraw = std::function<int(int bound)>;

// The sample of n spot heights (at least LOCALNUM, at most the grid's
// points): the peaks, then random points drawn row first, then column,
// which may repeat or fall on a peak or an absent point. Empty, with
// `why`, when n is refused or there is no DEM. "Peak heights will be
// included automatically." and the number of peaks go to `messages`.
std::vector<float> sparseRaster(const GridView& dem, int n, const RandomDraw& draw, Messages& messages,
                                std::string& why);

} // namespace orolith::model

#endif

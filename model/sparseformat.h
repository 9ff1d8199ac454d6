// Text of a raster in the grid file's height layout: one line a row, each
// value in the default floating-point format ("%g") and followed by a blank.
#ifndef OROLITH_MODEL_SPARSEFORMAT_H
#define OROLITH_MODEL_SPARSEFORMAT_H

#include <string>
#include <vector>

namespace orolith::model {

std::string formatRaster(const std::vector<float>& raster, int rows, int cols);

// The spot heights a sparse raster holds: its cells above 0, the only ones
// read back as heights. Random points may fall on one cell twice, or on
// ground at or below 0, so this can be fewer than were asked for.
std::size_t spotHeightCount(const std::vector<float>& raster);

} // namespace orolith::model

#endif

// Text of a raster in the grid file's height layout: one line a row, each
// value in the default floating-point format ("%g") and followed by a blank.
#ifndef OROLITH_MODEL_SPARSEFORMAT_H
#define OROLITH_MODEL_SPARSEFORMAT_H

#include <string>
#include <vector>

std::string formatRaster(const std::vector<float>& raster, int rows, int cols);

#endif

// The ESRI ASCII header of a grid. Apart from the reader, so that the GDAL
// module can build the same header without linking the model.
#ifndef OROLITH_MODEL_ASCIIHEADER_H
#define OROLITH_MODEL_ASCIIHEADER_H

#include <string>

namespace orolith::model {

// ncols, nrows, xllcorner, yllcorner, cellsize (dx and dy when the cells
// are not square), then NODATA_value when `withNodata`. Coordinates and
// sizes are written with the digits that read back as the same doubles.
std::string asciiHeader(int rows, int cols, double xll, double yll, double cellsizeX, double cellsizeY, bool withNodata,
                        double nodata);

// The shortest text that reads back as the same double.
std::string exactNumber(double v);

} // namespace orolith::model

#endif

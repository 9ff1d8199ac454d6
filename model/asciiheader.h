// The ESRI ASCII header of a grid. Apart from the reader, so that the GDAL
// module can build the same header without linking the model.
#ifndef OROLITH_MODEL_ASCIIHEADER_H
#define OROLITH_MODEL_ASCIIHEADER_H

#include <string>

// ncols, nrows, xllcorner, yllcorner, cellsize, then NODATA_value when
// `withNodata`.
std::string asciiHeader(int rows, int cols, double xll, double yll, double cellsize, bool withNodata,
                        double nodata);

#endif

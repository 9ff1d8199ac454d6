// For programs that link GDAL themselves (the GDAL tests); the orolith
// executable goes through its module instead.
#include "model/gdal/gdalraster.h"

namespace orolith::model {

GridIo gdalGridIo()
{
    static const RasterReader reader{readGdalHeader, readGdalHeights, describeGdalCrs, sameGdalCrs};
    static const GridWarper warper{warpGdal, transformGdal};
    static const RasterRowReader rows{openGdalRows, readGdalRows, closeGdalRows};
    static const RasterRowWriter tiffRows{createGdalTiff, writeGdalRows, closeGdalTiff};
    return GridIo{&reader, &warper, {}, &rows, &tiffRows};
}

} // namespace orolith::model

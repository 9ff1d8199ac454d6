// For programs that link GDAL themselves (the GDAL tests); the orolith
// executable goes through the module instead.
#include "model/gdal/gdalraster.h"

void registerGdalReader()
{
    static const RasterReader reader{readGdalHeader, readGdalHeights, describeGdalCrs, sameGdalCrs};
    setRasterReader(&reader);
    static const GridWarper warper{warpGdal, transformGdal};
    setGridWarper(&warper);
}

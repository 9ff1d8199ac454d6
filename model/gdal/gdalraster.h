// Rasters through GDAL, the field's own raster library: any single-band
// raster it opens (GeoTIFF first of all) loads as a grid, and results are
// written as GeoTIFF. Built only when GDAL is installed; without it the
// program reads ESRI ASCII grids alone.
#ifndef OROLITH_MODEL_GDAL_GDALRASTER_H
#define OROLITH_MODEL_GDAL_GDALRASTER_H

#include <string>
#include <vector>

#include "model/align.h"
#include "model/gridfile.h"

namespace orolith::model {

// The raster reader (see RasterReader) of every single-band raster GDAL
// opens.
bool readGdalHeader(const std::string& path, GridHeader& out, ModelError& err);
bool readGdalHeights(const GridHeader& header, std::vector<float>& heights, ModelError& err,
                     std::atomic<std::size_t>* bytesRead);

// The raster row reader (see RasterRowReader): the raster stays open
// between strips; a failed read names the file and the rows.
RasterRows* openGdalRows(const GridHeader& header, ModelError& err);
bool readGdalRows(RasterRows* rows, int first, int count, float* heights, ModelError& err);
void closeGdalRows(RasterRows* rows);

// The GeoTIFF row writer (see RasterRowWriter).
RasterOut* createGdalTiff(const std::string& path, const GridHeader& georef, float nodata, ModelError& err);
bool writeGdalRows(RasterOut* out, int first, int count, const float* values, ModelError& err);
bool closeGdalTiff(RasterOut* out, ModelError& err);

// A coordinate system written as text (OGC or ESRI WKT, PROJ, EPSG:n):
// what it says about distances, and its OGC WKT. False when it names none.
bool describeGdalCrs(const std::string& text, CrsInfo& crs, std::string& wkt);

// Whether two WKT texts name the same coordinate system.
bool sameGdalCrs(const std::string& a, const std::string& b);

// The grid warper (see GridWarper in model/align.h).
bool warpGdal(const GridHeader& from, const float* source, const GridHeader& onto, AlignMethod method,
              std::vector<float>& out, ModelError& err);
bool transformGdal(const std::string& fromWkt, const std::string& toWkt, double* x, double* y, std::size_t n,
                   ModelError& err);

// The reader and the warper above, for reading and pairing grids: every
// file that is not text goes to GDAL. In the static library only: the
// executable loads them from its module (app/gdalondemand.h).
GridIo gdalGridIo();

// Writes `values` (row-major, row 0 the northern row) as a float GeoTIFF
// with the georeference of `georef` (corner, cell size, coordinate system)
// and `nodata` as its no-data value.
bool writeGeoTiff(const std::string& path, const GridHeader& georef, const std::vector<float>& values, float nodata,
                  ModelError& err);

} // namespace orolith::model

#endif

// What reading checkpoints, burning a mask onto the DEM's grid and writing
// residuals take and give, free of GDAL's headers: the GDAL module does the
// work, the program and the dialogs only pass these values.
#ifndef OROLITH_MODEL_POINTIO_H
#define OROLITH_MODEL_POINTIO_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/checkpoints.h"
#include "model/gridfile.h"

namespace orolith::model {

// The columns of a table of points; for a point layer, z falls back on
// the geometry's z when the layer has no field of that name.
struct PointColumns {
    std::string x = "x", y = "y", z = "z", pointClass = "class";
};

struct PointSource {
    std::string path;
    PointColumns columns;
    // The points' coordinate system as GDAL reads it ("EPSG:4326"): for a
    // CSV table, which carries none; a layer's own is used otherwise.
    std::string pointsCrs;
    // The DEM's, as OGC WKT; empty: the points are taken as they are.
    std::string demWkt;
};

// A mask file made into one value a DEM cell, non-zero where the ground
// is stable: a raster (non-zero = stable) resampled onto the DEM's grid by
// nearest neighbour, or a polygon layer burnt onto it (inside = unstable,
// or with `keepInside` inside = stable).
struct MaskSource {
    std::string path;
    bool keepInside = false;
};

// One checkpoint as --residuals writes it.
struct ResidualRow {
    double x = 0, y = 0, z = 0;
    double demHeight = 0, d = 0, slope = 0; // NaN where not defined
    std::string pointClass;
};

// The residuals of the checkpoints that were used, in the order given.
std::vector<ResidualRow> residualRows(const std::vector<Checkpoint>& points, const CheckpointAssessment& a);

// A comma list of class names ("forest, shrub"), blanks around each and
// empty names dropped.
std::vector<std::string> classList(const std::string& text);

// The file names the point modes take as points rather than a grid: a
// table (.csv, .tsv, .txt is a grid) or a vector file GDAL reads as points
// (.gpkg, .geojson, .json, .shp, .fgb, .gml, .kml).
bool isPointFileName(const std::string& path);

} // namespace orolith::model

#endif

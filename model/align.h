// Comparison data on another grid, resampled onto the DEM's grid: a LiDAR
// DEM, a national DEM or spot heights rarely share the DEM's cells. A DEM
// is resampled by GDAL's warper (reprojected through PROJ when the
// coordinate systems differ); spot heights and contour cells each move to
// their nearest DEM cell and are never blended. Absent cells take no part,
// and DEM cells the comparison does not reach are absent.
#ifndef OROLITH_MODEL_ALIGN_H
#define OROLITH_MODEL_ALIGN_H

#include <cstdint>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

enum class AlignMethod { nearest, bilinear, cubic };

// "nearest", "bilinear" or "cubic".
bool alignMethodNamed(const std::string& name, AlignMethod& method);
const char* alignMethodName(AlignMethod method);

// What GDAL does for the alignment; the application brings it in GridIo
// (model/gridfile.h), as it does the raster reader; none means no
// alignment.
struct GridWarper {
    // `source` (row-major under `from`'s georeference, NaN where absent)
    // resampled onto `onto`'s grid into `out`, NaN where no value reaches.
    bool (*warp)(const GridHeader& from, const float* source, const GridHeader& onto, AlignMethod method,
                 std::vector<float>& out, ModelError& err);
    // Points from one coordinate system (WKT) to another, in place; x east,
    // y north (longitude, latitude for a geographic system).
    bool (*transform)(const std::string& fromWkt, const std::string& toWkt, double* x, double* y, std::size_t n,
                      ModelError& err);
};

// How a comparison grid came onto the DEM's grid, for reports.
struct Alignment {
    bool aligned = false;
    AlignMethod method = AlignMethod::bilinear;
    std::string sourceCrs;  // the comparison's own coordinate system, by name
    double coverage = 0;    // share of the DEM's present cells that have a comparison height
    std::string heightUnit; // how the heights were converted, when they were ("US survey feet to metres")
    std::string datumNote;  // the two grids name different vertical datums
    // The comparison's own size, placement and cell size before it was
    // resampled (only the header's figures: no header text).
    int sourceRows = 0, sourceCols = 0;
    double sourceXll = 0, sourceYll = 0, sourceCellX = 0, sourceCellY = 0;
};

// "aligned by bilinear resampling from WGS 84, covering 87.5 % of the DEM",
// and the unit and datum notes; "" when not aligned.
std::string alignmentText(const Alignment& a);

// The factor that turns the comparison's heights into the DEM's unit, with
// its note ("US survey feet to metres"), when the files say the two differ
// in feet and metres; 1 otherwise.
double heightUnitFactor(const GridHeader& dem, const GridHeader& comparison, std::string& note);

// The comparison (its heights present where `presence`, the kind applied,
// says) resampled onto the DEM's grid: a GridData under the DEM's header
// with the comparison's path, its absent cells stored as 0 and marked in
// its presence. The sparse and contour kinds always move each height to its
// nearest DEM cell, whatever `method` says. False, with the error, without
// a warper, when the grids do not overlap, or when GDAL fails.
bool alignComparison(const GridHeader& dem, const GridView& demView, const GridData& comparison,
                     const std::vector<std::uint8_t>& presence, ComparisonKind kind, AlignMethod method,
                     const GridIo& io, GridData& out, Alignment& info, ModelError& err);

} // namespace orolith::model

#endif

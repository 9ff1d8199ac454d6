// The per-point values behind the classes, as rasters other tools can
// read: the curvature magnitude, the signed elevation difference and the
// curvature difference, each on the DEM's grid and with its georeference.
#ifndef OROLITH_MODEL_EXPORT_H
#define OROLITH_MODEL_EXPORT_H

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/pairrows.h"

namespace orolith::model {

enum class ExportKind { curvature, elevdiff, curvediff, aligned };

// "curvature", "elevdiff", "curvediff" or "aligned".
bool exportKindNamed(const std::string& name, ExportKind& kind);

// No-data value of exported rasters.
constexpr float EXPORT_NODATA = -9999.0f;

// The values over the DEM's grid, row-major: curvature, the magnitude of
// the Laplacian at each interior point whose four neighbours are present;
// elevdiff, DEM minus comparison where both are present; curvediff, the
// curvature difference at each interior point where both grids have the
// point and its four neighbours; aligned, the comparison's heights as they
// lie on the DEM's grid (resampled when they were). Every other point holds
// EXPORT_NODATA.
// Empty for a difference without a comparison grid of the DEM's size.
std::vector<float> exportValues(ExportKind kind, const GridView& dem, const GridView& comparison);

// The same for the grid rows [firstRow, firstRow + n) of a strip that
// holds them and, but at the grid's edges, the row on either side of them
// (the curvatures' reach); into out, n rows of the grid's columns. A strip
// without a comparison has a view of no heights.
void exportRows(ExportKind kind, const PairStrip& strip, int firstRow, int lastRow, float* out);

// An ESRI ASCII grid written a strip of rows at a time under the
// georeference of `georef`, nine significant digits a value so that every
// float reads back exactly. finish says whether all of it was written.
class AsciiGridWriter {
public:
    AsciiGridWriter(const std::string& path, const GridHeader& georef, float nodata);
    bool write(const float* values, int rows);
    bool finish(ModelError& err);

private:
    std::string path_;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
    int cols_;
    bool ok_ = false;
};

// Writes values as an ESRI ASCII grid under the georeference of `georef`,
// nine significant digits a value so that every float reads back exactly.
bool writeAsciiGrid(const std::string& path, const GridHeader& georef, const std::vector<float>& values, float nodata,
                    ModelError& err);

} // namespace orolith::model

#endif

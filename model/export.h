// The per-point values behind the classes, as rasters other tools can
// read: the curvature magnitude, the signed elevation difference and the
// curvature difference, each on the DEM's grid and with its georeference.
#ifndef OROLITH_MODEL_EXPORT_H
#define OROLITH_MODEL_EXPORT_H

#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"

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

// Writes values as an ESRI ASCII grid under the georeference of `georef`,
// nine significant digits a value so that every float reads back exactly.
bool writeAsciiGrid(const std::string& path, const GridHeader& georef, const std::vector<float>& values, float nodata,
                    ModelError& err);

} // namespace orolith::model

#endif

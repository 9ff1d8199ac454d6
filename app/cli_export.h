// --export: the values behind the classes as a raster other tools read.
// Two rasters (or a DEM alone) on one grid are read and written a strip of
// rows at a time; a .vrt output is a mosaic of one GeoTIFF per process
// (orolith-mpi, or the plain program's single part) joined by the VRT.
// Text grids and alignment read the grids whole.
#ifndef OROLITH_APP_CLI_EXPORT_H
#define OROLITH_APP_CLI_EXPORT_H

#include <string>
#include <vector>

#include "app/cli_run.h"
#include "app/clipair.h"
#include "model/export.h"
#include "model/reduction.h"

namespace orolith::ui {

struct ExportRequest {
    PairRequest options;
    ExportKind kind = ExportKind::curvature;
    std::string out, dem, comp; // comp empty for the curvature alone
};

// The options anywhere, then the kind, the output, the DEM and a
// comparison. Empty on success, else the usage error.
std::string parseExportRequest(const std::vector<const char*>& args, ExportRequest& r);

int exportMode(const CliRun& run, const std::vector<const char*>& args);

// The streamed export; NOT_STREAMED (app/cli_streamed.h) when the files or
// options need the grids whole. Nothing is left at the output on failure.
int streamedExport(const CliRun& run, const ExportRequest& r, Reduction& reduction);

} // namespace orolith::ui

#endif

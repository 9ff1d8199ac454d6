// The places the dialogs offer: where a file chooser opens, what it lists,
// and where the files made from a data set are saved. Plain functions of
// the paths known.
#ifndef OROLITH_DIALOGS_PATHS_H
#define OROLITH_DIALOGS_PATHS_H

#include "dialogs/names.h"
#include <string>

namespace orolith::ui {

// The grid choosers' filters: grid files first, then the other common
// extension of the same text layout, then everything. With `rasters` (a
// raster reader is registered, model/gridfile.h) GeoTIFF files are grids
// too: the first filter lists every grid, and GeoTIFF has one of its own.
// Whatever is picked, the reader tells the format by the file's content.
std::string gridPattern(bool rasters);

// The directory a file chooser opens in: that of the file opened last,
// else that of the DEM named on the command line, else the current one
// (".").
std::string chooserDirectory(const std::string& lastOpened, const std::string& commandLineDem);

// Where a file made from the DEM at demPath is offered to be saved: next to
// the DEM, named after it with `ending` ("valley.grd" with ".png" gives
// "valley.png", with "_profile.csv" "valley_profile.csv"); `fallback` in
// the current directory while no DEM is known.
std::string outputPathBeside(const std::string& demPath, const std::string& ending, const std::string& fallback);

// Where a sparse sample of the DEM at demPath is offered to be saved
// ("valley.grd" gives "valley_sparse.grd").
std::string sparseOutputPath(const std::string& demPath);

} // namespace orolith::ui

#endif

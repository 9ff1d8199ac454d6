// The places the dialogs offer: where a file chooser opens, what it lists,
// and where a sparse sample is saved. Plain functions of the paths known.
#ifndef OROLITH_DIALOGS_PATHS_H
#define OROLITH_DIALOGS_PATHS_H

#include <string>

// The chooser's filters: grid files first, then the other common extension
// of the same text layout, then everything.
extern const char* const GRID_PATTERN;

// The directory a file chooser opens in: that of the file opened last,
// else that of the DEM named on the command line, else the current one
// (".").
std::string chooserDirectory(const std::string& lastOpened, const std::string& commandLineDem);

// Where a sparse sample of the DEM at demPath is offered to be saved: next
// to the DEM, named after it ("valley.grd" gives "valley_sparse.grd").
std::string sparseOutputPath(const std::string& demPath);

#endif

// Loading a data set without ending the program on a bad file: both files
// are read and checked before anything the models hold is replaced, so a
// file that cannot be read or a comparison grid of another size leaves the
// data set in use intact. The loads reset everything derived from the old
// grids themselves (counts, extremes, mesh frame, contour interval, height
// classes), so that no caller has to do it in the right order.
#ifndef OROLITH_MODEL_LOADING_H
#define OROLITH_MODEL_LOADING_H

#include <functional>
#include <string>

#include "model/errors.h"
#include "model/gridfile.h"

enum class LoadResult { ok, mismatch, failed };

struct LoadStatus {
    LoadResult result = LoadResult::ok;
    ModelError error; // what was wrong, when failed

    bool ok() const { return result == LoadResult::ok; }
};

// Progress of a load, reported on the loading thread: between its steps,
// and every few tens of milliseconds while its files are read on worker
// threads. `fraction` runs from 0 to 1 over the whole load.
using LoadProgress = std::function<void(const std::string& stage, double fraction)>;
void setLoadProgress(LoadProgress progress);

// A DEM (with compPath empty) or a DEM and a comparison grid of its size,
// then every analysis: the mesh frame with exaggeration vertExag, normals,
// curvature and, with a comparison grid, the elevation and curvature
// differences.
LoadStatus loadDataSet(const std::string& demPath, const std::string& compPath, int vertExag);

// A new comparison grid against the DEM in use, then every analysis anew.
LoadStatus replaceComparison(const std::string& compPath, int vertExag);
// The same with a grid made in memory (a co-registered comparison grid):
// its header names the DEM's size.
LoadStatus replaceComparison(GridData&& comparison, int vertExag);

#endif

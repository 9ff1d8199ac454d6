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
#include <vector>

#include "model/errors.h"
#include "model/gridfile.h"
#include "model/align.h"
#include "model/gridview.h"

enum class LoadResult { ok, mismatch, failed };

// `mismatch`: the two grids do not lie on the same grid (their sizes, or
// their placements, differ) and were not to be aligned; `error` says how.
struct LoadStatus {
    LoadResult result = LoadResult::ok;
    ModelError error; // what was wrong, when failed or mismatched
    std::vector<std::string> notes; // of a load that succeeded (loadnotes.h)
    Alignment alignment;            // how the comparison grid came onto the DEM's

    bool ok() const { return result == LoadResult::ok; }
};

// Progress of a load, reported on the loading thread: between its steps,
// and every few tens of milliseconds while its files are read on worker
// threads. `fraction` runs from 0 to 1 over the whole load.
using LoadProgress = std::function<void(const std::string& stage, double fraction)>;
void setLoadProgress(LoadProgress progress);

// How the files of a load are taken: what the comparison data are, and
// whether grids without a coordinate system are in degrees of WGS 84
// (--geographic).
struct LoadOptions {
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    // Resample a comparison grid that lies elsewhere onto the DEM's grid
    // (model/pairing.h), by `method` for the DEM kind.
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    bool suggestKind = true; // see PairOptions
};

// A DEM (with compPath empty) or a DEM and a comparison grid of its size,
// then every analysis: the mesh frame with exaggeration vertExag, normals,
// curvature and, with a comparison grid, the elevation and curvature
// differences.
LoadStatus loadDataSet(const std::string& demPath, const std::string& compPath, int vertExag,
                       const LoadOptions& options = {});

// A new comparison grid against the DEM in use, then every analysis anew.
// The options' geographic flag is the DEM's, and has no say here.
LoadStatus replaceComparison(const std::string& compPath, int vertExag, const LoadOptions& options = {});
// The same with a grid made in memory (a co-registered comparison grid):
// its header names the DEM's size.
LoadStatus replaceComparison(GridData&& comparison, int vertExag, ComparisonKind kind = ComparisonKind::dem);

#endif

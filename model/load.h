// Loading a data set: both files are read and checked, and paired (on one
// grid, their kinds applied), before anything is analysed; a whole new
// DataSet comes back, or the error, and the data set in use is never
// touched. Its owner swaps the new one in.
#ifndef OROLITH_MODEL_LOAD_H
#define OROLITH_MODEL_LOAD_H

#include <functional>
#include <string>
#include <vector>

#include "model/align.h"
#include "model/dataset.h"
#include "model/errors.h"
#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/messages.h"

namespace orolith::model {

enum class LoadResult { ok, mismatch, failed };

// `mismatch`: the two grids do not lie on the same grid (their sizes, or
// their placements, differ) and were not to be aligned; `error` says how.
struct LoadStatus {
    LoadResult result = LoadResult::ok;
    ModelError error;               // what was wrong, when failed or mismatched
    std::vector<std::string> notes; // of a load that succeeded (loadnotes.h)
    Alignment alignment;            // how the comparison grid came onto the DEM's

    bool ok() const { return result == LoadResult::ok; }
};

// How the files of a load are taken: what the comparison data are, whether
// grids without a coordinate system are in degrees of WGS 84
// (--geographic), and whether a comparison grid that lies elsewhere is
// resampled onto the DEM's grid (model/pairing.h).
struct LoadOptions {
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    bool suggestKind = true; // see PairOptions
};

// Progress of a load, reported on the loading thread: between its steps,
// and every few tens of milliseconds while its files are read on worker
// threads. `fraction` runs from 0 to 1 over the whole load.
using LoadProgress = std::function<void(const std::string& stage, double fraction)>;

struct LoadRequest {
    std::string demPath;
    std::string comparisonPath; // empty: the DEM alone
    int exaggeration = 1;       // of the mesh
    ClassUnits units;           // of the classes
    LoadOptions options;
};

struct Loaded {
    LoadStatus status;
    DataSet dataSet; // when status.ok()
};

// A DEM, or a DEM and comparison data paired with it, then every analysis:
// the mesh frame, curvature and, with comparison data, the elevation and
// curvature differences. The progress lines ("Reading DEM data, ...",
// "Computing curvature", ...) go to `messages`.
Loaded loadDataSet(const LoadRequest& request, const GridIo& io, Messages& messages, const LoadProgress& progress = {});

// New comparison data for the DEM of `current`, then every analysis of
// the pair anew. The options' geographic flag is the DEM's, and has no say
// here.
Loaded replaceComparison(const DataSet& current, const std::string& path, const LoadOptions& options,
                         const ClassUnits& units, const GridIo& io, Messages& messages,
                         const LoadProgress& progress = {});

// The same with a grid made in memory on the DEM's grid (a co-registered
// comparison grid); it keeps the comparison's alignment.
Loaded replaceComparison(const DataSet& current, GridData comparison, ComparisonKind kind, const ClassUnits& units,
                         Messages& messages);

} // namespace orolith::model

#endif

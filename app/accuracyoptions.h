// The options of the accuracy modes (--metrics, --coregister), and with
// them what --accuracy-report shares: slope classes, the comparison's kind,
// alignment, checkpoints and stable terrain.
#ifndef OROLITH_APP_ACCURACYOPTIONS_H
#define OROLITH_APP_ACCURACYOPTIONS_H

#include <string>
#include <vector>

#include "app/cli_points.h"
#include "app/cli_stable.h"
#include "dialogs/names.h"
#include "model/align.h"
#include "model/metrics.h"
#include "model/pointio.h"

namespace orolith::ui {

struct AccuracyOptions {
    bool json = false;
    std::vector<double> bounds = defaultSlopeBounds();
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    PointOptions points;
    StableOptions stable;
    std::vector<std::string> files; // the DEM, then the comparison

    // The comparison is a point file (by its name).
    bool withPoints() const { return files.size() == 2 && isPointFileName(files[1]); }
};

// Takes args[i] when it is an option every accuracy mode shares (--kind,
// --slope-classes, --geographic, --align, the point and stable-terrain
// options). True when it was one; `error` says what is wrong, if anything.
bool takeAccuracyOption(const std::vector<const char*>& args, std::size_t& i, AccuracyOptions& o, std::string& error);

// What the files and options say together, once all are read: the point
// options need a point file, the stable-terrain ones two grids, --kind and
// --align a grid. Empty when they agree.
std::string accuracyOptionsConflict(const AccuracyOptions& o, const std::string& mode);

} // namespace orolith::ui

#endif

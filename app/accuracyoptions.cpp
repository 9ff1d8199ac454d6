#include "app/accuracyoptions.h"

#include "app/optionvalue.h"
#include "app/slopebounds.h"

namespace orolith::ui {

bool takeAccuracyOption(const std::vector<const char*>& args, std::size_t& i, AccuracyOptions& o, std::string& error)
{
    const std::string arg = args[i];
    if (arg == "--geographic") {
        o.geographic = true;
        return true;
    }
    if (alignOption(args, i, o.align, o.method, error) || takePointOption(args, i, o.points, error) ||
        takeStableOption(args, i, o.stable, error))
        return true;
    const bool kind = isNamedOption(arg, "--kind");
    if (!kind && !isNamedOption(arg, "--slope-classes"))
        return false;
    std::string value;
    if (!optionValue(args, i, value))
        error = arg + " needs a value";
    else if (kind && !comparisonKindNamed(value, o.kind))
        error = "--kind is dem, sparse or contour, not \"" + value + "\"";
    else if (!kind)
        error = parseSlopeBounds(value, o.bounds);
    return true;
}

std::string accuracyOptionsConflict(const AccuracyOptions& o, const std::string& mode)
{
    if (o.files.size() != 2)
        return mode + " takes a DEM and a comparison grid or point file";
    if (o.withPoints()) {
        if (o.stable.any())
            return "--mask, --min-slope, --max-slope and --outliers choose the stable terrain of two grids, not "
                   "of checkpoints";
        if (o.align || o.kind != ComparisonKind::dem)
            return "--align and --kind are for a comparison grid, not a point file";
        return "";
    }
    if (o.points.any())
        return "--columns, --points-crs, --open-classes, --vegetated-classes and --residuals need a point file "
               "(.csv, .gpkg, .geojson, .shp, ...) as the comparison";
    return stableOptionsConflict(o.stable);
}

} // namespace orolith::ui

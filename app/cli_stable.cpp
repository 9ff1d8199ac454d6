#include "app/cli_stable.h"

#include <ostream>

#include "app/optionvalue.h"
#include "model/tokens.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif

namespace orolith::ui {

namespace {

bool numberWithin(const std::string& text, double low, double high, bool lowOpen, double& v)
{
    if (!parseDouble(text, v))
        return false;
    return (lowOpen ? v > low : v >= low) && v <= high;
}

} // namespace

bool takeStableOption(const std::vector<const char*>& args, std::size_t& i, StableOptions& o, std::string& error)
{
    const std::string arg = args[i];
    if (arg == "--mask-keep-inside") {
        o.keepInside = true;
        return true;
    }
    const bool mask = isNamedOption(arg, "--mask"), minSlope = isNamedOption(arg, "--min-slope");
    const bool maxSlope = isNamedOption(arg, "--max-slope"), outliers = isNamedOption(arg, "--outliers");
    if (!mask && !minSlope && !maxSlope && !outliers)
        return false;
    const std::string name = arg.substr(0, arg.find('='));
    std::string value;
    if (!optionValue(args, i, value) || value.empty()) {
        error = name + " needs a value";
        return true;
    }
    double v = 0;
    if (mask) {
        o.mask = value;
    } else if (outliers) {
        if (!numberWithin(value, 0, 1e6, true, v))
            error = "--outliers takes a number of NMADs above 0, not \"" + value + "\"";
        o.outliers = v;
    } else {
        if (!numberWithin(value, 0, 90, false, v))
            error = name + " takes a slope in degrees from 0 to 90, not \"" + value + "\"";
        (minSlope ? o.minSlope : o.maxSlope) = v;
    }
    return true;
}

std::string stableOptionsConflict(const StableOptions& o)
{
    if (o.keepInside && o.mask.empty())
        return "--mask-keep-inside needs --mask";
    if (o.minSlope && o.maxSlope && *o.minSlope > *o.maxSlope)
        return "--min-slope is above --max-slope: no slope can pass both";
    return "";
}

bool stableRulesFor(const CliRun& run, const StableOptions& o, const GridHeader& dem, StableTerrainRules& rules)
{
    rules = {};
    rules.minSlope = o.minSlope;
    rules.maxSlope = o.maxSlope;
    rules.outlierNmads = o.outliers;
    if (o.mask.empty())
        return true;
    rules.maskName = o.mask + (o.keepInside ? " (inside kept)" : "");
    std::string error;
#ifdef OROLITH_HAVE_GDAL
    if (readMaskOnDemand({o.mask, o.keepInside}, dem, rules.mask, error))
        return true;
#else
    (void)dem;
    error = "file \"" + o.mask + "\": this build of Orolith reads no mask (it was built without GDAL)";
#endif
    run.err << "ERROR: " << error << std::endl;
    return false;
}

} // namespace orolith::ui

#include "app/cli.h"

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_metrics.h"
#include "model/loading.h"
#include "model/mountain.h"
#include "model/report.h"
#include "model/sparseformat.h"
#include "model/tokens.h"

#ifndef OROLITH_VERSION
#define OROLITH_VERSION "unknown"
#endif

const char* usageText()
{
    return "Usage: orolith [DEM]\n"
           "       orolith --report [--curve-unit U] [--diff-unit D] DEM [COMPARISON]\n"
           "       orolith --heights DEM COMPARISON\n"
           "       orolith --sparse N DEM\n"
           "       orolith --metrics [--format json] [--slope-classes 0,5,10,25,45] DEM COMPARISON\n"
           "       orolith --coregister [--format json] [--slope-classes LIST] DEM COMPARISON\n"
           "       orolith --help | --version\n"
           "\n"
           "Without an option, orolith starts the viewer; a DEM path is offered by\n"
           "the first open dialog.\n"
           "\n"
           "  --report      print the statistics report of DEM, with the comparison\n"
           "                section when a COMPARISON grid is given\n"
           "  --curve-unit  curvature error unit, 0.5 to 5 (default 1)\n"
           "  --diff-unit   difference error unit, 0 to 10 (default 1)\n"
           "  --heights     print the height classes of DEM by the contour interval\n"
           "                of COMPARISON\n"
           "  --sparse      print a sparse sample of DEM with N spot heights (at least\n"
           "                100: its peaks, then random points) as a grid file\n"
           "  --metrics     print the accuracy of DEM against COMPARISON over the points\n"
           "                where COMPARISON is above 0, overall and per slope class of\n"
           "                DEM: count, mean, std, RMSE, min, max, median, NMAD, LE90\n"
           "                and LE95 of DEM minus COMPARISON\n"
           "  --coregister  estimate the horizontal shift (in cells) and the vertical\n"
           "                bias of COMPARISON against DEM, then print the accuracy\n"
           "                before and after moving COMPARISON back by the shift\n"
           "  --format      text (a table, the default) or json\n"
           "  --slope-classes  lower bounds of the slope classes in degrees, ascending;\n"
           "                the last class reaches 90\n"
           "\n"
           "Grid files are ESRI ASCII grids. Results go to standard output, progress\n"
           "and messages to standard error.\n";
}

namespace {

int usageError(const std::string& message)
{
    std::cerr << "orolith: " << message << "\n\n" << usageText();
    return EXIT_USAGE;
}

bool isOption(const char* arg) { return arg[0] == '-' && arg[1] == '-'; }

// Loads the grids; false (after the message) when their sizes differ. A
// file that cannot be read ends the program with the model's status.
bool load(const std::string& dem, const std::string& comparison)
{
    LoadStatus s = loadDataSet(dem, comparison, 1);
    if (s.result == LoadResult::failed)
        error(s.error);
    if (s.result == LoadResult::mismatch)
        std::cerr << "Grid sizes do not match" << std::endl;
    return s.ok();
}

// A unit option's value: a number within [low, high].
bool unitValue(const char* text, double low, double high, double& value)
{
    float v;
    if (!parseFloat(text, v) || v < low || v > high)
        return false;
    value = v;
    return true;
}

int reportMode(const std::vector<const char*>& args)
{
    double u = 1.0, d = 1.0;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool curve = arg == "--curve-unit" || arg.rfind("--curve-unit=", 0) == 0;
        bool diff = arg == "--diff-unit" || arg.rfind("--diff-unit=", 0) == 0;
        if (curve || diff) {
            std::size_t eq = arg.find('=');
            if (eq != std::string::npos) {
                value = arg.substr(eq + 1);
                arg = arg.substr(0, eq);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return usageError(arg + " needs a value");
            }
            bool good = curve ? unitValue(value.c_str(), 0.5, 5.0, u) : unitValue(value.c_str(), 0.0, 10.0, d);
            if (!good)
                return usageError(arg + " must be a number from " + (curve ? "0.5 to 5" : "0 to 10") +
                                  ", not \"" + value + "\"");
        } else if (isOption(arg.c_str())) {
            return usageError("unknown option " + arg + " for --report");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty() || files.size() > 2)
        return usageError("--report takes a DEM and at most one comparison grid");

    curveUnits = static_cast<float>(u);
    diffUnits = static_cast<float>(d);
    bool comparison = files.size() == 2;
    if (!load(files[0], comparison ? files[1] : std::string()))
        return EXIT_MISMATCH;
    std::cout << statisticsReport(currentReportValues(u, d, comparison));
    if (comparison)
        std::cout << '\n'; // the report's last line has no newline of its own
    return 0;
}

int heightsMode(const std::vector<const char*>& args)
{
    if (args.size() != 2 || isOption(args[0]) || isOption(args[1]))
        return usageError("--heights takes a DEM and a comparison grid");
    if (!load(args[0], args[1]))
        return EXIT_MISMATCH;
    setConsole(std::cout);
    bool done = mt.computeHeightClasses();
    setConsole(std::cerr);
    return done ? 0 : EXIT_MISMATCH;
}

int sparseMode(const std::vector<const char*>& args)
{
    int n = 0;
    if (args.size() != 2 || !parseInt(args[0], n) || isOption(args[1]))
        return usageError("--sparse takes a whole number of spot heights and a DEM");
    if (!load(args[1], std::string()))
        return EXIT_MISMATCH;
    console() << "Creating sparse data file" << std::endl;
    std::vector<float> raster = mt.sparseRaster(n);
    if (raster.empty())
        return EXIT_MISMATCH;
    std::cout << mt.getHeaderText() << formatRaster(raster, mt.getRows(), mt.getCols());
    return 0;
}

}

bool isCommandLineMode(int argc, char** argv)
{
    return argc > 1 && isOption(argv[1]);
}

int runCommandLine(int argc, char** argv)
{
    setConsole(std::cerr);
    std::string mode = argc > 1 ? argv[1] : "";
    std::vector<const char*> rest(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (mode == "--help") {
        std::cout << usageText();
        return 0;
    }
    if (mode == "--version") {
        std::cout << "orolith " << OROLITH_VERSION << '\n';
        return 0;
    }
    if (mode == "--report")
        return reportMode(rest);
    if (mode == "--heights")
        return heightsMode(rest);
    if (mode == "--sparse")
        return sparseMode(rest);
    if (mode == "--metrics")
        return metricsMode(rest);
    if (mode == "--coregister")
        return coregisterMode(rest);
    if (mode.empty())
        return usageError("no mode given");
    return usageError("unknown option " + mode);
}

#include "app/cli.h"

#include <cstdint>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli_export.h"
#include "app/cli_image.h"
#include "app/cli_load.h"
#include "app/cli_metrics.h"
#include "app/cli_report.h"
#include "app/cli_run.h"
#include "app/clipair.h"
#include "app/optionvalue.h"
#include "model/report.h"
#include "model/sparseformat.h"
#include "model/sparsesample.h"
#include "model/tokens.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif

#include "dialogs/names.h"

#ifndef OROLITH_VERSION
#define OROLITH_VERSION "unknown"
#endif

namespace orolith::ui {

const char* usageText()
{
    return "Usage: orolith [DEM]\n"
           "       orolith --report [--curve-unit U] [--diff-unit D] [--format text|json] DEM [COMPARISON]\n"
           "       orolith --export curvature|elevdiff|curvediff [--kind K] OUT DEM [COMPARISON]\n"
           "       orolith --heights DEM COMPARISON\n"
           "       orolith --sparse N DEM\n"
           "       orolith --image OUT.png [--scheme S] [--size W H] [--legend] [--kind K] DEM [COMPARISON]\n"
           "       orolith --metrics [--format json] [--slope-classes LIST] [--kind K] [STABLE] DEM COMPARISON\n"
           "       orolith --coregister [--format json] [--slope-classes LIST] [--kind K] [STABLE] DEM COMPARISON\n"
           "       orolith --metrics|--coregister [--format json] [--slope-classes LIST] [POINTS] DEM POINTFILE\n"
           "       orolith --accuracy-report OUT.html|OUT.pdf [--coregister] [--slope-classes LIST] [--kind K]\n"
           "               [--align [M]] [STABLE] DEM COMPARISON|POINTFILE\n"
           "       orolith --help | --version\n"
           "\n"
           "Without an option, orolith starts the viewer; a DEM path is offered by\n"
           "the first open dialog.\n"
           "\n"
           "  --report      print the statistics report of DEM, with the comparison\n"
           "                section when a COMPARISON grid is given\n"
           "  --curve-unit  curvature error unit, 0.5 to 5 (default 1)\n"
           "  --diff-unit   difference error unit, 0 to 10 (default 1)\n"
           "  --format      json prints the report's values as one JSON object\n"
           "  --export      write the values behind the classes as a grid with the\n"
           "                DEM's georeference: ESRI ASCII for OUT.asc or OUT.grd,\n"
           "                GeoTIFF for OUT.tif, GeoTIFFs joined by a VRT for OUT.vrt\n"
           "                (curvature: the Laplacian's magnitude;\n"
           "                elevdiff: DEM minus COMPARISON where both have a height;\n"
           "                curvediff: the curvature difference; -9999 elsewhere)\n"
           "  --heights     print the height classes of DEM by the contour interval\n"
           "                of COMPARISON\n"
           "  --sparse      print a sparse sample of DEM with N spot heights (at least\n"
           "                100: its peaks, then random points) as a grid file\n"
           "  --image       draw the viewer's first view of the data set, from straight\n"
           "                above, to a PNG file without a window or display; S is\n"
           "                base (default), ramp, aspect, curvature, or with a\n"
           "                COMPARISON elevdiff, curvediff or heights; W x H pixels\n"
           "                (default 650 x 650, the viewer's picture); --legend adds\n"
           "                the scheme's legend in the bottom left corner\n"
           "  --metrics     print the accuracy of DEM against COMPARISON over the points\n"
           "                where both have a height, overall and per slope class of\n"
           "                DEM: count, mean, std, RMSE, min, max, median, NMAD, LE90\n"
           "                and LE95 of DEM minus COMPARISON\n"
           "  --coregister  estimate the horizontal shift (in cells) and the vertical\n"
           "                bias of COMPARISON against DEM, then print the accuracy\n"
           "                before and after moving COMPARISON back by the shift\n"
           "  --accuracy-report  write the accuracy of DEM against COMPARISON as one\n"
           "                HTML page or PDF (by OUT's extension) with maps, histograms,\n"
           "                the figures per slope class and the 3-D view, and its\n"
           "                numbers as JSON beside it (OUT.json); --coregister adds the\n"
           "                co-registration, its fit and the figures after the shift\n"
           "  --format      text (a table, the default) or json\n"
           "  --slope-classes  lower bounds of the slope classes in degrees, ascending;\n"
           "                the last class reaches 90 (default 0,5,10,25,45)\n"
           "  --kind        what COMPARISON is: dem (the default: every value but its\n"
           "                no-data value is a height), sparse or contour (only values\n"
           "                above 0 are heights)\n"
           "\n"
           "Checkpoints: a COMPARISON named .csv, .tsv, .gpkg, .geojson, .json, .shp, .fgb,\n"
           "  .gml or .kml is a point file: surveyed points whose heights the DEM is\n"
           "  compared with, sampled bilinearly at each point (d = DEM minus point);\n"
           "  points outside the DEM or next to its absent cells are skipped and\n"
           "  counted. POINTS options:\n"
           "  --columns X,Y,Z[,CLASS]  a table's column names (default x,y,z,class);\n"
           "                a layer's z comes from the field Z or else its geometry\n"
           "  --points-crs S  the points' coordinate system (EPSG:4326, ...) when a\n"
           "                table's are not the DEM's\n"
           "  --open-classes A,B  the classes of the non-vegetated vertical accuracy\n"
           "                (NVA: RMSEz and 1.96 RMSEz; default every point)\n"
           "  --vegetated-classes A,B  the classes of the vegetated vertical accuracy\n"
           "                (VVA: the 95th percentile of |d|; default none)\n"
           "  --residuals OUT.csv|OUT.gpkg  write each point used with x, y, z, the\n"
           "                DEM's height, d, slope and class\n"
           "\n"
           "Stable terrain: where the ground did not change, the only points of two\n"
           "  grids the figures and the co-registration use. STABLE options:\n"
           "  --mask FILE   a raster (non-zero: stable) or a polygon layer (inside:\n"
           "                unstable, e.g. glacier outlines), put on the DEM's grid\n"
           "  --mask-keep-inside  the polygons' inside is the stable part\n"
           "  --min-slope DEG, --max-slope DEG  the DEM's slope at a point; points\n"
           "                without a slope (the border, absent neighbours) drop out\n"
           "  --outliers K  drop points whose difference lies more than K NMADs from\n"
           "                the median, again on what is left until none is dropped\n"
           "\n"
           "  --geographic  --export, --image, --metrics, --coregister and\n"
           "                --accuracy-report: a grid of no coordinate system (.prj) is\n"
           "                in degrees of longitude and latitude on WGS 84; distances\n"
           "                and slopes are then in metres\n"
           "\n"
           "Grids are ESRI ASCII grids or, when built with GDAL, any single-band raster\n"
           "GDAL reads (GeoTIFF, ...). Results go to standard output, progress and\n"
           "messages to standard error.\n";
}

int usageError(const CliRun& run, const std::string& message)
{
    run.err << "orolith: " << message << "\nTry 'orolith --help' for more information." << std::endl;
    return EXIT_USAGE;
}

namespace {

// --align anywhere in a mode's arguments: the option taken out of `args`.
// False (after the usage error) for an unknown method.
bool takeAlign(const CliRun& run, std::vector<const char*>& args, LoadOptions& options, int& status)
{
    std::vector<const char*> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string error;
        if (alignOption(args, i, options.align, options.method, error)) {
            if (!error.empty()) {
                status = usageError(run, error);
                return false;
            }
            continue;
        }
        rest.push_back(args[i]);
    }
    args = rest;
    return true;
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

int reportMode(const CliRun& run, std::vector<const char*> args)
{
    // The report counts a comparison value only above 0, whatever its kind:
    // an aligned comparison is resampled as a DEM.
    LoadRequest request;
    LoadOptions& options = request.options;
    options.suggestKind = false;
    int status = 0;
    if (!takeAlign(run, args, options, status))
        return status;
    double u = 1.0, d = 1.0;
    bool json = false;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        std::string value;
        bool curve = isNamedOption(arg, "--curve-unit");
        bool diff = isNamedOption(arg, "--diff-unit");
        if (isNamedOption(arg, "--format")) {
            optionValue(args, i, value);
            if (value != "text" && value != "json")
                return usageError(run, "--format must be text or json, not \"" + value + "\"");
            json = value == "json";
        } else if (isNamedOption(arg, "--kind")) {
            if (!optionValue(args, i, value) || !comparisonKindNamed(value, options.kind))
                return usageError(run, "--kind is dem, sparse or contour, not \"" + value + "\"");
        } else if (curve || diff) {
            arg = curve ? "--curve-unit" : "--diff-unit";
            if (!optionValue(args, i, value))
                return usageError(run, arg + " needs a value");
            bool good = curve ? unitValue(value.c_str(), 0.5, 5.0, u) : unitValue(value.c_str(), 0.0, 10.0, d);
            if (!good)
                return usageError(run, arg + " must be a number from " + (curve ? "0.5 to 5" : "0 to 10") + ", not \"" +
                                           value + "\"");
        } else if (isOption(arg.c_str())) {
            return usageError(run, "unknown option " + arg + " for --report");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty() || files.size() > 2)
        return usageError(run, "--report takes a DEM and at most one comparison grid");

    // Classified in the units of the report, so that its counts are those
    // of the classes.
    const bool comparison = files.size() == 2;
    request.demPath = files[0];
    request.comparisonPath = comparison ? files[1] : std::string();
    request.units = {static_cast<float>(u), static_cast<float>(d)};
    std::optional<DataSet> dataSet = loadForMode(run, request);
    if (!dataSet)
        return EXIT_MISMATCH;
    ReportValues values = reportValues(*dataSet, u, d, comparison);
    if (json) {
        run.out << statisticsJson(values) << '\n';
        return 0;
    }
    run.out << statisticsReport(values);
    if (comparison)
        run.out << '\n'; // the report's last line has no newline of its own
    return 0;
}

int heightsMode(const CliRun& run, std::vector<const char*> args)
{
    LoadRequest request;
    int status = 0;
    if (!takeAlign(run, args, request.options, status))
        return status;
    if (args.size() != 2 || isOption(args[0]) || isOption(args[1]))
        return usageError(run, "--heights takes a DEM and a comparison grid");
    // Contour data: each contour cell moves to its nearest DEM cell.
    request.options.kind = ComparisonKind::contour;
    request.options.suggestKind = false;
    request.demPath = args[0];
    request.comparisonPath = args[1];
    std::optional<DataSet> dataSet = loadForMode(run, request);
    if (!dataSet)
        return EXIT_MISMATCH;
    return listHeightClasses(*dataSet, run.out, run.messages) ? 0 : EXIT_MISMATCH;
}

int sparseMode(const CliRun& run, const std::vector<const char*>& args)
{
    int n = 0;
    if (args.size() != 2 || !parseInt(args[0], n) || isOption(args[1]))
        return usageError(run, "--sparse takes a whole number of spot heights and a DEM");
    LoadRequest request;
    request.demPath = args[1];
    std::optional<DataSet> dataSet = loadForMode(run, request);
    if (!dataSet)
        return EXIT_MISMATCH;
    run.messages.line("Creating sparse data file");
    // A fixed seed: the same DEM and count give the same sample on every run.
    std::mt19937 generator(std::mt19937::default_seed);
    const RandomDraw draw = [&generator](int bound) {
        return static_cast<int>(generator() % static_cast<std::uint32_t>(bound));
    };
    std::string why;
    std::vector<float> raster = sparseRaster(dataSet->demView(), n, draw, run.messages, why);
    if (raster.empty()) {
        // Too few heights is the model's numbered error; the other refusals
        // are notices.
        if (why == errorText(SPARSE))
            run.err << "ERROR: " << why << std::endl;
        else
            run.messages.notice(why);
        return EXIT_MISMATCH;
    }
    run.out << dataSet->header().text << formatRaster(raster, dataSet->rows(), dataSet->cols());
    return 0;
}

} // namespace

bool isCommandLineMode(int argc, char** argv) { return argc > 1 && isOption(argv[1]); }

int runCommandLine(int argc, char** argv, const GridIo& io)
{
    StreamMessages messages(std::cerr);
    const CliRun run{std::cout, std::cerr, messages, io};
    std::string mode = argc > 1 ? argv[1] : "";
    std::vector<const char*> rest(argv + (argc > 1 ? 2 : 1), argv + argc);
    if (mode == "--help") {
        run.out << usageText();
        return 0;
    }
    if (mode == "--version") {
        run.out << "orolith " << OROLITH_VERSION << '\n';
        return 0;
    }
    if (mode == "--report")
        return reportMode(run, rest);
    if (mode == "--heights")
        return heightsMode(run, rest);
    if (mode == "--export")
        return exportMode(run, rest);
    if (mode == "--sparse")
        return sparseMode(run, rest);
    if (mode == "--image")
        return imageMode(run, rest);
    if (mode == "--metrics")
        return metricsMode(run, rest);
    if (mode == "--coregister")
        return coregisterMode(run, rest);
    if (mode == "--accuracy-report")
        return accuracyReportMode(run, rest);
    if (mode.empty())
        return usageError(run, "no mode given");
    return usageError(run, "unknown option " + mode);
}

} // namespace orolith::ui

#include "app/cli_metrics.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include <nlohmann/json.hpp>

#include "app/cli.h"
#include "app/clipair.h"
#include "app/optionvalue.h"
#include "app/slopebounds.h"
#include "dialogs/names.h"
#include "model/coregister.h"
#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/loadnotes.h"
#include "model/metrics.h"
#include "model/pairing.h"

namespace orolith::ui {

namespace {

struct Options {
    bool json = false;
    std::vector<double> bounds = defaultSlopeBounds();
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    std::vector<std::string> files;
};

// The options of both modes, then exactly a DEM and a comparison grid.
// Empty on success, else the usage error.
std::string parseOptions(const std::vector<const char*>& args, const std::string& mode, Options& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        bool format = isNamedOption(arg, "--format");
        bool classes = isNamedOption(arg, "--slope-classes");
        bool kind = isNamedOption(arg, "--kind");
        if (arg == "--geographic") {
            o.geographic = true;
        } else if (alignOption(args, i, o.align, o.method, value)) {
            if (!value.empty())
                return value;
        } else if (format || classes || kind) {
            if (!optionValue(args, i, value))
                return arg + " needs a value";
            if (format) {
                if (value != "json" && value != "text")
                    return "--format is json or text, not \"" + value + "\"";
                o.json = value == "json";
            } else if (kind) {
                if (!comparisonKindNamed(value, o.kind))
                    return "--kind is dem, sparse or contour, not \"" + value + "\"";
            } else {
                std::string why = parseSlopeBounds(value, o.bounds);
                if (!why.empty())
                    return why;
            }
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for " + mode;
        } else {
            o.files.push_back(arg);
        }
    }
    if (o.files.size() != 2)
        return mode + " takes a DEM and a comparison grid";
    return "";
}

AccuracyReport reportOf(const Pair& p, const GridView& comp, const Options& o)
{
    return accuracyReport(p.demView(), comp, p.spacing(), o.bounds);
}

// Three decimals, without the sign of a value that rounds to 0.
std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// --- JSON --------------------------------------------------------------------

using Json = nlohmann::ordered_json;

// The names as given on the command line, the first keys of both modes.
Json inputsJson(const Options& o)
{
    Json out;
    out["dem"] = o.files[0];
    out["comparison"] = o.files[1];
    return out;
}

// The figures after `out`'s keys; those of an empty set null, as the
// table's n/a.
void addFigures(Json& out, const AccuracyFigures& f)
{
    out["count"] = f.count;
    const std::pair<const char*, double> values[] = {{"mean", f.mean}, {"std", f.std},   {"rmse", f.rmse},
                                                     {"min", f.min},   {"max", f.max},   {"median", f.median},
                                                     {"nmad", f.nmad}, {"le90", f.le90}, {"le95", f.le95}};
    for (const auto& [name, v] : values)
        out[name] = f.count ? Json(v) : Json(nullptr);
}

// "alignment": how the comparison came onto the DEM's grid, when it was
// resampled; nothing otherwise.
void addAlignment(Json& out, const Alignment& a)
{
    if (!a.aligned && a.heightUnit.empty())
        return;
    Json& alignment = out["alignment"];
    alignment["aligned"] = a.aligned;
    alignment["method"] = alignMethodName(a.method);
    alignment["source_crs"] = a.sourceCrs;
    alignment["coverage"] = a.coverage;
    alignment["heights_converted"] = a.heightUnit;
}

// "all" and "slope_classes" after `out`'s keys.
void addReport(Json& out, const AccuracyReport& r)
{
    addFigures(out["all"], r.all);
    Json classes = Json::array();
    for (const SlopeClassFigures& c : r.classes) {
        Json figures;
        figures["from"] = c.from;
        figures["to"] = c.to;
        addFigures(figures, c.figures);
        classes.push_back(std::move(figures));
    }
    out["slope_classes"] = std::move(classes);
}

Json reportJson(const AccuracyReport& r)
{
    Json out;
    addReport(out, r);
    return out;
}

// File names need not be UTF-8: a byte that is not goes out as U+FFFD
// rather than stopping the output.
std::string jsonText(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"; }

} // namespace

int metricsMode(const CliRun& run, const std::vector<const char*>& args)
{
    Options o;
    std::string why = parseOptions(args, "--metrics", o);
    if (!why.empty())
        return usageError(run, why);
    Pair p;
    if (!readPair(run, o.files[0], o.files[1], {o.kind, o.geographic, o.align, o.method}, p))
        return EXIT_MISMATCH;
    AccuracyReport report = reportOf(p, p.compView(), o);
    if (!o.json) {
        run.out << accuracyTable(report);
        return 0;
    }
    Json out = inputsJson(o);
    addAlignment(out, p.comp.alignment);
    addReport(out, report);
    run.out << jsonText(out);
    return 0;
}

int coregisterMode(const CliRun& run, const std::vector<const char*>& args)
{
    Options o;
    std::string why = parseOptions(args, "--coregister", o);
    if (!why.empty())
        return usageError(run, why);
    Pair p;
    if (!readPair(run, o.files[0], o.files[1], {o.kind, o.geographic, o.align, o.method}, p))
        return EXIT_MISMATCH;
    const GroundSpacing spacing = p.spacing();
    Coregistration c = coregister(p.demView(), p.compView(), spacing);
    if (!c.ok) {
        run.err << "Cannot co-register the grids: " << c.why << std::endl;
        return EXIT_MISMATCH;
    }
    AccuracyReport before = reportOf(p, p.compView(), o);
    AccuracyReport after = reportOf(p, c.shifted.view(p.dem.header.rows, p.dem.header.cols), o);
    if (o.json) {
        Json out = inputsJson(o);
        addAlignment(out, p.comp.alignment);
        out["shift_east"] = c.shiftEast;
        out["shift_north"] = c.shiftNorth;
        out["shift_east_metres"] = c.shiftEastMetres;
        out["shift_north_metres"] = c.shiftNorthMetres;
        out["bias"] = c.bias;
        out["iterations"] = c.iterations;
        out["converged"] = c.converged;
        out["improved"] = c.improved;
        out["nmad_before"] = c.nmadBefore;
        out["nmad_after"] = c.nmadAfter;
        out["before"] = reportJson(before);
        out["after"] = reportJson(after);
        run.out << jsonText(out);
        return 0;
    }
    const char* unit = spacing.geographic ? " m" : " map units";
    run.out << "shift east:  " << fixed3(c.shiftEast) << " cells (" << fixed3(c.shiftEastMetres) << unit
            << ")\nshift north: " << fixed3(c.shiftNorth) << " cells (" << fixed3(c.shiftNorthMetres) << unit
            << ")\nbias:        " << fixed3(c.bias) << "\niterations:  " << c.iterations
            << (c.converged ? "" : " (not converged: the last step moved 0.01 cell or more)")
            << "\nimproved:    " << improvementText(c) << "\n\nbefore:\n"
            << accuracyTable(before)
            << (c.improved ? "\nafter (the comparison grid moved back by the shift):\n"
                           : "\nafter (the comparison grid as it was):\n")
            << accuracyTable(after);
    return 0;
}

} // namespace orolith::ui

#include "app/cli_metrics.h"

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "app/accuracyoptions.h"
#include "app/cli.h"
#include "app/cli_checkpoints.h"
#include "app/cli_streamed.h"
#include "app/clipair.h"
#include "app/metricsjson.h"
#include "app/optionvalue.h"
#include "dialogs/names.h"
#include "model/coregister.h"
#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/metrics.h"
#include "model/reduction.h"
#include "model/stableterrain.h"

namespace orolith::ui {

std::string parseAccuracyModeOptions(const std::vector<const char*>& args, const std::string& mode, AccuracyOptions& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], error;
        if (takeAccuracyOption(args, i, o, error)) {
            if (!error.empty())
                return error;
        } else if (isNamedOption(arg, "--format")) {
            std::string value;
            if (!optionValue(args, i, value))
                return arg + " needs a value";
            if (value != "json" && value != "text")
                return "--format is json or text, not \"" + value + "\"";
            o.json = value == "json";
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for " + mode;
        } else {
            o.files.push_back(arg);
        }
    }
    return accuracyOptionsConflict(o, mode);
}

namespace {

// Three decimals, without the sign of a value that rounds to 0.
std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// The pair of a grid mode with the stable terrain its options ask for.
struct StablePair {
    Pair pair;
    StableTerrainRules rules;
    std::optional<StableTerrain> stable; // with rules only

    GridView comparison() const
    {
        GridView v = pair.compView();
        if (stable)
            v.present = stable->stable.data();
        return v;
    }
};

// Reads the pair and applies the rules. False after the message (the
// status then EXIT_MISMATCH).
bool readStablePair(const CliRun& run, const AccuracyOptions& o, StablePair& s)
{
    if (!readPair(run, o.files[0], o.files[1], {o.kind, o.geographic, o.align, o.method}, s.pair))
        return false;
    if (!o.stable.any())
        return true;
    if (!stableRulesFor(run, o.stable, s.pair.dem.header, s.rules))
        return false;
    s.stable = stableTerrain(s.pair.demView(), s.pair.compView(), s.pair.spacing(), s.rules);
    if (s.stable->counts.kept == 0) {
        run.err << "ERROR: " << stableTerrainEmptyText(s.stable->counts) << std::endl;
        return false;
    }
    return true;
}

AccuracyReport reportOf(const StablePair& s, const GridView& comp, const AccuracyOptions& o)
{
    return accuracyReport(s.pair.demView(), comp, s.pair.spacing(), o.bounds);
}

std::string stableText(const StablePair& s)
{
    return s.stable ? stableTerrainText(s.rules, s.stable->counts) + "\n" : std::string();
}

} // namespace

int metricsMode(const CliRun& run, const std::vector<const char*>& args)
{
    AccuracyOptions o;
    std::string why = parseAccuracyModeOptions(args, "--metrics", o);
    if (!why.empty())
        return usageError(run, why);
    if (o.withPoints())
        return checkpointMetrics(run, o);
    Reduction alone;
    const int streamed = streamedMetrics(run, o, alone);
    if (streamed != NOT_STREAMED)
        return streamed;
    StablePair s;
    if (!readStablePair(run, o, s))
        return EXIT_MISMATCH;
    AccuracyReport report = reportOf(s, s.comparison(), o);
    if (!o.json) {
        run.out << stableText(s) << accuracyTable(report);
        return 0;
    }
    Json out = inputsJson(o.files[0], o.files[1]);
    addAlignment(out, s.pair.comp.alignment);
    if (s.stable)
        addStableTerrain(out, s.rules, s.stable->counts);
    addReport(out, report);
    run.out << jsonText(out);
    return 0;
}

int coregisterMode(const CliRun& run, const std::vector<const char*>& args)
{
    AccuracyOptions o;
    std::string why = parseAccuracyModeOptions(args, "--coregister", o);
    if (!why.empty())
        return usageError(run, why);
    if (o.withPoints())
        return checkpointCoregistration(run, o);
    Reduction alone;
    const int streamed = streamedCoregistration(run, o, alone);
    if (streamed != NOT_STREAMED)
        return streamed;
    StablePair s;
    if (!readStablePair(run, o, s))
        return EXIT_MISMATCH;
    const GroundSpacing spacing = s.pair.spacing();
    // The shift from the stable terrain alone; the whole comparison moves.
    Coregistration c =
        coregister(s.pair.demView(), s.pair.compView(), s.stable ? s.stable->stable.data() : nullptr, spacing);
    if (!c.ok) {
        run.err << "Cannot co-register the grids: " << c.why << std::endl;
        return EXIT_MISMATCH;
    }
    // The figures after the shift over the points the rules kept before it.
    const std::vector<std::uint8_t> kept = keptAfterShift(
        c.shifted.present, s.stable ? s.stable->stable : std::vector<std::uint8_t>(), s.pair.dem.header.cells());
    const GridView afterView{c.shifted.heights.data(), kept.data(), s.pair.dem.header.rows, s.pair.dem.header.cols};
    const AccuracyReport before = reportOf(s, s.comparison(), o);
    const AccuracyReport after = reportOf(s, afterView, o);
    return printCoregistration(run, o,
                               {spacing.geographic, s.pair.comp.alignment, s.stable ? &s.rules : nullptr,
                                s.stable ? &s.stable->counts : nullptr},
                               c, before, after);
}

int printCoregistration(const CliRun& run, const AccuracyOptions& o, const CoregistrationInputs& in,
                        const Coregistration& c, const AccuracyReport& before, const AccuracyReport& after)
{
    if (o.json) {
        Json out = inputsJson(o.files[0], o.files[1]);
        addAlignment(out, in.alignment);
        if (in.rules)
            addStableTerrain(out, *in.rules, *in.counts);
        addShift(out, c);
        out["before"] = reportJson(before);
        out["after"] = reportJson(after);
        run.out << jsonText(out);
        return 0;
    }
    const char* unit = in.geographic ? " m" : " map units";
    const std::string stable = in.rules ? stableTerrainText(*in.rules, *in.counts) + "\n" : std::string();
    run.out << stable << "shift east:  " << fixed3(c.shiftEast) << " cells (" << fixed3(c.shiftEastMetres) << unit
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

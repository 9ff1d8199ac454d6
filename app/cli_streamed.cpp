#include "app/cli_streamed.h"

#include <memory>
#include <ostream>

#include "app/cli.h"
#include "app/cli_metrics.h"
#include "app/metricsjson.h"
#include "dialogs/names.h"
#include "model/loadnotes.h"
#include "model/pairing.h"
#include "model/rasterpairrows.h"
#include "model/rowblocks.h"
#include "model/streamedcoregister.h"
#include "model/streamedmetrics.h"

namespace orolith::ui {

const char* const ALIGN_FIRST = "--align resamples the comparison in one process: align it first (orolith "
                                "--export aligned OUT.tif DEM COMPARISON --align), then give the aligned grid";

bool PassLines::read(int first, int last, PairStrip& strip, std::string& error)
{
    if (first <= previous_ && saysPasses(rows(), cols()))
        messages_.line("Pass " + std::to_string(++passes_) + " over the rows of both grids");
    previous_ = first;
    return rows_.read(first, last, strip, error);
}

bool saysPasses(int rows, int cols) { return static_cast<long long>(rows) * cols >= 100000000; }

StreamPlan streamPlan(int cols, const Reduction& reduction)
{
    return {stripBlocksFor(STREAM_STRIP_CELLS, cols), reduction.threadsPerProcess()};
}

std::string notStreamedWhy(const AccuracyOptions& o)
{
    if (o.withPoints())
        return "checkpoints are assessed by one process: give them to orolith";
    if (o.stable.any())
        return "stable terrain is chosen by one process: give those options to orolith";
    if (o.align)
        return ALIGN_FIRST;
    return "";
}

namespace {

// The pair opened for streaming, or why not: NOT_STREAMED, or the exit
// status after the message.
struct StreamedPair {
    GridHeader dem;
    Alignment alignment;
    std::unique_ptr<RasterPairRows> rows;
};

int openStreamedPair(const CliRun& run, const AccuracyOptions& o, Reduction& reduction, StreamedPair& p)
{
    if (!notStreamedWhy(o).empty() || !run.io.rows)
        return NOT_STREAMED;
    GridHeader comp;
    ModelError err;
    // Every process reads the headers; one that cannot (a file its node
    // does not see) ends them all with its message.
    const bool read = readGridHeader(o.files[0], p.dem, err, run.io) && readGridHeader(o.files[1], comp, err, run.io);
    std::string error = read ? "" : err.text();
    if (!reduction.allSucceeded(read, error)) {
        run.err << "ERROR: " << error << std::endl;
        return FATAL_STATUS;
    }
    if (p.dem.format != GridFormat::raster || comp.format != GridFormat::raster)
        return NOT_STREAMED;
    if (o.geographic && !p.dem.crs.known)
        declareGeographic(p.dem);
    for (const std::string& note : loadNotes(p.dem, nullptr, o.kind))
        run.messages.notice(note);
    if (!placedForComparison(p.dem, comp, {o.kind, false, o.method, false}, run.io, err)) {
        run.err << err.text() << std::endl;
        return EXIT_MISMATCH;
    }
    const double factor = heightsOntoDem(p.dem, comp, p.alignment);
    for (const std::string& note : unitAndDatumNotes(p.alignment))
        run.messages.notice(note);
    p.rows = RasterPairRows::open(*run.io.rows, p.dem, comp, o.kind, factor, err);
    error = p.rows ? "" : err.text();
    if (!reduction.allSucceeded(p.rows != nullptr, error)) {
        run.err << "ERROR: " << error << std::endl;
        return FATAL_STATUS;
    }
    return 0;
}

} // namespace

int streamedMetrics(const CliRun& run, const AccuracyOptions& o, Reduction& reduction)
{
    StreamedPair p;
    const int opened = openStreamedPair(run, o, reduction, p);
    if (opened != 0)
        return opened;
    AccuracyReport report;
    std::string error;
    PassLines rows(*p.rows, run.messages);
    if (!streamedAccuracyReport(rows, groundSpacing(p.dem), o.bounds, streamPlan(p.dem.cols, reduction), reduction,
                                report, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    if (!o.json) {
        run.out << accuracyTable(report);
        return 0;
    }
    Json out = inputsJson(o.files[0], o.files[1]);
    addAlignment(out, p.alignment);
    addReport(out, report);
    run.out << jsonText(out);
    return 0;
}

int streamedCoregistration(const CliRun& run, const AccuracyOptions& o, Reduction& reduction)
{
    StreamedPair p;
    const int opened = openStreamedPair(run, o, reduction, p);
    if (opened != 0)
        return opened;
    const GroundSpacing spacing = groundSpacing(p.dem);
    const StreamPlan plan = streamPlan(p.dem.cols, reduction);
    Coregistration c;
    std::string error;
    PassLines rows(*p.rows, run.messages);
    if (!streamedCoregister(rows, spacing, plan, reduction, c, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    if (!c.ok) {
        run.err << "Cannot co-register the grids: " << c.why << std::endl;
        return EXIT_MISMATCH;
    }
    // The figures after the shift: on the comparison moved back, or as it
    // was when the shift did not improve the fit.
    AccuracyReport before, after;
    ShiftedPairRows moved(rows, c.shiftEast, c.shiftNorth);
    if (!streamedAccuracyReport(rows, spacing, o.bounds, plan, reduction, before, error) ||
        !streamedAccuracyReport(c.improved ? static_cast<PairRows&>(moved) : rows, spacing, o.bounds, plan, reduction,
                                after, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    return printCoregistration(run, o, {spacing.geographic, p.alignment, nullptr, nullptr}, c, before, after);
}

} // namespace orolith::ui

#include "app/cli_streamed.h"

#include <memory>
#include <ostream>

#include "app/cli.h"
#include "app/metricsjson.h"
#include "dialogs/names.h"
#include "model/loadnotes.h"
#include "model/pairing.h"
#include "model/rasterpairrows.h"
#include "model/rowblocks.h"
#include "model/streamedmetrics.h"

namespace orolith::ui {

const char* const ALIGN_FIRST = "--align resamples the comparison in one process: align it first (orolith "
                                "--export aligned OUT.tif DEM COMPARISON --align), then give the aligned grid";

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

int streamedMetrics(const CliRun& run, const AccuracyOptions& o, Reduction& reduction)
{
    if (!notStreamedWhy(o).empty() || !run.io.rows)
        return NOT_STREAMED;
    GridHeader dem, comp;
    ModelError err;
    if (!readGridHeader(o.files[0], dem, err, run.io) || !readGridHeader(o.files[1], comp, err, run.io)) {
        run.err << "ERROR: " << err.text() << std::endl;
        return FATAL_STATUS;
    }
    if (dem.format != GridFormat::raster || comp.format != GridFormat::raster)
        return NOT_STREAMED;
    if (o.geographic && !dem.crs.known)
        declareGeographic(dem);
    for (const std::string& note : loadNotes(dem, nullptr, o.kind))
        run.messages.notice(note);
    if (!placedForComparison(dem, comp, {o.kind, false, o.method, false}, run.io, err)) {
        run.err << err.text() << std::endl;
        return EXIT_MISMATCH;
    }
    Alignment alignment;
    const double factor = heightsOntoDem(dem, comp, alignment);
    for (const std::string& note : unitAndDatumNotes(alignment))
        run.messages.notice(note);

    std::unique_ptr<RasterPairRows> rows = RasterPairRows::open(*run.io.rows, dem, comp, o.kind, factor, err);
    // Every process opens the same files: they fail alike.
    std::string error = rows ? "" : err.text();
    if (!reduction.allSucceeded(rows != nullptr, error)) {
        run.err << "ERROR: " << error << std::endl;
        return FATAL_STATUS;
    }
    AccuracyReport report;
    if (!streamedAccuracyReport(*rows, groundSpacing(dem), o.bounds, stripBlocksFor(STREAM_STRIP_CELLS, dem.cols),
                                reduction, report, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    if (!o.json) {
        run.out << accuracyTable(report);
        return 0;
    }
    Json out = inputsJson(o.files[0], o.files[1]);
    addAlignment(out, alignment);
    addReport(out, report);
    run.out << jsonText(out);
    return 0;
}

} // namespace orolith::ui

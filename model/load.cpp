#include "model/load.h"

#include <chrono>
#include <future>
#include <thread>

#include "model/loadnotes.h"
#include "model/memory.h"
#include "model/pairing.h"

namespace orolith::model {

namespace {

LoadStatus failed(const ModelError& e) { return {LoadResult::failed, e, {}, {}}; }
LoadStatus mismatch(const ModelError& e) { return {LoadResult::mismatch, e, {}, {}}; }
// A pairing fails by placement (not aligned) or otherwise (the alignment).
LoadStatus unpaired(const ModelError& e) { return e.code == PLACEMENT ? mismatch(e) : failed(e); }

PairOptions pairOptions(const LoadOptions& o) { return {o.kind, o.align, o.method, o.suggestKind}; }

// Share of a load's time spent reading, for the progress bar; each
// analysis a tenth after it.
constexpr double READING = 0.6;

void report(const LoadProgress& progress, const std::string& stage, double fraction)
{
    if (progress)
        progress(stage, fraction);
}

// Each analysis's stage in the progress bar, after the reading.
DataSet::Stage analysisStages(const LoadProgress& progress)
{
    if (!progress)
        return {};
    return [progress](const std::string& stage) {
        const char* order[] = {"Building the mesh", "Computing curvature", "Computing elevation differences",
                               "Computing curvature differences"};
        for (int k = 0; k < 4; ++k)
            if (stage == order[k])
                progress(stage, READING + 0.1 * k);
    };
}

// What a data set of `cells` points needs besides what is held now: the
// grids, the analysis arrays and one class byte a cell for each colouring
// (curvature, and with a comparison both differences).
std::size_t dataSetBytes(std::size_t cells, bool withComparison)
{
    std::size_t grids = withComparison ? 2 : 1;
    std::size_t arrays = withComparison ? 3 : 1;
    return cells * (sizeof(float) * (grids + arrays) + (withComparison ? 3 : 1));
}

// Reads the heights of the given files at once, one thread each (a file read
// alone splits its parsing in two), reporting progress meanwhile.
bool readHeights(const GridHeader* headers[], const GridRole roles[], GridData* out[], int count, const GridIo& io,
                 const LoadProgress& progress, ModelError& err)
{
    std::atomic<std::size_t> done{0};
    std::size_t total = 0;
    for (int i = 0; i < count; ++i)
        total += headers[i]->fileSize - headers[i]->heightsAt;
    const int threads = count == 1 ? 2 : 1;
    std::vector<std::future<ModelError>> reads;
    for (int i = 0; i < count; ++i) {
        GridRole role = roles[i];
        const GridHeader* h = headers[i];
        GridData* o = out[i];
        reads.push_back(std::async(std::launch::async, [=, &done, &io] {
            ModelError e;
            return readGridHeights(*h, role, *o, e, io, threads, &done) ? ModelError{} : e;
        }));
    }
    for (auto& r : reads) {
        while (r.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready)
            report(progress, "Reading",
                   total > 0 ? READING * static_cast<double>(done.load()) / static_cast<double>(total) : 0);
    }
    // The first file's error first, as a sequential read would find it.
    for (auto& r : reads) {
        ModelError e = r.get();
        if (e.code != 0 && err.code == 0)
            err = e;
    }
    return err.code == 0;
}

Comparison comparisonOf(PairedComparison&& paired, ComparisonKind kind)
{
    Comparison c;
    c.grid = std::move(paired.grid);
    c.kind = kind;
    c.presence = std::move(paired.presence);
    c.alignment = paired.alignment;
    return c;
}

} // namespace

Loaded loadDataSet(const LoadRequest& request, const GridIo& io, Messages& messages, const LoadProgress& progress)
{
    const LoadOptions& options = request.options;
    const bool two = !request.comparisonPath.empty();
    GridHeader demHeader, compHeader;
    ModelError err;
    report(progress, "Reading", 0);
    if (!readGridHeader(request.demPath, demHeader, err, io))
        return {failed(err), {}};
    if (options.geographic && !demHeader.crs.known)
        declareGeographic(demHeader);
    messages.line(readingLine(demHeader, GridRole::dem));
    if (two) {
        if (!readGridHeader(request.comparisonPath, compHeader, err, io))
            return {failed(err), {}};
        messages.line(readingLine(compHeader, GridRole::comparison));
        // Placements are compared before anything is read.
        if (!placedForComparison(demHeader, compHeader, pairOptions(options), io, err))
            return {mismatch(err), {}};
    }
    std::size_t bytes = dataSetBytes(demHeader.cells(), two);
    if (two && compHeader.cells() != demHeader.cells())
        bytes += compHeader.cells() * 2 * sizeof(float); // read, then resampled
    std::string shortfall = memoryShortfall(bytes);
    if (!shortfall.empty())
        return {failed({ARRAY1, "file \"" + request.demPath + "\": a data set of " + std::to_string(demHeader.rows) +
                                    " rows and " + std::to_string(demHeader.cols) + " columns " + shortfall}),
                {}};

    GridData dem, comp;
    const GridHeader* headers[2] = {&demHeader, &compHeader};
    const GridRole roles[2] = {GridRole::dem, GridRole::comparison};
    GridData* out[2] = {&dem, &comp};
    if (!readHeights(headers, roles, out, two ? 2 : 1, io, progress, err))
        return {failed(err), {}};

    Loaded loaded;
    LoadStatus& status = loaded.status;
    status.notes = loadNotes(demHeader, nullptr, options.kind);
    std::optional<Comparison> comparison;
    if (two) {
        report(progress, "Pairing the grids", READING);
        PairedComparison paired;
        if (!pairComparison(dem.header, viewOf(dem), std::move(comp), pairOptions(options), io, paired, err))
            return {unpaired(err), {}};
        status.notes.insert(status.notes.end(), paired.notes.begin(), paired.notes.end());
        status.alignment = paired.alignment;
        comparison = comparisonOf(std::move(paired), options.kind);
    }
    loaded.dataSet = DataSet(std::move(dem), std::move(comparison), request.exaggeration, request.units, messages,
                             analysisStages(progress));
    report(progress, "Done", 1.0);
    return loaded;
}

Loaded replaceComparison(const DataSet& current, const std::string& path, const LoadOptions& options,
                         const ClassUnits& units, const GridIo& io, Messages& messages, const LoadProgress& progress)
{
    GridHeader header;
    ModelError err;
    report(progress, "Reading", 0);
    if (!readGridHeader(path, header, err, io))
        return {failed(err), {}};
    messages.line(readingLine(header, GridRole::comparison));
    if (!placedForComparison(current.header(), header, pairOptions(options), io, err))
        return {mismatch(err), {}};
    GridData comp;
    const GridHeader* headers[1] = {&header};
    const GridRole roles[1] = {GridRole::comparison};
    GridData* out[1] = {&comp};
    if (!readHeights(headers, roles, out, 1, io, progress, err))
        return {failed(err), {}};
    PairedComparison paired;
    if (!pairComparison(current.header(), current.demView(), std::move(comp), pairOptions(options), io, paired, err))
        return {unpaired(err), {}};
    Loaded loaded;
    loaded.status.notes = paired.notes;
    loaded.status.alignment = paired.alignment;
    loaded.dataSet = current.withComparison(comparisonOf(std::move(paired), options.kind), units, messages,
                                            analysisStages(progress));
    report(progress, "Done", 1.0);
    return loaded;
}

Loaded replaceComparison(const DataSet& current, GridData comparison, ComparisonKind kind, const ClassUnits& units,
                         Messages& messages)
{
    if (comparison.header.rows != current.rows() || comparison.header.cols != current.cols() ||
        comparison.heights.size() != comparison.header.cells())
        return {mismatch({PLACEMENT, "Grid sizes do not match"}), {}};
    Loaded loaded;
    loaded.status.notes = comparisonNotes(comparison, kind);
    Comparison c;
    c.presence = comparisonPresence(comparison, kind);
    c.grid = std::move(comparison);
    c.kind = kind;
    // A grid made from the comparison in use (moved back by a
    // co-registration) keeps its alignment.
    if (current.hasComparison())
        c.alignment = current.comparison().alignment;
    loaded.status.alignment = c.alignment;
    loaded.dataSet = current.withComparison(std::move(c), units, messages);
    return loaded;
}

} // namespace orolith::model

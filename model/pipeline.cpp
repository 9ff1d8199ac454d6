// Loading: read the grids, check that they belong together, then run the
// analyses in the order their inputs require (the mesh frame before normals
// and colours, curvature before curvature differences, which read cArray,
// and elevation differences before curvature differences, so that the
// latter's colours are the ones in effect afterwards).
#include <atomic>
#include <chrono>
#include <future>
#include <thread>

#include "model/loading.h"
#include "model/loadnotes.h"
#include "model/pairing.h"
#include "model/memory.h"
#include "model/mountain.h"

namespace {

LoadProgress progressHook;

void progress(const std::string& stage, double fraction)
{
    if (progressHook)
        progressHook(stage, fraction);
}

LoadStatus failed(const ModelError& e) { return {LoadResult::failed, e, {}, {}}; }
LoadStatus mismatch(const ModelError& e) { return {LoadResult::mismatch, e, {}, {}}; }
// A pairing fails by placement (not aligned) or otherwise (the alignment).
LoadStatus unpaired(const ModelError& e) { return e.code == PLACEMENT ? mismatch(e) : failed(e); }

PairOptions pairOptions(const LoadOptions& o) { return {o.kind, o.align, o.method, o.suggestKind}; }

// Share of a load's time spent reading, for the progress bar.
constexpr double READING = 0.6;

void analyse(int vertExag, bool withComparison)
{
    progress("Building the mesh", READING);
    mt.convert_to_triangles(vertExag);
    mt.compute_normals();
    progress("Computing curvature", READING + 0.1);
    mt.compute_curve_color();
    if (withComparison) {
        progress("Computing elevation differences", READING + 0.2);
        mt.compute_elev_diff_color();
        progress("Computing curvature differences", READING + 0.3);
        mt.compute_curve_diff_color();
    }
    progress("Done", 1.0);
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
bool readHeights(const GridHeader* headers[], const GridRole roles[], GridData* out[], int count, ModelError& err)
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
        reads.push_back(std::async(std::launch::async, [=, &done] {
            ModelError e;
            return readGridHeights(*h, role, *o, e, threads, &done) ? ModelError{} : e;
        }));
    }
    for (auto& r : reads) {
        while (r.wait_for(std::chrono::milliseconds(40)) != std::future_status::ready)
            progress("Reading", total > 0 ? READING * static_cast<double>(done.load()) / static_cast<double>(total) : 0);
    }
    // The first file's error first, as a sequential read would find it.
    for (auto& r : reads) {
        ModelError e = r.get();
        if (e.code != 0 && err.code == 0)
            err = e;
    }
    return err.code == 0;
}

} // namespace

void setLoadProgress(LoadProgress p) { progressHook = std::move(p); }

LoadStatus loadDataSet(const std::string& demPath, const std::string& compPath, int vertExag,
                       const LoadOptions& options)
{
    const bool two = !compPath.empty();
    GridHeader demHeader, compHeader;
    ModelError err;
    progress("Reading", 0);
    if (!readGridHeader(demPath, demHeader, err))
        return failed(err);
    if (options.geographic && !demHeader.crs.known)
        declareGeographic(demHeader);
    announceReading(demHeader, GridRole::dem);
    if (two) {
        if (!readGridHeader(compPath, compHeader, err))
            return failed(err);
        announceReading(compHeader, GridRole::comparison);
        // Placements are compared before anything is read or replaced.
        if (!placedForComparison(demHeader, compHeader, pairOptions(options), err))
            return mismatch(err);
    }
    std::size_t bytes = dataSetBytes(demHeader.cells(), two);
    if (two && compHeader.cells() != demHeader.cells())
        bytes += compHeader.cells() * 2 * sizeof(float); // read, then resampled
    std::string shortfall = memoryShortfall(bytes);
    if (!shortfall.empty())
        return failed({ARRAY1, "file \"" + demPath + "\": a data set of " + std::to_string(demHeader.rows) +
                                   " rows and " + std::to_string(demHeader.cols) + " columns " + shortfall});

    GridData dem, comp;
    const GridHeader* headers[2] = {&demHeader, &compHeader};
    const GridRole roles[2] = {GridRole::dem, GridRole::comparison};
    GridData* out[2] = {&dem, &comp};
    if (!readHeights(headers, roles, out, two ? 2 : 1, err))
        return failed(err);

    LoadStatus status;
    status.notes = loadNotes(demHeader, nullptr, options.kind);
    if (two) {
        progress("Pairing the grids", READING);
        PairedComparison paired;
        if (!pairComparison(dem.header, viewOf(dem), std::move(comp), pairOptions(options), paired, err))
            return unpaired(err);
        comp = std::move(paired.grid);
        status.notes.insert(status.notes.end(), paired.notes.begin(), paired.notes.end());
        status.alignment = paired.alignment;
    }
    mt.adopt(std::move(dem));
    // A DEM alone leaves no comparison grid behind.
    rd.adopt(std::move(comp), options.kind);
    rd.setAlignment(status.alignment);
    multFiles = two;
    if (two)
        sparseData = true;
    setStats(0, 0, 0, 0, 0, 0);
    setElevDiff(0, 0, 0, 0, 0);
    setCurveDiff(0, 0, 0, 0, 0);
    analyse(vertExag, two);
    return status;
}

LoadStatus replaceComparison(const std::string& compPath, int vertExag, const LoadOptions& options)
{
    GridHeader header;
    ModelError err;
    progress("Reading", 0);
    if (!readGridHeader(compPath, header, err))
        return failed(err);
    announceReading(header, GridRole::comparison);
    if (!placedForComparison(mt.header(), header, pairOptions(options), err))
        return mismatch(err);
    GridData comp;
    const GridHeader* headers[1] = {&header};
    const GridRole roles[1] = {GridRole::comparison};
    GridData* out[1] = {&comp};
    if (!readHeights(headers, roles, out, 1, err))
        return failed(err);
    PairedComparison paired;
    if (!pairComparison(mt.header(), mt.view(), std::move(comp), pairOptions(options), paired, err))
        return unpaired(err);
    LoadStatus status = replaceComparison(std::move(paired.grid), vertExag, options.kind);
    if (status.ok()) {
        status.notes = paired.notes;
        status.alignment = paired.alignment;
        rd.setAlignment(paired.alignment);
    }
    return status;
}

LoadStatus replaceComparison(GridData&& comp, int vertExag, ComparisonKind kind)
{
    if (comp.header.rows != mt.getRows() || comp.header.cols != mt.getCols() ||
        comp.heights.size() != comp.header.cells())
        return mismatch({PLACEMENT, "Grid sizes do not match"});
    LoadStatus status;
    status.notes = comparisonNotes(comp, kind);
    // A grid made from the comparison in use (moved back by a
    // co-registration) keeps its alignment; a load sets it afresh.
    const Alignment alignment = rd.alignment();
    rd.adopt(std::move(comp), kind);
    rd.setAlignment(alignment);
    multFiles = true;
    sparseData = true;
    // Every analysis starts afresh from the new grid: counts reset before,
    // not after, so that no class comes from the old file's arrays.
    mt.resetCounts();
    analyse(vertExag, true);
    return status;
}

int start(const std::string& demPath, int vertExag, const std::string& compPath, int fileKind, bool& ok,
          int numFiles)
{
    LoadOptions options;
    options.kind = comparisonKindOfFile(fileKind);
    LoadStatus s = loadDataSet(demPath, numFiles == 2 ? compPath : std::string(), vertExag, options);
    if (s.result == LoadResult::failed)
        error(s.error);
    ok = s.ok();
    return 0;
}

void addFile(const std::string& compPath, int vertExag, bool& ok)
{
    LoadStatus s = replaceComparison(compPath, vertExag);
    if (s.result == LoadResult::failed)
        error(s.error);
    ok = s.ok();
}

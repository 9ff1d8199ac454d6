#include "app/cli_export.h"

#include <cstdio>
#include <memory>
#include <ostream>

#include "app/cli.h"
#include "app/cli_streamed.h"
#include "app/optionvalue.h"
#include "dialogs/names.h"
#include "model/loadnotes.h"
#include "model/mosaicvrt.h"
#include "model/pairing.h"
#include "model/rasterpairrows.h"
#include "model/rowblocks.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif

namespace orolith::ui {

namespace {

bool endsWith(const std::string& s, const char* tail)
{
    std::string t = tail;
    return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

bool isTiff(const std::string& out) { return endsWith(out, ".tif") || endsWith(out, ".tiff"); }

// Rows of the output as they are worked out.
class RowSink {
public:
    virtual ~RowSink() = default;
    // Rows [first, first + count) of the sink's own rows.
    virtual bool write(int first, int count, const float* values, std::string& error) = 0;
    virtual bool finish(std::string& error) = 0;
};

class TiffSink : public RowSink {
public:
    TiffSink(const RasterRowWriter& writer, RasterOut* out) : writer_(writer), out_(out) {}
    ~TiffSink() override
    {
        ModelError ignored;
        if (out_)
            writer_.close(out_, ignored);
    }
    bool write(int first, int count, const float* values, std::string& error) override
    {
        ModelError err;
        if (writer_.write(out_, first, count, values, err))
            return true;
        error = err.text();
        return false;
    }
    bool finish(std::string& error) override
    {
        ModelError err;
        RasterOut* out = out_;
        out_ = nullptr;
        if (writer_.close(out, err))
            return true;
        error = err.text();
        return false;
    }

private:
    const RasterRowWriter& writer_;
    RasterOut* out_;
};

class AsciiSink : public RowSink {
public:
    AsciiSink(const std::string& path, const GridHeader& georef) : out_(path, georef, EXPORT_NODATA) {}
    bool write(int, int count, const float* values, std::string&) override { return out_.write(values, count); }
    bool finish(std::string& error) override
    {
        ModelError err;
        if (out_.finish(err))
            return true;
        error = err.text();
        return false;
    }

private:
    AsciiGridWriter out_;
};

// The georeference of grid rows [first, last) of `g`.
GridHeader rowsOf(const GridHeader& g, int first, int last)
{
    GridHeader part = g;
    part.rows = last - first;
    part.yllcorner = g.yllcorner + (g.rows - last) * g.cellsizeY;
    return part;
}

// A text file under a temporary name, renamed over `path` when whole.
bool writeWhole(const std::string& path, const std::string& text, std::string& error)
{
    const std::string partial = path + ".partial";
    std::FILE* f = std::fopen(partial.c_str(), "wb");
    bool ok = f && std::fwrite(text.data(), 1, text.size(), f) == text.size();
    ok = f && std::fclose(f) == 0 && ok;
    if (ok && std::rename(partial.c_str(), path.c_str()) == 0)
        return true;
    std::remove(partial.c_str());
    error = "file \"" + path + "\": could not be written";
    return false;
}

} // namespace

std::string parseExportRequest(const std::vector<const char*>& args, ExportRequest& r)
{
    std::vector<const char*> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        std::string value;
        if (alignOption(args, i, r.options.align, r.options.method, value)) {
            if (!value.empty())
                return value;
        } else if (isNamedOption(arg, "--kind")) {
            if (!optionValue(args, i, value) || !comparisonKindNamed(value, r.options.kind))
                return "--kind is dem, sparse or contour, not \"" + value + "\"";
        } else if (arg == "--geographic") {
            r.options.geographic = true;
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for --export";
        } else {
            rest.push_back(args[i]);
        }
    }
    if (rest.size() < 3 || rest.size() > 4 || !exportKindNamed(rest[0], r.kind))
        return "--export takes curvature, elevdiff, curvediff or aligned, the output file, a DEM and, for the "
               "differences and aligned, a comparison grid";
    r.out = rest[1];
    if (!isTiff(r.out) && !endsWith(r.out, ".asc") && !endsWith(r.out, ".grd") && !endsWith(r.out, ".vrt"))
        return "the output of --export ends in .asc or .grd (ESRI ASCII grid), .tif (GeoTIFF) or .vrt (a mosaic of "
               "GeoTIFFs)";
    if (r.kind != ExportKind::curvature && rest.size() != 4)
        return std::string(rest[0]) + " needs a comparison grid";
    r.dem = rest[2];
    r.comp = rest.size() == 4 ? rest[3] : "";
    return "";
}

int exportMode(const CliRun& run, const std::vector<const char*>& args)
{
    ExportRequest r;
    const std::string why = parseExportRequest(args, r);
    if (!why.empty())
        return usageError(run, why);
    Reduction alone;
    const int streamed = streamedExport(run, r, alone);
    if (streamed != NOT_STREAMED)
        return streamed;
    if (endsWith(r.out, ".vrt"))
        return usageError(run, "a .vrt output is written from rasters on one grid; write .tif from text grids or "
                               "with --align");
    // The values come straight from the grids: no mesh, no classes.
    Pair p;
    if (!readPair(run, r.dem, r.comp, r.options, p))
        return EXIT_MISMATCH;
    std::vector<float> values = exportValues(r.kind, p.demView(), p.compView());
    ModelError err;
    bool written = false;
    if (isTiff(r.out)) {
#ifdef OROLITH_HAVE_GDAL
        written = writeGeoTiffOnDemand(r.out, p.dem.header, values, EXPORT_NODATA, err);
#else
        err = {GRIDFILE, "this build of Orolith writes no GeoTIFF (it was built without GDAL): write .asc instead"};
#endif
    } else {
        written = writeAsciiGrid(r.out, p.dem.header, values, EXPORT_NODATA, err);
    }
    if (!written) {
        run.err << "ERROR: " << err.text() << std::endl;
        return EXIT_MISMATCH;
    }
    return 0;
}

int streamedExport(const CliRun& run, const ExportRequest& r, Reduction& reduction)
{
    if (r.options.align || !run.io.rows || !run.io.tiffRows)
        return NOT_STREAMED;
    GridHeader dem, comp;
    ModelError err;
    const bool read =
        readGridHeader(r.dem, dem, err, run.io) && (r.comp.empty() || readGridHeader(r.comp, comp, err, run.io));
    std::string error = read ? "" : err.text();
    if (!reduction.allSucceeded(read, error)) {
        run.err << "ERROR: " << error << std::endl;
        return FATAL_STATUS;
    }
    if (dem.format != GridFormat::raster || (!r.comp.empty() && comp.format != GridFormat::raster))
        return NOT_STREAMED;
    if (r.options.geographic && !dem.crs.known)
        declareGeographic(dem);
    for (const std::string& note : loadNotes(dem, nullptr, r.options.kind))
        run.messages.notice(note);
    double factor = 1;
    if (!r.comp.empty()) {
        if (!placedForComparison(dem, comp, {r.options.kind, false, r.options.method, false}, run.io, err)) {
            run.err << err.text() << std::endl;
            return EXIT_MISMATCH;
        }
        Alignment alignment;
        factor = heightsOntoDem(dem, comp, alignment);
        for (const std::string& note : unitAndDatumNotes(alignment))
            run.messages.notice(note);
    }
    std::unique_ptr<RasterPairRows> rows = RasterPairRows::open(*run.io.rows, dem, comp, r.options.kind, factor, err);
    error = rows ? "" : err.text();
    if (!reduction.allSucceeded(rows != nullptr, error)) {
        run.err << "ERROR: " << error << std::endl;
        return FATAL_STATUS;
    }

    // This process's rows, and where they go: the output itself, or under a
    // .vrt this process's part; written under a temporary name until whole.
    const BlockRange range = blocksOfRank(dem.rows, reduction.rank(), reduction.ranks());
    const int first = std::min(dem.rows, range.first * BLOCK_ROWS), last = std::min(dem.rows, range.last * BLOCK_ROWS);
    const bool mosaic = endsWith(r.out, ".vrt");
    const std::string target = mosaic ? mosaicPartPath(r.out, reduction.rank()) : r.out;
    const std::string partial = target + ".partial";
    bool ok = true;
    if (last > first) {
        std::unique_ptr<RowSink> sink;
        const GridHeader georef = rowsOf(dem, first, last);
        if (isTiff(target)) {
            RasterOut* out = run.io.tiffRows->create(partial, georef, EXPORT_NODATA, err);
            if (out)
                sink = std::make_unique<TiffSink>(*run.io.tiffRows, out);
            else
                error = err.text();
        } else {
            sink = std::make_unique<AsciiSink>(partial, georef);
        }
        ok = sink != nullptr;
        std::vector<float> values;
        ok = ok && forEachStrip(*rows, range, streamPlan(dem.cols, reduction).stripBlocks, 1, error,
                                [&](const PairStrip& s, int from, int to) {
                                    values.resize(static_cast<std::size_t>(to - from) * dem.cols);
                                    exportRows(r.kind, s, from, to, values.data());
                                    if (ok)
                                        ok = sink->write(from - first, to - from, values.data(), error);
                                });
        ok = ok && sink->finish(error);
    }
    // Nothing replaces a file of the output's name until every process has
    // written its part whole: a failure leaves an earlier export as it was.
    if (!reduction.allSucceeded(ok, error)) {
        std::remove(partial.c_str());
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    const bool renamed = last > first && std::rename(partial.c_str(), target.c_str()) == 0;
    ok = renamed || last <= first;
    if (!ok)
        error = "file \"" + target + "\": could not be written";
    if (!reduction.allSucceeded(ok, error)) {
        std::remove(partial.c_str());
        if (renamed)
            std::remove(target.c_str());
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    if (!mosaic)
        return 0;
    // The first process joins the parts, every process's rows being known.
    ok = true;
    if (reduction.rank() == 0) {
        std::vector<MosaicPart> parts;
        for (int k = 0; k < reduction.ranks(); ++k) {
            const BlockRange b = blocksOfRank(dem.rows, k, reduction.ranks());
            const int a = std::min(dem.rows, b.first * BLOCK_ROWS), z = std::min(dem.rows, b.last * BLOCK_ROWS);
            if (z > a)
                parts.push_back({mosaicPartPath(r.out, k), a, z - a});
        }
        ok = writeWhole(r.out, mosaicVrt(dem, EXPORT_NODATA, parts), error);
    }
    if (!reduction.allSucceeded(ok, error)) {
        if (renamed)
            std::remove(target.c_str());
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    return 0;
}

} // namespace orolith::ui

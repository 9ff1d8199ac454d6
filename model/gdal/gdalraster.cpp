#include "model/gdal/gdalraster.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdalwarper.h>
#include <ogr_srs_api.h>

#include "model/gdal/gdalquiet.h"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>

namespace orolith::model {

namespace {

void startGdal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        // Messages reach the user through our errors, not on the console.
        CPLSetErrorHandler(CPLQuietErrorHandler);
    });
}

std::string gdalSays()
{
    const char* msg = CPLGetLastErrorMsg();
    return msg && *msg ? std::string(" (GDAL: ") + msg + ")" : std::string();
}

struct Dataset {
    GDALDatasetH h;
    explicit Dataset(const std::string& path) : h(GDALOpen(path.c_str(), GA_ReadOnly)) {}
    ~Dataset()
    {
        if (h)
            GDALClose(h);
    }
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;
};

// How the raster's rows and columns map onto a grid whose row 0 is the
// northern row and whose columns run east.
struct Orientation {
    bool flipRows = false, flipCols = false;
};

Orientation orientationOf(const double gt[6]) { return {gt[5] > 0, gt[1] < 0}; }

// A band's unit type, as rasters often carry it instead of a vertical
// coordinate system: metres, international feet or US survey feet.
void unitOfBand(const char* unit, CrsInfo& crs)
{
    const std::string u = unit ? unit : "";
    if (u == "m" || u == "metre" || u == "meter" || u == "metres" || u == "meters") {
        crs.verticalUnit = "metre";
        crs.verticalUnitMetres = 1;
    } else if (u == "ft" || u == "foot" || u == "feet" || u == "international foot") {
        crs.verticalUnit = "foot";
        crs.verticalUnitMetres = 0.3048;
    } else if (u == "US survey foot" || u == "us-ft" || u == "ftUS" || u == "US survey feet") {
        crs.verticalUnit = "US survey foot";
        crs.verticalUnitMetres = 1200.0 / 3937.0;
    }
}

} // namespace

bool readGdalHeader(const std::string& path, GridHeader& h, ModelError& err)
{
    startGdal();
    CPLErrorReset();
    Dataset ds(path);
    if (!ds.h) {
        err = {GRIDFILE, inFile(path) + "neither an ESRI ASCII grid nor a raster GDAL can open" + gdalSays()};
        return false;
    }
    int bands = GDALGetRasterCount(ds.h);
    if (bands != 1) {
        err = {GRIDFILE, inFile(path) + "has " + std::to_string(bands) +
                             " bands; Orolith reads rasters of one band (the heights)"};
        return false;
    }
    double gt[6] = {0, 1, 0, 0, 0, -1};
    bool georeferenced = GDALGetGeoTransform(ds.h, gt) == CE_None;
    if (!georeferenced) { // no georeference: unit cells, corner at the origin, rows as stored
        gt[0] = 0;
        gt[1] = 1;
        gt[2] = gt[4] = 0;
        gt[5] = -1;
        gt[3] = GDALGetRasterYSize(ds.h);
    }
    if (gt[2] != 0 || gt[4] != 0) {
        err = {GRIDFILE, inFile(path) + "is rotated or sheared against north; Orolith reads north-up rasters only"};
        return false;
    }
    double width = std::fabs(gt[1]), height = std::fabs(gt[5]);
    if (!(width > 0) || !(height > 0)) {
        err = {CELLSIZE, inFile(path) + "'cellsize' must be above 0"};
        return false;
    }
    h.rows = GDALGetRasterYSize(ds.h);
    h.cols = GDALGetRasterXSize(ds.h);
    const Orientation o = orientationOf(gt);
    const double west = o.flipCols ? gt[0] + h.cols * gt[1] : gt[0];
    const double north = o.flipRows ? gt[3] + h.rows * gt[5] : gt[3];
    h.xllcorner = west;
    h.yllcorner = north - h.rows * height;
    h.cellsizeX = width;
    h.cellsizeY = height;
    int hasNodata = 0;
    double nodata = GDALGetRasterNoDataValue(GDALGetRasterBand(ds.h, 1), &hasNodata);
    // A no-data tag of NaN is what NaN means anyway; one outside the float
    // range matches no height.
    h.hasNodata = hasNodata && std::isfinite(nodata) && std::fabs(nodata) <= 3.4028234663852886e38;
    h.nodata = h.hasNodata ? static_cast<float>(nodata) : 0.0f;
    const char* wkt = GDALGetProjectionRef(ds.h);
    h.projection = wkt ? wkt : "";
    std::string normalized;
    if (!h.projection.empty())
        describeGdalCrs(h.projection, h.crs, normalized);
    if (h.crs.verticalUnitMetres == 0)
        unitOfBand(GDALGetRasterUnitType(GDALGetRasterBand(ds.h, 1)), h.crs);
    h.text = asciiHeader(h.rows, h.cols, h.xllcorner, h.yllcorner, width, height, h.hasNodata, nodata);
    h.heightsAt = 0;
    return true;
}

bool describeGdalCrs(const std::string& text, CrsInfo& crs, std::string& wkt)
{
    startGdal();
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    bool ok = OSRSetFromUserInput(srs, text.c_str()) == OGRERR_NONE;
    if (!ok) { // ESRI's WKT, as .prj files hold it
        char* copy = CPLStrdup(text.c_str());
        char* lines[] = {copy, nullptr};
        ok = OSRImportFromESRI(srs, lines) == OGRERR_NONE;
        CPLFree(copy);
    }
    if (ok) {
        crs = CrsInfo{};
        crs.known = true;
        crs.geographic = OSRIsGeographic(srs) != 0;
        const char* name = OSRGetName(srs);
        crs.name = name ? name : "";
        OGRErr e = OGRERR_NONE;
        const double a = OSRGetSemiMajor(srs, &e);
        if (e == OGRERR_NONE && a > 0)
            crs.semiMajor = a;
        const double invf = OSRGetInvFlattening(srs, &e);
        if (e == OGRERR_NONE && invf >= 0)
            crs.inverseFlattening = invf;
        // The heights' unit and datum: a compound system's vertical part.
        if (OSRIsCompound(srs) || OSRIsVertical(srs)) {
            char* unit = nullptr;
            const double metres = OSRGetTargetLinearUnits(srs, "VERT_CS", &unit);
            if (metres > 0 && unit) {
                crs.verticalUnit = unit;
                crs.verticalUnitMetres = metres;
            }
            const char* datum = OSRGetAttrValue(srs, "VERT_DATUM", 0);
            if (datum)
                crs.verticalDatum = datum;
        }
        char* out = nullptr;
        if (OSRExportToWkt(srs, &out) == OGRERR_NONE && out)
            wkt = out;
        CPLFree(out);
    }
    OSRDestroySpatialReference(srs);
    return ok;
}

bool sameGdalCrs(const std::string& a, const std::string& b)
{
    startGdal();
    OGRSpatialReferenceH sa = OSRNewSpatialReference(nullptr), sb = OSRNewSpatialReference(nullptr);
    bool same = a == b;
    if (!same && OSRSetFromUserInput(sa, a.c_str()) == OGRERR_NONE &&
        OSRSetFromUserInput(sb, b.c_str()) == OGRERR_NONE) {
        const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES",
                                 "CRITERION=EQUIVALENT_EXCEPT_AXIS_ORDER_GEOGCRS", nullptr};
        same = OSRIsSameEx(sa, sb, options) != 0;
    }
    OSRDestroySpatialReference(sa);
    OSRDestroySpatialReference(sb);
    return same;
}

namespace {

// A float raster in memory over `values` (not copied), under `h`'s
// georeference, NaN its no-data value.
GDALDatasetH memoryRaster(const GridHeader& h, float* values)
{
    GDALDriverH mem = GDALGetDriverByName("MEM");
    GDALDatasetH ds = mem ? GDALCreate(mem, "", h.cols, h.rows, 0, GDT_Float32, nullptr) : nullptr;
    if (!ds)
        return nullptr;
    char pointer[64];
    std::snprintf(pointer, sizeof pointer, "DATAPOINTER=%p", static_cast<void*>(values));
    char* options[] = {pointer, nullptr};
    if (GDALAddBand(ds, GDT_Float32, options) != CE_None) {
        GDALClose(ds);
        return nullptr;
    }
    double gt[6] = {h.xllcorner, h.cellsizeX, 0, h.yllcorner + h.rows * h.cellsizeY, 0, -h.cellsizeY};
    GDALSetGeoTransform(ds, gt);
    if (!h.projection.empty())
        GDALSetProjection(ds, h.projection.c_str());
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), std::numeric_limits<double>::quiet_NaN());
    return ds;
}

GDALResampleAlg resampling(AlignMethod m)
{
    switch (m) {
    case AlignMethod::nearest: return GRA_NearestNeighbour;
    case AlignMethod::cubic: return GRA_Cubic;
    case AlignMethod::bilinear: break;
    }
    return GRA_Bilinear;
}

} // namespace

bool warpGdal(const GridHeader& from, const float* source, const GridHeader& onto, AlignMethod method,
              std::vector<float>& out, ModelError& err)
{
    startGdal();
    CPLErrorReset();
    // The warper only reads the source: the memory raster may lie over it.
    float* in = const_cast<float*>(source);
    out.assign(onto.cells(), std::numeric_limits<float>::quiet_NaN());
    GridHeader target = onto;
    // A grid that names no coordinate system lies in the other's.
    GridHeader src = from;
    if (src.projection.empty())
        src.projection = target.projection;
    if (target.projection.empty())
        target.projection = src.projection;
    GDALDatasetH s = memoryRaster(src, in), d = memoryRaster(target, out.data());
    bool ok = s && d;
    void* transformer = ok ? GDALCreateGenImgProjTransformer2(s, d, nullptr) : nullptr;
    // As gdalwarp does: the exact transformer at every eighth of a pixel's
    // error, interpolated between.
    void* approx = transformer ? GDALCreateApproxTransformer(GDALGenImgProjTransform, transformer, 0.125) : nullptr;
    ok = approx != nullptr;
    if (ok) {
        GDALWarpOptions* o = GDALCreateWarpOptions();
        o->hSrcDS = s;
        o->hDstDS = d;
        o->nBandCount = 1;
        o->panSrcBands = static_cast<int*>(CPLMalloc(sizeof(int)));
        o->panSrcBands[0] = 1;
        o->panDstBands = static_cast<int*>(CPLMalloc(sizeof(int)));
        o->panDstBands[0] = 1;
        o->eResampleAlg = resampling(method);
        o->eWorkingDataType = GDT_Float32;
        o->padfSrcNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
        o->padfSrcNoDataReal[0] = std::numeric_limits<double>::quiet_NaN();
        o->padfDstNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
        o->padfDstNoDataReal[0] = std::numeric_limits<double>::quiet_NaN();
        o->papszWarpOptions = CSLSetNameValue(o->papszWarpOptions, "INIT_DEST", "NO_DATA");
        o->papszWarpOptions = CSLSetNameValue(o->papszWarpOptions, "NUM_THREADS", "ALL_CPUS");
        o->dfWarpMemoryLimit = 256.0 * 1024 * 1024;
        o->pfnTransformer = GDALApproxTransform;
        o->pTransformerArg = approx;
        GDALWarpOperationH w = GDALCreateWarpOperation(o);
        ok = w && GDALChunkAndWarpMulti(w, 0, 0, target.cols, target.rows) == CE_None;
        if (w)
            GDALDestroyWarpOperation(w);
        o->pTransformerArg = nullptr;
        GDALDestroyWarpOptions(o);
    }
    if (approx)
        GDALDestroyApproxTransformer(approx);
    if (transformer)
        GDALDestroyGenImgProjTransformer(transformer);
    if (d)
        GDALClose(d);
    if (s)
        GDALClose(s);
    if (!ok) {
        err = {GRIDFILE, "file \"" + from.path + "\": could not be resampled onto the DEM's grid" + gdalSays()};
        return false;
    }
    return true;
}

bool transformGdal(const std::string& fromWkt, const std::string& toWkt, double* x, double* y, std::size_t n,
                   ModelError& err)
{
    startGdal();
    CPLErrorReset();
    OGRSpatialReferenceH a = OSRNewSpatialReference(nullptr), b = OSRNewSpatialReference(nullptr);
    OGRCoordinateTransformationH t = nullptr;
    if (OSRSetFromUserInput(a, fromWkt.c_str()) == OGRERR_NONE &&
        OSRSetFromUserInput(b, toWkt.c_str()) == OGRERR_NONE) {
        // Easting (longitude) first, whatever the system's own axis order.
        OSRSetAxisMappingStrategy(a, OAMS_TRADITIONAL_GIS_ORDER);
        OSRSetAxisMappingStrategy(b, OAMS_TRADITIONAL_GIS_ORDER);
        t = OCTNewCoordinateTransformation(a, b);
    }
    bool ok = t != nullptr;
    for (std::size_t done = 0; ok && done < n;) {
        const int part = static_cast<int>(std::min<std::size_t>(n - done, 1 << 20));
        std::vector<int> success(static_cast<std::size_t>(part));
        OCTTransformEx(t, part, x + done, y + done, nullptr, success.data());
        for (int k = 0; k < part; ++k)
            if (!success[static_cast<std::size_t>(k)])
                x[done + static_cast<std::size_t>(k)] = y[done + static_cast<std::size_t>(k)] =
                    std::numeric_limits<double>::quiet_NaN();
        done += static_cast<std::size_t>(part);
    }
    if (t)
        OCTDestroyCoordinateTransformation(t);
    OSRDestroySpatialReference(a);
    OSRDestroySpatialReference(b);
    if (!ok)
        err = {GRIDFILE,
               "the coordinate systems of the two grids could not be transformed into each other" + gdalSays()};
    return ok;
}

bool readGdalHeights(const GridHeader& h, std::vector<float>& heights, ModelError& err,
                     std::atomic<std::size_t>* bytesRead)
{
    startGdal();
    CPLErrorReset();
    Dataset ds(h.path);
    double gt[6] = {0, 1, 0, 0, 0, -1};
    GDALGetGeoTransform(ds.h, gt);
    if (!ds.h || GDALGetRasterYSize(ds.h) != h.rows || GDALGetRasterXSize(ds.h) != h.cols) {
        err = {GRIDFILE, inFile(h.path) + "could not be read again" + gdalSays()};
        return false;
    }
    const Orientation o = orientationOf(gt);
    GDALRasterBandH band = GDALGetRasterBand(ds.h, 1);
    heights.assign(h.cells(), 0.0f);
    const int step = 256;
    for (int r0 = 0; r0 < h.rows; r0 += step) {
        int n = std::min(step, h.rows - r0);
        float* to = heights.data() + static_cast<std::size_t>(r0) * h.cols;
        if (GDALRasterIO(band, GF_Read, 0, r0, h.cols, n, to, h.cols, n, GDT_Float32, 0, 0) != CE_None) {
            err = {GRIDFILE, inFile(h.path) + "rows " + std::to_string(r0) + " to " + std::to_string(r0 + n - 1) +
                                 " could not be read" + gdalSays()};
            return false;
        }
        if (bytesRead)
            bytesRead->fetch_add(h.fileSize * static_cast<std::size_t>(n) /
                                 static_cast<std::size_t>(std::max(h.rows, 1)));
    }
    // NaN stays NaN: the grid reader marks it absent.
    if (o.flipRows)
        for (int r = 0; r < h.rows / 2; ++r)
            std::swap_ranges(heights.begin() + static_cast<std::ptrdiff_t>(r) * h.cols,
                             heights.begin() + static_cast<std::ptrdiff_t>(r + 1) * h.cols,
                             heights.begin() + static_cast<std::ptrdiff_t>(h.rows - 1 - r) * h.cols);
    if (o.flipCols)
        for (int r = 0; r < h.rows; ++r)
            std::reverse(heights.begin() + static_cast<std::ptrdiff_t>(r) * h.cols,
                         heights.begin() + static_cast<std::ptrdiff_t>(r + 1) * h.cols);
    return true;
}

// An open raster and how its rows lie against the grid's.
struct RasterRows {
    GridHeader header;
    GDALDatasetH dataset = nullptr;
    Orientation orientation;
};

RasterRows* openGdalRows(const GridHeader& h, ModelError& err)
{
    startGdal();
    CPLErrorReset();
    // Strips are read once each: GDAL's block cache (5 % of the memory by
    // default) would hold more than the strips themselves.
    const GIntBig cacheForStrips = 128 << 20;
    if (GDALGetCacheMax64() > cacheForStrips)
        GDALSetCacheMax64(cacheForStrips);
    GDALDatasetH ds = GDALOpen(h.path.c_str(), GA_ReadOnly);
    if (!ds || GDALGetRasterYSize(ds) != h.rows || GDALGetRasterXSize(ds) != h.cols) {
        if (ds)
            GDALClose(ds);
        err = {GRIDFILE, inFile(h.path) + "could not be read again" + gdalSays()};
        return nullptr;
    }
    double gt[6] = {0, 1, 0, 0, 0, -1};
    GDALGetGeoTransform(ds, gt);
    return new RasterRows{h, ds, orientationOf(gt)};
}

bool readGdalRows(RasterRows* r, int first, int count, float* heights, ModelError& err)
{
    CPLErrorReset();
    const GridHeader& h = r->header;
    // The grid's rows [first, first + count) are the raster's last ones,
    // in reverse, when the raster runs south to north.
    const int from = r->orientation.flipRows ? h.rows - first - count : first;
    GDALRasterBandH band = GDALGetRasterBand(r->dataset, 1);
    if (GDALRasterIO(band, GF_Read, 0, from, h.cols, count, heights, h.cols, count, GDT_Float32, 0, 0) != CE_None) {
        err = {GRIDFILE, inFile(h.path) + "rows " + std::to_string(first) + " to " + std::to_string(first + count - 1) +
                             " could not be read" + gdalSays()};
        return false;
    }
    const std::ptrdiff_t cols = h.cols;
    if (r->orientation.flipRows)
        for (int k = 0; k < count / 2; ++k)
            std::swap_ranges(heights + k * cols, heights + (k + 1) * cols, heights + (count - 1 - k) * cols);
    if (r->orientation.flipCols)
        for (int k = 0; k < count; ++k)
            std::reverse(heights + k * cols, heights + (k + 1) * cols);
    return true;
}

void closeGdalRows(RasterRows* r)
{
    if (r && r->dataset)
        GDALClose(r->dataset);
    delete r;
}

struct RasterOut {
    std::string path;
    GDALDatasetH dataset = nullptr;
    int cols = 0;
    bool failed = false;
};

RasterOut* createGdalTiff(const std::string& path, const GridHeader& g, float nodata, ModelError& err)
{
    startGdal();
    CPLErrorReset();
    GDALDriverH driver = GDALGetDriverByName("GTiff");
    // Compressed on every core: writing a large grid is mostly deflating it.
    // BigTIFF when the grid needs it.
    char compress[] = "COMPRESS=DEFLATE", threads[] = "NUM_THREADS=ALL_CPUS", big[] = "BIGTIFF=IF_SAFER";
    char* options[] = {compress, threads, big, nullptr};
    GDALDatasetH ds = driver ? GDALCreate(driver, path.c_str(), g.cols, g.rows, 1, GDT_Float32, options) : nullptr;
    if (!ds) {
        err = {GRIDFILE, inFile(path) + "could not be created" + gdalSays()};
        return nullptr;
    }
    double gt[6] = {g.xllcorner, g.cellsizeX, 0, g.yllcorner + g.rows * g.cellsizeY, 0, -g.cellsizeY};
    GDALSetGeoTransform(ds, gt);
    if (!g.projection.empty())
        GDALSetProjection(ds, g.projection.c_str());
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), nodata);
    return new RasterOut{path, ds, g.cols, false};
}

bool writeGdalRows(RasterOut* out, int first, int count, const float* values, ModelError& err)
{
    CPLErrorReset();
    if (GDALRasterIO(GDALGetRasterBand(out->dataset, 1), GF_Write, 0, first, out->cols, count,
                     const_cast<float*>(values), out->cols, count, GDT_Float32, 0, 0) != CE_None) {
        out->failed = true;
        err = {GRIDFILE, inFile(out->path) + "rows " + std::to_string(first) + " to " +
                             std::to_string(first + count - 1) + " could not be written" + gdalSays()};
        return false;
    }
    return true;
}

bool closeGdalTiff(RasterOut* out, ModelError& err)
{
    CPLErrorReset();
    GDALClose(out->dataset); // flushes: a failure shows as GDAL's last error
    const bool flushed = CPLGetLastErrorType() < CE_Failure;
    const bool ok = flushed && !out->failed;
    if (!ok && !out->failed)
        err = {GRIDFILE, inFile(out->path) + "could not be written" + gdalSays()};
    delete out;
    return ok;
}

bool writeGeoTiff(const std::string& path, const GridHeader& g, const std::vector<float>& values, float nodata,
                  ModelError& err)
{
    RasterOut* out = createGdalTiff(path, g, nodata, err);
    if (!out)
        return false;
    const bool written = writeGdalRows(out, 0, g.rows, values.data(), err);
    const bool closed = closeGdalTiff(out, err); // keeps a write's message
    return written && closed;
}

} // namespace orolith::model

#include "model/gdal/gdalmask.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <gdal.h>
#include <gdal_alg.h>
#include <gdalwarper.h>
#include <ogr_api.h>

#include "model/gdal/gdalquiet.h"
#include <cmath>
#include <cstdio>
#include <memory>

namespace orolith::model {

namespace {

std::string gdalSays()
{
    const char* msg = CPLGetLastErrorMsg();
    return msg && *msg ? std::string(" (GDAL: ") + msg + ")" : std::string();
}

struct DatasetCloser {
    void operator()(void* ds) const { GDALClose(ds); }
};
using Dataset = std::unique_ptr<void, DatasetCloser>;

bool polygonal(OGRwkbGeometryType type)
{
    switch (wkbFlatten(type)) {
    case wkbPolygon:
    case wkbMultiPolygon:
    case wkbCurvePolygon:
    case wkbMultiSurface: return true;
    default: return false;
    }
}

// A layer of no declared type (GeoJSON of mixed features, say) is judged
// by its first geometry.
OGRwkbGeometryType geometryTypeOf(OGRLayerH layer)
{
    const OGRwkbGeometryType declared = OGR_L_GetGeomType(layer);
    if (wkbFlatten(declared) != wkbUnknown)
        return declared;
    OGR_L_ResetReading(layer);
    OGRwkbGeometryType found = wkbUnknown;
    for (OGRFeatureH f; found == wkbUnknown && (f = OGR_L_GetNextFeature(layer)) != nullptr; OGR_F_Destroy(f))
        if (OGRGeometryH g = OGR_F_GetGeometryRef(f))
            found = OGR_G_GetGeometryType(g);
    OGR_L_ResetReading(layer);
    return found;
}

OGRLayerH firstPolygonLayer(GDALDatasetH ds)
{
    for (int i = 0; i < GDALDatasetGetLayerCount(ds); ++i) {
        OGRLayerH layer = GDALDatasetGetLayer(ds, i);
        if (polygonal(geometryTypeOf(layer)))
            return layer;
    }
    return nullptr;
}

// What the vector file holds instead of polygons, for the message.
std::string instead(GDALDatasetH ds)
{
    if (GDALDatasetGetLayerCount(ds) < 1)
        return std::string();
    OGRLayerH layer = GDALDatasetGetLayer(ds, 0);
    const OGRwkbGeometryType type = geometryTypeOf(layer);
    const std::string what = type == wkbNone || type == wkbUnknown
                                 ? std::string("no geometry")
                                 : std::string(OGRGeometryTypeToName(type)) + " geometries";
    return " (its layer \"" + std::string(OGR_L_GetName(layer)) + "\" holds " + what + ")";
}

// A one-band raster in memory over `values` (not copied), with the DEM's
// georeference: GDAL writes straight into the caller's vector.
Dataset memoryGrid(const GridHeader& dem, GDALDataType type, void* values)
{
    GDALDriverH mem = GDALGetDriverByName("MEM");
    Dataset ds(mem ? GDALCreate(mem, "", dem.cols, dem.rows, 0, type, nullptr) : nullptr);
    if (!ds)
        return nullptr;
    char pointer[64];
    std::snprintf(pointer, sizeof pointer, "DATAPOINTER=%p", values);
    char* options[] = {pointer, nullptr};
    if (GDALAddBand(ds.get(), type, options) != CE_None)
        return nullptr;
    double gt[6] = {dem.xllcorner, dem.cellsizeX, 0, dem.yllcorner + dem.rows * dem.cellsizeY, 0, -dem.cellsizeY};
    GDALSetGeoTransform(ds.get(), gt);
    // With the DEM's system on the target, GDAL moves polygons and rasters
    // of another known system into it.
    if (!dem.projection.empty())
        GDALSetProjection(ds.get(), dem.projection.c_str());
    return ds;
}

bool burnPolygons(const MaskSource& source, OGRLayerH layer, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                  std::string& error)
{
    const std::uint8_t inside = source.keepInside ? 1 : 0;
    mask.assign(dem.cells(), static_cast<std::uint8_t>(1 - inside));
    Dataset grid = memoryGrid(dem, GDT_Byte, mask.data());
    int band = 1;
    double burn = inside;
    // The default rule, a cell inside when its centre is: the mask agrees
    // with how the cells' heights are read, at their centres.
    const bool ok = grid && GDALRasterizeLayers(grid.get(), 1, &band, 1, &layer, nullptr, nullptr, &burn, nullptr,
                                                nullptr, nullptr) == CE_None;
    if (!ok) {
        error = inFile(source.path) + "its polygons could not be burnt onto the DEM's grid" + gdalSays();
        mask.clear();
    }
    return ok;
}

// Nearest neighbour from band 1 of `raster` onto `onto` (the memory grid,
// of `type`, all 0): the cells no source cell covers, or covered by a
// no-data cell, are not written and stay 0.
bool warpNearest(GDALDatasetH raster, GDALDatasetH onto, GDALDataType type)
{
    void* exact = GDALCreateGenImgProjTransformer2(raster, onto, nullptr);
    // As gdalwarp does: exact at every eighth of a cell's error and
    // interpolated between, or a raster in another system would cost a
    // projection a cell.
    void* approx = exact ? GDALCreateApproxTransformer(GDALGenImgProjTransform, exact, 0.125) : nullptr;
    bool ok = approx != nullptr;
    if (ok) {
        GDALWarpOptions* o = GDALCreateWarpOptions();
        o->hSrcDS = raster;
        o->hDstDS = onto;
        o->nBandCount = 1;
        o->panSrcBands = static_cast<int*>(CPLMalloc(sizeof(int)));
        o->panSrcBands[0] = 1;
        o->panDstBands = static_cast<int*>(CPLMalloc(sizeof(int)));
        o->panDstBands[0] = 1;
        o->eResampleAlg = GRA_NearestNeighbour;
        o->eWorkingDataType = type;
        int hasNodata = 0;
        const double nodata = GDALGetRasterNoDataValue(GDALGetRasterBand(raster, 1), &hasNodata);
        if (hasNodata) {
            o->padfSrcNoDataReal = static_cast<double*>(CPLMalloc(sizeof(double)));
            o->padfSrcNoDataReal[0] = nodata;
        }
        o->papszWarpOptions = CSLSetNameValue(o->papszWarpOptions, "INIT_DEST", "0");
        o->papszWarpOptions = CSLSetNameValue(o->papszWarpOptions, "NUM_THREADS", "ALL_CPUS");
        o->dfWarpMemoryLimit = 256.0 * 1024 * 1024;
        o->pfnTransformer = GDALApproxTransform;
        o->pTransformerArg = approx;
        GDALWarpOperationH w = GDALCreateWarpOperation(o);
        ok = w && GDALChunkAndWarpMulti(w, 0, 0, GDALGetRasterXSize(onto), GDALGetRasterYSize(onto)) == CE_None;
        if (w)
            GDALDestroyWarpOperation(w);
        o->pTransformerArg = nullptr;
        GDALDestroyWarpOptions(o);
    }
    if (approx)
        GDALDestroyApproxTransformer(approx);
    if (exact)
        GDALDestroyGenImgProjTransformer(exact);
    return ok;
}

bool stable(float v) { return v != 0.0f && !std::isnan(v); } // NaN: no data all the same

// A raster without a georeference can only be the DEM's own grid, cell
// for cell.
bool readUnplaced(GDALDatasetH raster, const GridHeader& dem, std::vector<std::uint8_t>& mask)
{
    if (GDALGetRasterXSize(raster) != dem.cols || GDALGetRasterYSize(raster) != dem.rows)
        return false;
    GDALRasterBandH band = GDALGetRasterBand(raster, 1);
    std::vector<float> values(dem.cells());
    if (GDALRasterIO(band, GF_Read, 0, 0, dem.cols, dem.rows, values.data(), dem.cols, dem.rows, GDT_Float32, 0, 0) !=
        CE_None)
        return false;
    int hasNodata = 0;
    const float nodata = static_cast<float>(GDALGetRasterNoDataValue(band, &hasNodata));
    mask.resize(values.size());
    for (std::size_t i = 0; i < values.size(); ++i)
        mask[i] = stable(values[i]) && !(hasNodata && values[i] == nodata);
    return true;
}

// Onto the DEM's grid through a buffer of the raster's type when it holds
// bytes, the usual mask, of floats otherwise: a fraction such as 0.5 must
// stay non-zero, but floats take GDAL's warper four times as long.
bool warpOnto(GDALDatasetH raster, const GridHeader& dem, std::vector<std::uint8_t>& mask)
{
    const bool bytes = GDALGetRasterDataType(GDALGetRasterBand(raster, 1)) == GDT_Byte;
    mask.assign(dem.cells(), 0);
    std::vector<float> values(bytes ? 0 : dem.cells(), 0.0f);
    const GDALDataType type = bytes ? GDT_Byte : GDT_Float32;
    Dataset grid = memoryGrid(dem, type, bytes ? static_cast<void*>(mask.data()) : values.data());
    if (!grid || !warpNearest(raster, grid.get(), type))
        return false;
    if (bytes)
        for (std::uint8_t& m : mask)
            m = m != 0;
    else
        for (std::size_t i = 0; i < values.size(); ++i)
            mask[i] = stable(values[i]);
    return true;
}

bool resampleRaster(const MaskSource& source, GDALDatasetH raster, const GridHeader& dem,
                    std::vector<std::uint8_t>& mask, std::string& error)
{
    double gt[6];
    if (GDALGetGeoTransform(raster, gt) != CE_None) {
        if (readUnplaced(raster, dem, mask))
            return true;
        error = inFile(source.path) + "a raster without a georeference, and not of the DEM's " +
                std::to_string(dem.rows) + " x " + std::to_string(dem.cols) + " cells";
    } else {
        if (warpOnto(raster, dem, mask))
            return true;
        error = inFile(source.path) + "could not be resampled onto the DEM's grid" + gdalSays();
    }
    mask.clear();
    return false;
}

} // namespace

bool readMaskFile(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask, std::string& error)
{
    mask.clear();
    GDALAllRegister(); // once is enough; later calls return at once
    QuietErrors quiet;
    Dataset ds(GDALOpenEx(source.path.c_str(), GDAL_OF_VECTOR | GDAL_OF_RASTER, nullptr, nullptr, nullptr));
    if (!ds) {
        error = inFile(source.path) + "cannot be opened as a polygon layer or a raster" + gdalSays();
        return false;
    }
    if (OGRLayerH layer = firstPolygonLayer(ds.get()))
        return burnPolygons(source, layer, dem, mask, error);
    if (GDALGetRasterCount(ds.get()) > 0)
        return resampleRaster(source, ds.get(), dem, mask, error);
    error = inFile(source.path) + "has no polygon layer and is not a raster" + instead(ds.get());
    return false;
}

} // namespace orolith::model

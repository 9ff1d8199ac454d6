#include "model/gdal/gdalpoints.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>

namespace orolith::model {

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

bool isTable(const std::string& path)
{
    const std::string p = lower(path);
    for (const char* ext : {".csv", ".tsv", ".txt"})
        if (p.size() > 4 && p.compare(p.size() - 4, 4, ext) == 0)
            return true;
    return false;
}

// The whole of `text`, blanks around it aside, as a finite number. Read
// in place: a million points must not cost a million copies.
bool parseNumber(const char* text, double& v)
{
    if (!text)
        return false;
    const char* begin = text;
    const char* end = text + std::strlen(text);
    while (begin < end && std::isspace(static_cast<unsigned char>(*begin)))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(end[-1])))
        --end;
    if (begin < end && *begin == '+')
        ++begin;
    auto [ptr, ec] = std::from_chars(begin, end, v);
    return ec == std::errc() && ptr == end && begin != end && std::isfinite(v);
}

// The field of `name`, in any case; -1 without one.
int fieldNamed(OGRFeatureDefnH defn, const std::string& name)
{
    const std::string wanted = lower(name);
    for (int i = 0; i < OGR_FD_GetFieldCount(defn); ++i)
        if (lower(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(defn, i))) == wanted)
            return i;
    return -1;
}

struct DatasetCloser {
    void operator()(void* ds) const { GDALClose(ds); }
};
struct TransformCloser {
    void operator()(OGRCoordinateTransformationH t) const { OCTDestroyCoordinateTransformation(t); }
};
struct SrsCloser {
    void operator()(OGRSpatialReferenceH s) const { OSRDestroySpatialReference(s); }
};
using Srs = std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SrsCloser>;

Srs srsFrom(const std::string& text)
{
    Srs srs(OSRNewSpatialReference(nullptr));
    if (OSRSetFromUserInput(srs.get(), text.c_str()) != OGRERR_NONE)
        return nullptr;
    OSRSetAxisMappingStrategy(srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    return srs;
}

} // namespace

bool readPointFile(const PointSource& source, std::vector<Checkpoint>& points, std::string& error)
{
    points.clear();
    GDALAllRegister(); // once is enough; later calls return at once
    const bool table = isTable(source.path);
    const std::string opened =
        table && lower(source.path).find(".csv") == std::string::npos ? "CSV:" + source.path : source.path;
    const char* const csvOnly[] = {"CSV", nullptr};
    std::unique_ptr<void, DatasetCloser> ds(
        GDALOpenEx(opened.c_str(), GDAL_OF_VECTOR, table ? csvOnly : nullptr, nullptr, nullptr));
    if (!ds || GDALDatasetGetLayerCount(ds.get()) < 1) {
        error = "Cannot read points from \"" + source.path + "\": not a table or vector file GDAL reads.";
        return false;
    }
    OGRLayerH layer = GDALDatasetGetLayer(ds.get(), 0);
    OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
    const int xField = fieldNamed(defn, source.columns.x), yField = fieldNamed(defn, source.columns.y);
    const int zField = fieldNamed(defn, source.columns.z), classField = fieldNamed(defn, source.columns.pointClass);
    if (table) {
        for (const auto& [field, name] : {std::pair{xField, source.columns.x}, std::pair{yField, source.columns.y},
                                          std::pair{zField, source.columns.z}})
            if (field < 0) {
                error = "The table \"" + source.path + "\" has no column \"" + name +
                        "\" (name the columns with --columns x,y,z[,class]).";
                return false;
            }
    }

    // Into the DEM's coordinate system, when both are known and differ.
    Srs demSrs = source.demWkt.empty() ? nullptr : srsFrom(source.demWkt);
    Srs pointSrs;
    if (!source.pointsCrs.empty()) {
        pointSrs = srsFrom(source.pointsCrs);
        if (!pointSrs) {
            error = "Cannot read the points' coordinate system \"" + source.pointsCrs + "\".";
            return false;
        }
    } else if (OGRSpatialReferenceH own = OGR_L_GetSpatialRef(layer)) {
        pointSrs.reset(OSRClone(own));
        OSRSetAxisMappingStrategy(pointSrs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    }
    std::unique_ptr<std::remove_pointer_t<OGRCoordinateTransformationH>, TransformCloser> transform;
    if (demSrs && pointSrs && !OSRIsSame(demSrs.get(), pointSrs.get())) {
        transform.reset(OCTNewCoordinateTransformation(pointSrs.get(), demSrs.get()));
        if (!transform) {
            error = "Cannot move the points of \"" + source.path + "\" into the DEM's coordinate system.";
            return false;
        }
    }

    OGR_L_ResetReading(layer);
    long long line = 1; // a table's header
    for (OGRFeatureH f; (f = OGR_L_GetNextFeature(layer)) != nullptr; OGR_F_Destroy(f)) {
        ++line;
        Checkpoint p;
        bool ok = true;
        if (table) {
            const std::pair<int, double*> wanted[] = {{xField, &p.x}, {yField, &p.y}, {zField, &p.z}};
            for (const auto& [field, value] : wanted)
                if (!parseNumber(OGR_F_GetFieldAsString(f, field), *value)) {
                    error = "The table \"" + source.path + "\", line " + std::to_string(line) + ", column \"" +
                            OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(defn, field)) + "\": \"" +
                            OGR_F_GetFieldAsString(f, field) + "\" is not a number.";
                    ok = false;
                    break;
                }
        } else {
            OGRGeometryH g = OGR_F_GetGeometryRef(f);
            if (!g || wkbFlatten(OGR_G_GetGeometryType(g)) != wkbPoint) {
                error = "\"" + source.path + "\" holds a feature that is not a point (feature " +
                        std::to_string(OGR_F_GetFID(f)) + ").";
                ok = false;
            } else {
                p.x = OGR_G_GetX(g, 0);
                p.y = OGR_G_GetY(g, 0);
                p.z = zField >= 0 ? OGR_F_GetFieldAsDouble(f, zField) : OGR_G_GetZ(g, 0);
                if (zField < 0 && OGR_G_GetCoordinateDimension(g) < 3) {
                    error = "\"" + source.path + "\" has points without heights: no z and no field \"" +
                            source.columns.z + "\".";
                    ok = false;
                }
            }
        }
        if (!ok) {
            OGR_F_Destroy(f);
            points.clear();
            return false;
        }
        if (classField >= 0)
            p.pointClass = OGR_F_GetFieldAsString(f, classField);
        if (transform && !OCTTransform(transform.get(), 1, &p.x, &p.y, nullptr)) {
            error = "Cannot move a point of \"" + source.path + "\" into the DEM's coordinate system.";
            OGR_F_Destroy(f);
            points.clear();
            return false;
        }
        points.push_back(p);
    }
    return true;
}

} // namespace orolith::model

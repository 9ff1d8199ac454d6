#include "model/gdal/gdalresiduals.h"

#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include "model/gdal/gdalquiet.h"
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace orolith::model {

namespace {

std::string gdalReason()
{
    const char* msg = CPLGetLastErrorMsg();
    return msg && *msg ? std::string("GDAL: ") + msg : std::string("GDAL gives no reason");
}

bool endsWith(const std::string& path, const char* ext)
{
    std::string p = path;
    std::transform(p.begin(), p.end(), p.begin(), [](unsigned char c) { return std::tolower(c); });
    const std::size_t n = std::strlen(ext);
    return p.size() > n && p.compare(p.size() - n, n, ext) == 0;
}

// The shortest text that reads back as the same double; nothing for NaN,
// which a table reader then takes as a missing value.
void appendNumber(std::string& line, double v)
{
    if (!std::isnan(v)) {
        char buf[32];
        line.append(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
    }
}

void appendText(std::string& line, const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        line += text;
        return;
    }
    line += '"';
    for (char c : text) {
        if (c == '"')
            line += '"';
        line += c;
    }
    line += '"';
}

bool writeCsv(const std::string& to, const std::vector<ResidualRow>& rows, std::string& why)
{
    std::FILE* f = std::fopen(to.c_str(), "wb");
    if (!f) {
        why = std::strerror(errno);
        return false;
    }
    std::string line = "x,y,z,dem_height,d,slope,class\n";
    bool ok = true;
    for (const ResidualRow& r : rows) {
        for (double v : {r.x, r.y, r.z, r.demHeight, r.d, r.slope}) {
            appendNumber(line, v);
            line += ',';
        }
        appendText(line, r.pointClass);
        line += '\n';
        if (line.size() > (1u << 20)) { // a megabyte a write
            ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
            line.clear();
        }
    }
    ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
    if (!ok)
        why = std::strerror(errno);
    if (std::fclose(f) != 0 && ok) {
        why = std::strerror(errno);
        ok = false;
    }
    return ok;
}

struct DatasetCloser {
    void operator()(void* ds) const { GDALClose(ds); }
};
struct SrsCloser {
    void operator()(OGRSpatialReferenceH s) const { OSRDestroySpatialReference(s); }
};
struct FeatureCloser {
    void operator()(OGRFeatureH f) const { OGR_F_Destroy(f); }
};

bool addFields(OGRLayerH layer)
{
    for (const char* name : {"x", "y", "z", "dem_height", "d", "slope", "class"}) {
        OGRFieldDefnH field = OGR_Fld_Create(name, std::strcmp(name, "class") == 0 ? OFTString : OFTReal);
        const bool ok = OGR_L_CreateField(layer, field, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(field);
        if (!ok)
            return false;
    }
    return true;
}

// One feature, its point moved and its fields set again for each row:
// making a million features would cost more than writing them.
bool addRows(OGRLayerH layer, const std::vector<ResidualRow>& rows)
{
    std::unique_ptr<std::remove_pointer_t<OGRFeatureH>, FeatureCloser> f(OGR_F_Create(OGR_L_GetLayerDefn(layer)));
    OGR_F_SetGeometryDirectly(f.get(), OGR_G_CreateGeometry(wkbPoint));
    OGRGeometryH point = OGR_F_GetGeometryRef(f.get());
    for (const ResidualRow& r : rows) {
        OGR_G_SetPoint_2D(point, 0, r.x, r.y);
        const double values[] = {r.x, r.y, r.z, r.demHeight, r.d, r.slope};
        for (int i = 0; i < 6; ++i)
            if (std::isnan(values[i]))
                OGR_F_SetFieldNull(f.get(), i); // SQLite would store NaN as NULL anyway
            else
                OGR_F_SetFieldDouble(f.get(), i, values[i]);
        OGR_F_SetFieldString(f.get(), 6, r.pointClass.c_str());
        OGR_F_SetFID(f.get(), OGRNullFID);
        if (OGR_L_CreateFeature(layer, f.get()) != OGRERR_NONE)
            return false;
    }
    return true;
}

bool writeGeoPackage(const std::string& to, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                     std::string& why)
{
    GDALAllRegister(); // once is enough; later calls return at once
    // By name: the file's temporary name does not end in .gpkg.
    GDALDriverH driver = GDALGetDriverByName("GPKG");
    std::unique_ptr<void, DatasetCloser> ds(driver ? GDALCreate(driver, to.c_str(), 0, 0, 0, GDT_Unknown, nullptr)
                                                   : nullptr);
    std::unique_ptr<std::remove_pointer_t<OGRSpatialReferenceH>, SrsCloser> srs(OSRNewSpatialReference(nullptr));
    if (demWkt.empty()) {
        // Not GeoPackage's default for none, its undefined geographic
        // system: a DEM of no named system is seldom in degrees.
        OSRSetLocalCS(srs.get(), "Undefined Cartesian SRS");
    } else if (OSRSetFromUserInput(srs.get(), demWkt.c_str()) != OGRERR_NONE) {
        why = "the DEM's coordinate system could not be read";
        return false;
    }
    OSRSetAxisMappingStrategy(srs.get(), OAMS_TRADITIONAL_GIS_ORDER);
    // No spatial index: with GDAL 3.6 building it takes five times as
    // long as writing a million points, and a GIS draws one layer of
    // points well enough without it (or builds one when asked).
    char noIndex[] = "SPATIAL_INDEX=NO";
    char* options[] = {noIndex, nullptr};
    OGRLayerH layer = ds ? GDALDatasetCreateLayer(ds.get(), "residuals", srs.get(), wkbPoint, options) : nullptr;
    // In one transaction: SQLite would otherwise commit every row.
    bool ok = layer && addFields(layer) && GDALDatasetStartTransaction(ds.get(), FALSE) == OGRERR_NONE;
    ok = ok && addRows(layer, rows) && GDALDatasetCommitTransaction(ds.get()) == OGRERR_NONE;
    ds.reset(); // closing writes what remains
    ok = ok && CPLGetLastErrorType() < CE_Failure;
    if (!ok && why.empty())
        why = gdalReason();
    return ok;
}

void removeWithSidecars(const std::string& path)
{
    for (const char* suffix : {"", "-journal", "-wal", "-shm"})
        std::remove((path + suffix).c_str());
}

} // namespace

bool writeResidualFile(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                       std::string& error)
{
    const bool csv = endsWith(path, ".csv"), gpkg = endsWith(path, ".gpkg");
    if (!csv && !gpkg) {
        error = inFile(path) + "the residuals file must end in .csv or .gpkg";
        return false;
    }
    QuietErrors quiet;
    // Written under another name and renamed when whole: a failure leaves
    // the old file, or none, and never half a file.
    const std::string part = path + ".part";
    removeWithSidecars(part);
    std::string why;
    bool ok = csv ? writeCsv(part, rows, why) : writeGeoPackage(part, rows, demWkt, why);
    if (ok && std::rename(part.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        ok = false;
    }
    if (!ok) {
        removeWithSidecars(part);
        error = inFile(path) + "the residuals could not be written: " + why;
    }
    return ok;
}

} // namespace orolith::model

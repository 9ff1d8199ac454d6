#include "model/gdal/gdallonlat.h"

#include <cpl_error.h>
#include <ogr_srs_api.h>

#include "model/gdal/gdalquiet.h"
#include <cmath>
#include <mutex>

namespace orolith::model {

struct GdalLonLat {
    OGRCoordinateTransformationH transform = nullptr;
    // GDAL's transformations keep state between calls; the viewer's thread
    // and a background export may share one.
    std::mutex busy;
};

namespace {

struct Srs {
    OGRSpatialReferenceH h = OSRNewSpatialReference(nullptr);
    ~Srs() { OSRDestroySpatialReference(h); }
    Srs() = default;
    Srs(const Srs&) = delete;
    Srs& operator=(const Srs&) = delete;
};

} // namespace

GdalLonLat* openGdalLonLat(const std::string& wkt)
{
    if (wkt.empty())
        return nullptr;
    QuietErrors quiet;
    Srs from, to;
    // The header's projection is always WKT; reading it as WKT alone keeps
    // GDAL from taking other text for a file name or a URL.
    char* text = const_cast<char*>(wkt.c_str());
    if (OSRImportFromWkt(from.h, &text) != OGRERR_NONE || OSRImportFromEPSG(to.h, 4326) != OGRERR_NONE)
        return nullptr;
    // Easting and longitude first, whatever order the systems declare
    // (EPSG:4326 itself declares latitude first).
    OSRSetAxisMappingStrategy(from.h, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to.h, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH t = OCTNewCoordinateTransformation(from.h, to.h);
    if (!t)
        return nullptr;
    auto* out = new GdalLonLat;
    out->transform = t;
    return out;
}

bool gdalLonLat(GdalLonLat* t, double x, double y, double& lon, double& lat)
{
    if (!t)
        return false;
    // GDAL reports a point it cannot convert as an error; ours is the
    // absent answer.
    QuietErrors quiet;
    int success = 0;
    {
        std::lock_guard<std::mutex> lock(t->busy);
        if (!OCTTransformEx(t->transform, 1, &x, &y, nullptr, &success))
            success = 0;
    }
    if (!success || !placeOnEarth(x, y))
        return false;
    lon = x;
    lat = y;
    return true;
}

void closeGdalLonLat(GdalLonLat* t)
{
    if (!t)
        return;
    OCTDestroyCoordinateTransformation(t->transform);
    delete t;
}

bool placeOnEarth(double& lon, double& lat)
{
    if (!std::isfinite(lon) || !std::isfinite(lat) || std::fabs(lat) > 90 || std::fabs(lon) > 360)
        return false;
    if (lon > 180)
        lon -= 360;
    else if (lon < -180)
        lon += 360;
    return true;
}

} // namespace orolith::model

// Longitude and latitude of map points: the viewer shows them under the
// mouse and saves picked points with them. One transformation from the
// grid's system to WGS 84 is built when a grid is shown and used for every
// point, since building one costs far more than using it.
#ifndef OROLITH_MODEL_GDAL_GDALLONLAT_H
#define OROLITH_MODEL_GDAL_GDALLONLAT_H

#include <string>

namespace orolith::model {

// The module's own; callers hold it only through the three functions below.
struct GdalLonLat;

// A transformation from the system `wkt` names to WGS 84, longitude first.
// Null when the text names no system or GDAL knows no way from it to WGS 84.
// Even a geographic system goes through GDAL: its datum may not be WGS 84.
GdalLonLat* openGdalLonLat(const std::string& wkt);

// The longitude and latitude, in degrees, of map point (x, y). False, with
// `lon` and `lat` untouched, for a point GDAL cannot convert or one off the
// earth (see placeOnEarth). Safe to call from several threads at once.
bool gdalLonLat(GdalLonLat* t, double x, double y, double& lon, double& lat);

// Frees what openGdalLonLat built; null is allowed.
void closeGdalLonLat(GdalLonLat* t);

// What gdalLonLat makes of GDAL's answer: false for a latitude beyond a
// pole, a longitude more than a full turn from Greenwich (a geographic
// grid's point GDAL passes through unchanged) or anything not finite.
// Otherwise true, with a longitude of 180 to 360 degrees (grids of 0 to 360)
// brought into -180 to 180, as maps and GeoJSON readers expect.
bool placeOnEarth(double& lon, double& lat);

} // namespace orolith::model

#endif

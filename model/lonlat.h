// A map point's place on the earth: degrees of WGS 84, longitude from -180
// to 180 east of Greenwich, latitude from -90 to 90 north of the equator.
#ifndef OROLITH_MODEL_LONLAT_H
#define OROLITH_MODEL_LONLAT_H

namespace orolith::model {

struct LonLat {
    double lon = 0, lat = 0;
};

} // namespace orolith::model

#endif

// GDAL on demand: the program links no GDAL but loads its GDAL module,
// orolith-gdal.so beside the executable, the first time a file is not a
// text grid or a GeoTIFF is to be written. Runs that read text grids alone
// never load it.
#ifndef OROLITH_APP_GDALONDEMAND_H
#define OROLITH_APP_GDALONDEMAND_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/gridfile.h"
#include "model/lonlat.h"
#include "model/pointio.h"

namespace orolith::model {
struct GdalModule;
struct GdalLonLat;
} // namespace orolith::model

namespace orolith::ui {

// A raster reader and a grid warper that go through the module, when the
// module lies beside the executable; the module is loaded the first time
// one of them is called. Without the module, neither: text grids only, as
// in a build without GDAL.
GridIo gdalOnDemandGridIo();

// Writes a GeoTIFF through the module (values row-major, row 0 the northern
// row, with the georeference of `georef`). False, with a message, when the
// module is missing or cannot be loaded.
bool writeGeoTiffOnDemand(const std::string& path, const GridHeader& georef, const std::vector<float>& values,
                          float nodata, ModelError& err);

// The module's point, mask and residual functions (model/pointio.h); false,
// with a message, when the module is missing or fails.
bool readPointsOnDemand(const PointSource& source, std::vector<Checkpoint>& points, std::string& error);
bool readMaskOnDemand(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                      std::string& error);
bool writeResidualsOnDemand(const std::string& path, const std::vector<ResidualRow>& rows, const std::string& demWkt,
                            std::string& error);

// Longitude and latitude of points in one grid's coordinate system, for
// the position under the mouse and for picked points saved as GeoJSON. The
// transformation is built once; each point then costs about a microsecond.
// Copies share it, and it is freed with the last copy; any thread may use
// it. Default-constructed, or when the grid's system is unknown, it is
// none: false, and every point gives nothing.
class LonLatTransform {
public:
    LonLatTransform() = default;
    explicit operator bool() const { return handle_ != nullptr; }
    // Nothing for a point GDAL cannot convert (or one off the earth), and
    // always nothing from none.
    std::optional<LonLat> operator()(double x, double y) const;

private:
    friend LonLatTransform lonLatThrough(const GdalModule* module, const GridHeader& header);
    std::shared_ptr<GdalLonLat> handle_;
    bool (*toLonLat_)(GdalLonLat*, double, double, double&, double&) = nullptr;
};

// The transformation of `header`'s system through the GDAL module, loaded
// now if it is not yet. None when the header names no system, when the
// module is missing or cannot be loaded, or when GDAL knows no way from the
// system to WGS 84. A geographic grid goes through GDAL too: its datum may
// not be WGS 84. The first one built takes tens of milliseconds (GDAL
// opens its database of systems), later ones under a millisecond: build it
// with the grid, not on the first mouse move.
LonLatTransform lonLatOnDemand(const GridHeader& header);

// The same through a module already loaded (null: none). lonLatOnDemand
// passes its own; the tests pass the one they loaded themselves.
LonLatTransform lonLatThrough(const GdalModule* module, const GridHeader& header);

} // namespace orolith::ui

#endif

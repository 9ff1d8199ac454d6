// Longitude and latitude of map points, as the viewer gets them: through
// the GDAL module loaded with dlopen, wrapped in app/'s LonLatTransform.
// Expected figures come from GDAL's own command-line tool run by hand
// (gdaltransform, order lon lat), never from this code.
#include <cpl_error.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "app/gdalondemand.h"
#include "model/gdal/gdallonlat.h"
#include "model/gdal/gdalmodule.h"
#include "model/gdal/gdalraster.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

const std::string OLINDA = std::string(OROLITH_SHARED_DATA_DIR) + "/olinda_dem_utm25s.tif";
const std::string BUILD_DIR = std::filesystem::path(OROLITH_EXE).parent_path().string();

// The module beside the executable, as the executable loads it; never
// closed, as there.
const GdalModule* module()
{
    static const GdalModule* m = [] {
        void* lib = dlopen((BUILD_DIR + "/" + GDAL_MODULE_FILE).c_str(), RTLD_NOW | RTLD_LOCAL);
        auto entry = lib ? reinterpret_cast<GdalModuleEntry>(dlsym(lib, GDAL_MODULE_ENTRY)) : nullptr;
        return entry ? entry() : nullptr;
    }();
    return m;
}

// GDAL's own error handler, which prints, as in a viewer that has read no
// file through GDAL yet (GDAL's readers in this program quieten it).
struct GdalPrints {
    GdalPrints() { CPLPushErrorHandler(CPLDefaultErrorHandler); }
    ~GdalPrints() { CPLPopErrorHandler(); }
};

// A header of the system GDAL makes of `text` (EPSG:n or WKT).
GridHeader headerIn(const std::string& text)
{
    GridHeader h;
    std::string wkt;
    EXPECT_TRUE(describeGdalCrs(text, h.crs, wkt)) << text;
    h.projection = wkt;
    return h;
}

TEST(LonLat, PointsConvertAsGdalTransformSays)
{
    if (!std::filesystem::exists(OLINDA))
        GTEST_SKIP() << "no real DEM at " << OLINDA;
    ASSERT_NE(module(), nullptr) << dlerror();
    GridHeader olinda;
    ModelError err;
    ASSERT_TRUE(readGdalHeader(OLINDA, olinda, err)) << err.text();
    const double cx = olinda.xllcorner + olinda.cols * olinda.cellsizeX / 2;
    const double cy = olinda.yllcorner + olinda.rows * olinda.cellsizeY / 2;
    struct {
        const char* name;
        GridHeader header;
        double x, y, lon, lat, tolerance;
    } cases[] = {
        // echo "293770.9207386977 9115766.079290843" |
        //   gdaltransform -s_srs EPSG:32725 -t_srs EPSG:4326 -output_xy
        {"the olinda DEM's centre, UTM 25S", olinda, cx, cy, -34.8710771618088, -7.99518395912437, 1e-7},
        {"a WGS 84 grid's point is itself", headerIn("EPSG:4326"), -34.87, -7.99, -34.87, -7.99, 1e-9},
        // A geographic grid on another datum is moved, not passed through:
        // gdaltransform -s_srs EPSG:4618 -t_srs EPSG:4326 -output_xy
        {"a SAD69 grid's point, shifted to WGS 84", headerIn("EPSG:4618"), -34.87, -7.99, -34.8703203921205,
         -7.99041299037225, 1e-7},
        {"a 0 to 360 grid's point, west of the antimeridian", headerIn("EPSG:4326"), 200, 10, -160, 10, 1e-9},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const LonLatTransform t = lonLatThrough(module(), k.header);
        ASSERT_TRUE(t);
        const std::optional<LonLat> p = t(k.x, k.y);
        ASSERT_TRUE(p.has_value());
        EXPECT_NEAR(p->lon, k.lon, k.tolerance) << "longitude shown under the mouse";
        EXPECT_NEAR(p->lat, k.lat, k.tolerance) << "latitude shown under the mouse";
    }
}

TEST(LonLat, PointsOffTheEarthGiveNothing)
{
    ASSERT_NE(module(), nullptr) << dlerror();
    const double NaN = std::numeric_limits<double>::quiet_NaN();
    struct {
        const char* name;
        const char* system;
        double x, y;
        double goodX, goodY; // a point of the same system that converts
    } cases[] = {
        {"UTM easting of 1e12 m", "EPSG:32725", 1e12, 9115766, 293771, 9115766},
        {"UTM easting not a number", "EPSG:32725", NaN, 9115766, 293771, 9115766},
        {"longitude 1e12 degrees", "EPSG:4326", 1e12, 0, -34.87, -7.99},
        {"latitude beyond the pole", "EPSG:4326", 10, 90.5, -34.87, -7.99},
    };
    // Whatever GDAL says about these points must not reach the console on
    // every mouse move.
    GdalPrints prints;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        const LonLatTransform t = lonLatThrough(module(), headerIn(k.system));
        ASSERT_TRUE(t);
        testing::internal::CaptureStderr();
        const bool converted = t(k.x, k.y).has_value();
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "GDAL's messages on the console";
        EXPECT_FALSE(converted) << "a place shown for a point on no map";
        // The transformation stays usable after a point it refused.
        EXPECT_TRUE(t(k.goodX, k.goodY).has_value());
    }
}

TEST(LonLat, WithoutAKnownSystemThereIsNoTransformation)
{
    ASSERT_NE(module(), nullptr) << dlerror();
    GridHeader none;
    GridHeader unknown = headerIn("EPSG:32725");
    unknown.crs.known = false;
    GridHeader garbled = headerIn("EPSG:32725");
    garbled.projection = "PROJCS[\"cut off";
    struct {
        const char* name;
        const GdalModule* module;
        GridHeader header;
    } cases[] = {
        {"no projection", module(), none},
        {"a system marked unknown", module(), unknown},
        {"a projection GDAL cannot read", module(), garbled},
        {"no module", nullptr, headerIn("EPSG:32725")},
    };
    GdalPrints prints;
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        testing::internal::CaptureStderr();
        const LonLatTransform t = lonLatThrough(k.module, k.header);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "GDAL's messages on the console";
        EXPECT_FALSE(t);
        EXPECT_FALSE(t(500000, 9000000).has_value());
    }
    EXPECT_FALSE(LonLatTransform{}(0, 0).has_value()) << "none gives 0, 0";
    // The test program has no module beside it: lonLatOnDemand finds none.
    if (!std::filesystem::exists(std::filesystem::read_symlink("/proc/self/exe").parent_path() / GDAL_MODULE_FILE)) {
        EXPECT_FALSE(lonLatOnDemand(headerIn("EPSG:32725"))) << "no module, yet a transformation";
    }
}

TEST(LonLat, CopiesShareOneTransformationThatOutlivesTheFirst)
{
    ASSERT_NE(module(), nullptr) << dlerror();
    LonLatTransform copy;
    {
        const LonLatTransform first = lonLatThrough(module(), headerIn("EPSG:4326"));
        copy = first;
    }
    ASSERT_TRUE(copy);
    const std::optional<LonLat> p = copy(-34.87, -7.99);
    ASSERT_TRUE(p.has_value());
    EXPECT_DOUBLE_EQ(p->lon, -34.87);
}

// GDAL's answer made a place on the earth: each bound on both sides.
TEST(LonLat, PlaceOnEarthKeepsLatitudesToThePolesAndLongitudesToAFullTurn)
{
    const double inf = std::numeric_limits<double>::infinity();
    struct {
        double lon, lat;
        bool on;
        double wrappedLon;
    } cases[] = {
        {10, 90, true, 10},  {10, -90, true, 10},         {10, 90.000001, false, 0}, {10, -90.000001, false, 0},
        {180, 0, true, 180}, {-180, 0, true, -180},       {180.5, 0, true, -179.5},  {-181, 0, true, 179},
        {360, 0, true, 0},   {-360, 0, true, 0},          {360.001, 0, false, 0},    {-360.001, 0, false, 0},
        {inf, 0, false, 0},  {0, std::nan(""), false, 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(std::to_string(k.lon) + ", " + std::to_string(k.lat));
        double lon = k.lon, lat = k.lat;
        ASSERT_EQ(placeOnEarth(lon, lat), k.on);
        if (k.on) {
            EXPECT_DOUBLE_EQ(lon, k.wrappedLon);
            EXPECT_DOUBLE_EQ(lat, k.lat);
        }
    }
}

} // namespace

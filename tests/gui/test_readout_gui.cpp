// The readout and the picks of a real DEM in a known system: the status row
// and the saved GeoJSON give the place in longitude and latitude, as
// gdaltransform puts the DEM's centre (UTM 25S (290000 + 55.5 x 90, ...)
// at -34.87108, -7.99518).
#ifdef OROLITH_TESTS_HAVE_GDAL
#include <FL/Fl_Multiline_Output.H>

#include <filesystem>

#include "model/gdal/gdallonlat.h"
#include "tests/gui/gui_fixtures.h"
#include "tests/gui/window_helpers.h"

namespace gui_test {
namespace {

LonLatOf lonLatOfDem(const GridHeader& dem)
{
    std::shared_ptr<GdalLonLat> t(openGdalLonLat(dem.projection), closeGdalLonLat);
    if (!t)
        return {};
    return [t](double x, double y) -> std::optional<LonLat> {
        LonLat out;
        if (!gdalLonLat(t.get(), x, y, out.lon, out.lat))
            return std::nullopt;
        return out;
    };
}

TEST(ReadoutGui, TheCentreOfARealDemReadsInLongitudeAndLatitude)
{
    const std::string dem = std::string(OROLITH_SHARED_DATA_DIR) + "/olinda_dem_utm25s.tif";
    if (!std::filesystem::exists(dem))
        GTEST_SKIP() << "no " << dem;
    startGlut();
    PointIo points;
    points.lonLatFor = lonLatOfDem;
    Session session(testGridIo(), points);
    OpenChoice choice;
    choice.dem = dem;
    ASSERT_TRUE(session.openFiles(choice).ok());
    session.window().show();
    settle();

    Viewer& v = session.viewer();
    const std::optional<SurfaceHit> centre = v.surfaceAt(v.w() / 2.0, v.h() / 2.0);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->row, 55, 1.5);
    EXPECT_NEAR(centre->col, 55, 1.5);
    session.pointerOver(centre);
    const std::string line = session.window().readoutField->value();
    EXPECT_NE(line.find("lon -34.87"), std::string::npos) << line;
    EXPECT_NE(line.find("lat -7.99"), std::string::npos) << line;

    session.pickRequested(*centre);
    ASSERT_EQ(session.picks().size(), 1u);
    ASSERT_TRUE(session.picks()[0].lonLat);
    EXPECT_NEAR(session.picks()[0].lonLat->lon, -34.87108, 0.002);
    EXPECT_NEAR(session.picks()[0].lonLat->lat, -7.99518, 0.002);
    EXPECT_NE(picksGeoJson(session.picks(), false).find("\"coordinates\": [-34.87"), std::string::npos);
}

} // namespace
} // namespace gui_test
#endif

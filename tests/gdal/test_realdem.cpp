// A real DEM, as a user brings it: a 111 x 111 float32 GeoTIFF of a
// coastal city in UTM (sea at 0 and -1 m), and variants of it made here
// with GDAL: a comparison with noise lowered below sea level, a block of
// NaN, declared no-data cells, a copy in geographic degrees, an ESRI ASCII
// twin with its .prj, a VRT. The executable's figures are checked against
// a computation written here from the heights GDAL reads, never against
// the program's own code.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>
#include <set>

#include "dialogs/names.h"
#include "tests/cli/cli_runner.h"
#include "tests/image/png_decode.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

const std::string OLINDA = std::string(OROLITH_SHARED_DATA_DIR) + "/olinda_dem_utm25s.tif";
constexpr double PI = 3.14159265358979323846;

struct Raster {
    int rows = 0, cols = 0;
    std::vector<double> z;
    std::vector<char> present;
    double gt[6] = {};
    std::string wkt;
};

Raster readRaster(const std::string& path)
{
    GDALAllRegister();
    Raster r;
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    EXPECT_NE(ds, nullptr) << path;
    if (!ds)
        return r;
    r.rows = GDALGetRasterYSize(ds);
    r.cols = GDALGetRasterXSize(ds);
    GDALGetGeoTransform(ds, r.gt);
    r.wkt = GDALGetProjectionRef(ds);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int hasNodata = 0;
    const double nodata = GDALGetRasterNoDataValue(band, &hasNodata);
    std::vector<float> v(static_cast<std::size_t>(r.rows) * r.cols);
    EXPECT_EQ(GDALRasterIO(band, GF_Read, 0, 0, r.cols, r.rows, v.data(), r.cols, r.rows, GDT_Float32, 0, 0), CE_None);
    for (float x : v) {
        r.z.push_back(x);
        r.present.push_back(!std::isnan(x) && !(hasNodata && x == static_cast<float>(nodata)));
    }
    GDALClose(ds);
    return r;
}

void writeRaster(const std::string& path, const Raster& r, bool withNodata)
{
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), r.cols, r.rows, 1, GDT_Float32, nullptr);
    double gt[6];
    std::copy(r.gt, r.gt + 6, gt);
    GDALSetGeoTransform(ds, gt);
    GDALSetProjection(ds, r.wkt.c_str());
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    if (withNodata)
        GDALSetRasterNoDataValue(band, -9999);
    std::vector<float> v(r.z.begin(), r.z.end());
    EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, 0, r.cols, r.rows, v.data(), r.cols, r.rows, GDT_Float32, 0, 0), CE_None);
    GDALClose(ds);
}

// The accuracy figures of a set of differences, the plain way: sums, and
// sorting for the median, the NMAD and the nearest-rank 90 % and 95 % of |d|.
struct Figures {
    double count = 0, mean = 0, std = 0, rmse = 0, min = 0, max = 0, median = 0, nmad = 0, le90 = 0, le95 = 0;
};
double medianOfSorted(const std::vector<double>& s)
{
    const std::size_t n = s.size();
    return n % 2 ? s[n / 2] : (s[n / 2 - 1] + s[n / 2]) / 2;
}
Figures figuresOf(std::vector<double> d)
{
    Figures f;
    f.count = static_cast<double>(d.size());
    if (d.empty())
        return f;
    double sum = 0, sq = 0;
    for (double x : d) {
        sum += x;
        sq += x * x;
    }
    f.mean = sum / f.count;
    f.rmse = std::sqrt(sq / f.count);
    double dev = 0;
    for (double x : d)
        dev += (x - f.mean) * (x - f.mean);
    f.std = std::sqrt(dev / f.count);
    std::sort(d.begin(), d.end());
    f.min = d.front();
    f.max = d.back();
    f.median = medianOfSorted(d);
    std::vector<double> absDev, absD;
    for (double x : d) {
        absDev.push_back(std::fabs(x - f.median));
        absD.push_back(std::fabs(x));
    }
    std::sort(absDev.begin(), absDev.end());
    std::sort(absD.begin(), absD.end());
    f.nmad = 1.4826 * medianOfSorted(absDev);
    auto rank = [&](int p) { return absD[(p * d.size() + 99) / 100 - 1]; };
    f.le90 = rank(90);
    f.le95 = rank(95);
    return f;
}

// Metres between columns and between rows: a degree on the ellipsoid at
// the grid's middle latitude (radii of curvature of the meridian and the
// prime vertical), or the map units of a projected grid.
void spacingOf(const Raster& r, double& x, double& y)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(r.wkt.c_str());
    if (OSRIsGeographic(srs)) {
        const double a = OSRGetSemiMajor(srs, nullptr), f = 1 / OSRGetInvFlattening(srs, nullptr);
        const double e2 = 2 * f - f * f, lat = (r.gt[3] + r.gt[5] * r.rows / 2) * PI / 180;
        const double w = 1 - e2 * std::sin(lat) * std::sin(lat);
        x = r.gt[1] * PI / 180 * a / std::sqrt(w) * std::cos(lat);
        y = -r.gt[5] * PI / 180 * a * (1 - e2) / std::pow(w, 1.5);
    } else {
        x = r.gt[1];
        y = -r.gt[5];
    }
    OSRDestroySpatialReference(srs);
}

// The figures over all points present in both, and per slope class
// (0, 5, 10, 25, 45 degrees) of the points whose 3 x 3 window of the DEM is
// present, the slope by Horn's formula.
std::vector<Figures> expectedFigures(const Raster& dem, const Raster& ref)
{
    double dx, dy;
    spacingOf(dem, dx, dy);
    const double bounds[] = {0, 5, 10, 25, 45};
    std::vector<std::vector<double>> perClass(5);
    std::vector<double> all;
    auto z = [&](int r, int c) { return static_cast<double>(static_cast<float>(dem.z[r * dem.cols + c])); };
    for (int r = 0; r < dem.rows; ++r)
        for (int c = 0; c < dem.cols; ++c) {
            const int i = r * dem.cols + c;
            if (!dem.present[i] || !ref.present[i])
                continue;
            const double d = static_cast<double>(static_cast<float>(dem.z[i])) - static_cast<float>(ref.z[i]);
            all.push_back(d);
            bool whole = r > 0 && c > 0 && r < dem.rows - 1 && c < dem.cols - 1;
            for (int a = -1; whole && a <= 1; ++a)
                for (int b = -1; b <= 1; ++b)
                    whole = whole && dem.present[(r + a) * dem.cols + c + b];
            if (!whole)
                continue;
            const double east = (z(r - 1, c + 1) + 2 * z(r, c + 1) + z(r + 1, c + 1) - z(r - 1, c - 1) -
                                 2 * z(r, c - 1) - z(r + 1, c - 1)) /
                                (8 * dx);
            const double north = (z(r - 1, c - 1) + 2 * z(r - 1, c) + z(r - 1, c + 1) - z(r + 1, c - 1) -
                                  2 * z(r + 1, c) - z(r + 1, c + 1)) /
                                 (8 * dy);
            const double degrees = std::atan(std::hypot(east, north)) * 180 / PI;
            int k = 4;
            while (degrees < bounds[k])
                --k;
            perClass[k].push_back(d);
        }
    std::vector<Figures> out = {figuresOf(all)};
    for (const auto& k : perClass)
        out.push_back(figuresOf(k));
    return out;
}

// The figures of --metrics --format json: "all" first, then the classes.
std::vector<Figures> printedFigures(const std::string& json)
{
    std::vector<Figures> out;
    for (const auto& [name, value] : jsonPairs(json)) {
        const double v = value == "null" ? 0 : std::atof(value.c_str());
        if (name == "count")
            out.emplace_back().count = v;
        Figures& f = out.back();
        if (name == "mean")
            f.mean = v;
        if (name == "std")
            f.std = v;
        if (name == "rmse")
            f.rmse = v;
        if (name == "min")
            f.min = v;
        if (name == "max")
            f.max = v;
        if (name == "median")
            f.median = v;
        if (name == "nmad")
            f.nmad = v;
        if (name == "le90")
            f.le90 = v;
        if (name == "le95")
            f.le95 = v;
    }
    return out;
}

void expectSameFigures(const std::vector<Figures>& got, const std::vector<Figures>& want)
{
    ASSERT_EQ(got.size(), want.size());
    const char* rows[] = {"all", "[0, 5)", "[5, 10)", "[10, 25)", "[25, 45)", "[45, 90]"};
    for (std::size_t k = 0; k < got.size(); ++k) {
        SCOPED_TRACE(rows[k]);
        const Figures &g = got[k], &w = want[k];
        EXPECT_EQ(g.count, w.count) << "points counted";
        const double figs[][2] = {{g.mean, w.mean}, {g.std, w.std},   {g.rmse, w.rmse},
                                  {g.min, w.min},   {g.max, w.max},   {g.median, w.median},
                                  {g.nmad, w.nmad}, {g.le90, w.le90}, {g.le95, w.le95}};
        for (const auto& f : figs)
            EXPECT_NEAR(f[0], f[1], 1e-9 * std::max(1.0, std::fabs(f[1])));
    }
}

class RealDem : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(OLINDA))
            GTEST_SKIP() << "no real DEM at " << OLINDA;
        GDALAllRegister();
        dem = readRaster(OLINDA);
    }
    ScratchDir dir;
    Raster dem;

    // The comparison: the DEM with noise of 1.8 m, lowered by `drop`.
    Raster noisy(double drop, unsigned seed = 5) const
    {
        Raster c = dem;
        std::mt19937 random(seed);
        std::normal_distribution<double> noise(0, 1.8);
        for (double& v : c.z)
            v = static_cast<float>(v + noise(random) - drop);
        return c;
    }
};

TEST_F(RealDem, MetricsMatchAnIndependentComputationWithHolesAndBelowSeaLevel)
{
    // The DEM with a 10 x 10 block of NaN; the comparison below sea level
    // with declared no-data cells.
    Raster holed = dem;
    for (int r = 40; r < 50; ++r)
        for (int c = 60; c < 70; ++c) {
            holed.z[r * holed.cols + c] = std::nan("");
            holed.present[r * holed.cols + c] = 0;
        }
    Raster low = noisy(200);
    for (std::size_t i = 0; i < low.z.size(); i += 37) {
        low.z[i] = -9999;
        low.present[i] = 0;
    }
    const std::string demPath = dir.path + "/holed.tif", compPath = dir.path + "/low.tif";
    writeRaster(demPath, holed, false);
    writeRaster(compPath, low, true);
    const Outcome r = runOrolith({"--metrics", "--format", "json", demPath, compPath});
    ASSERT_EQ(r.status, 0) << r;
    const std::vector<Figures> want = expectedFigures(holed, low);
    ASSERT_GT(want[0].count, 11000) << "the comparison below sea level counts";
    expectSameFigures(printedFigures(r.out), want);
}

TEST_F(RealDem, AGeographicCopyIsMeasuredInMetres)
{
    // The heights placed where the city lies, in degrees of WGS 84, cells
    // of about 90 m: its slope classes are those of metres, and its picture
    // shows the terrain.
    Raster geo = dem;
    const double cell = 90.0 / 111320.0;
    const double gt[6] = {-34.95, cell, 0, -7.95, 0, -cell};
    std::copy(gt, gt + 6, geo.gt);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 4326);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    geo.wkt = wkt;
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    const std::string demPath = dir.path + "/geo_dem.tif", compPath = dir.path + "/geo_comp.tif";
    writeRaster(demPath, geo, false);
    Raster comp = noisy(0, 9);
    std::copy(gt, gt + 6, comp.gt);
    comp.wkt = geo.wkt;
    writeRaster(compPath, comp, false);

    const Outcome r = runOrolith({"--metrics", "--format", "json", demPath, compPath});
    ASSERT_EQ(r.status, 0) << r;
    const std::vector<Figures> want = expectedFigures(geo, comp);
    EXPECT_GT(want[2].count + want[3].count, 1000)
        << "a geographic grid read as metres has slopes of 5 degrees and more";
    expectSameFigures(printedFigures(r.out), want);

    // The same grid as ESRI ASCII with its .prj beside it.
    const std::string asc = dir.path + "/geo_dem.asc";
    GDALDatasetH src = GDALOpen(demPath.c_str(), GA_ReadOnly);
    GDALClose(GDALCreateCopy(GDALGetDriverByName("AAIGrid"), asc.c_str(), src, FALSE, nullptr, nullptr, nullptr));
    GDALClose(src);
    ASSERT_TRUE(std::filesystem::exists(dir.path + "/geo_dem.prj"));
    const Outcome fromAscii = runOrolith({"--metrics", "--format", "json", asc, compPath});
    ASSERT_EQ(fromAscii.status, 0) << fromAscii;
    // The same JSON but for the DEM's name.
    auto figuresOnly = [](const std::string& out) {
        OrderedJson j = parsedJson(out);
        if (j.is_object())
            j.erase("dem");
        return j;
    };
    EXPECT_EQ(parsedJson(fromAscii.out).value("dem", ""), asc);
    EXPECT_EQ(figuresOnly(fromAscii.out), figuresOnly(r.out)) << "the .prj beside the text grid says it is in degrees";
    EXPECT_EQ(fromAscii.err.find("looks like longitude and latitude"), std::string::npos) << fromAscii;
    std::filesystem::remove(dir.path + "/geo_dem.prj");
    const Outcome noPrj = runOrolith({"--metrics", asc, compPath});
    EXPECT_NE(noPrj.err.find("looks like longitude and latitude in degrees"), std::string::npos)
        << "without its .prj, a note suggests one" << noPrj;
    const Outcome declared = runOrolith({"--metrics", "--format", "json", "--geographic", asc, compPath});
    EXPECT_EQ(figuresOnly(declared.out), figuresOnly(r.out)) << "--geographic declares what the .prj said";

    const std::string png = dir.path + "/geo.png";
    const Outcome image = runOrolith({"--image", png, "--scheme", "ramp", demPath});
#ifndef OROLITH_TESTS_HAVE_IMAGE
    EXPECT_EQ(image.status, 1) << image;
    EXPECT_NE(image.err.find("has no viewer, so --image cannot draw"), std::string::npos) << image;
    return;
#endif
    ASSERT_EQ(image.status, 0) << image;
    const Image picture = decodePng(png);
    std::set<std::vector<unsigned char>> colours;
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
        colours.insert({picture.rgb[i], picture.rgb[i + 1], picture.rgb[i + 2]});
    EXPECT_GT(colours.size(), 100u) << "the picture of a geographic grid is " << colours.size() << " colours";
}

TEST_F(RealDem, ExportsKeepTheGeoreferenceToTheLastDigit)
{
    // The northing 9120760.750028737: a float would write 9120760.5.
    for (const char* name : {"curvature.asc", "curvature.tif"}) {
        const std::string out = dir.path + "/" + name;
        const Outcome r = runOrolith({"--export", "curvature", out, OLINDA});
        ASSERT_EQ(r.status, 0) << r;
        const Raster back = readRaster(out);
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(back.gt[k], dem.gt[k], 1e-6) << name << ": geotransform term " << k;
        EXPECT_EQ(back.rows, dem.rows);
    }
    const Raster back = readRaster(dir.path + "/curvature.tif");
    EXPECT_NE(back.wkt.find("UTM"), std::string::npos) << "the GeoTIFF carries the DEM's coordinate system";
}

TEST_F(RealDem, AVrtMosaicReadsAsItsRaster)
{
    const std::string vrt = dir.path + "/olinda.vrt";
    GDALDatasetH src = GDALOpen(OLINDA.c_str(), GA_ReadOnly);
    GDALClose(GDALCreateCopy(GDALGetDriverByName("VRT"), vrt.c_str(), src, FALSE, nullptr, nullptr, nullptr));
    GDALClose(src);
    const Outcome fromVrt = runOrolith({"--report", vrt});
    const Outcome fromTif = runOrolith({"--report", OLINDA});
    ASSERT_EQ(fromVrt.status, 0) << fromVrt;
    EXPECT_EQ(fromVrt.out, fromTif.out) << "a VRT is text, but GDAL's, not an ESRI ASCII grid";
}

TEST_F(RealDem, CoregistrationFindsAKnownShiftOfTheCity)
{
    // The comparison: the DEM resampled 0.4 cell east and 0.3 cell south
    // (bilinearly, here), 1.5 m higher.
    Raster moved = dem;
    const double east = 0.4, north = -0.3;
    for (int r = 0; r < dem.rows; ++r)
        for (int c = 0; c < dem.cols; ++c) {
            const double rr = r + north, cc = c - east;
            const int r0 = static_cast<int>(std::floor(rr)), c0 = static_cast<int>(std::floor(cc));
            double& v = moved.z[r * dem.cols + c];
            if (r0 < 0 || c0 < 0 || r0 + 1 >= dem.rows || c0 + 1 >= dem.cols) {
                v = -9999;
                continue;
            }
            const double fr = rr - r0, fc = cc - c0;
            auto z = [&](int a, int b) { return dem.z[a * dem.cols + b]; };
            v = z(r0, c0) * (1 - fr) * (1 - fc) + z(r0 + 1, c0) * fr * (1 - fc) + z(r0, c0 + 1) * (1 - fr) * fc +
                z(r0 + 1, c0 + 1) * fr * fc + 1.5;
        }
    const std::string path = dir.path + "/moved.tif";
    writeRaster(path, moved, true);
    const Outcome r = runOrolith({"--coregister", "--format", "json", OLINDA, path});
    ASSERT_EQ(r.status, 0) << r;
    auto value = [&](const std::string& key) {
        for (const auto& [name, v] : jsonPairs(r.out))
            if (name == key)
                return std::atof(v.c_str());
        ADD_FAILURE() << "no " << key;
        return 0.0;
    };
    EXPECT_NEAR(value("shift_east"), east, 0.05) << r.out;
    EXPECT_NEAR(value("shift_north"), north, 0.05);
    EXPECT_NEAR(value("shift_east_metres"), value("shift_east") * dem.gt[1], 1e-6) << "cells of 90 m";
    EXPECT_NEAR(value("bias"), 1.5, 0.1);
    EXPECT_EQ(parsedJson(r.out).value("improved", false), true) << r.out;
}

} // namespace

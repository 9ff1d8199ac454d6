// Checkpoints and stable terrain through the command line: points planted
// on a plane (where bilinear sampling is exact) with known differences give
// the figures, NVA and VVA exactly, whatever the table's delimiter, column
// names or coordinate system, and from a GeoPackage too; each stable-terrain
// rule removes what it must; bad input ends with status 1 or 2, nothing on
// standard output and no file written.
#include <gtest/gtest.h>

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>

#include <nlohmann/json.hpp>

#include "tests/cli/cli_runner.h"
#include "tests/model/grid_files.h"

namespace {

using Json = nlohmann::json;

constexpr int SIDE = 20;
constexpr double CELL = 30, WEST = 600000, SOUTH = 5100000;

// 12.6 degrees everywhere.
double planeAt(double x, double y) { return 100 + 0.2 * (x - WEST) + 0.1 * (y - SOUTH); }

// A GeoTIFF in UTM zone 33 N of heights z(x, y) at the cell centres, with
// the cells of `absent` holding its no-data value.
std::string writeDem(const ScratchDir& dir, const std::string& name, const std::function<double(double, double)>& z,
                     const std::vector<std::pair<int, int>>& absent = {})
{
    GDALAllRegister();
    const std::string path = dir.path + "/" + name;
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), SIDE, SIDE, 1, GDT_Float32, nullptr);
    double transform[6] = {WEST, CELL, 0, SOUTH + SIDE * CELL, 0, -CELL};
    GDALSetGeoTransform(ds, transform);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 32633);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    GDALSetProjection(ds, wkt);
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    std::vector<float> h;
    for (int r = 0; r < SIDE; ++r)
        for (int c = 0; c < SIDE; ++c)
            h.push_back(static_cast<float>(z(WEST + (c + 0.5) * CELL, SOUTH + (SIDE - r - 0.5) * CELL)));
    for (auto [r, c] : absent)
        h[r * SIDE + c] = -9999;
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    GDALSetRasterNoDataValue(band, -9999);
    EXPECT_EQ(GDALRasterIO(band, GF_Write, 0, 0, SIDE, SIDE, h.data(), SIDE, SIDE, GDT_Float32, 0, 0), CE_None);
    GDALClose(ds);
    return path;
}

struct Planted {
    double x, y, d; // d = DEM minus the point's height
    std::string pointClass;
    double z() const { return planeAt(x, y) - d; }
};

// 20 open points with d of +-0.1 to +-1.0, 20 forest points with d from 0.1
// to 2.0, 3 outside the DEM and one beside its absent cell (row 10,
// column 10).
std::vector<Planted> plantedPoints()
{
    std::vector<Planted> p;
    for (int i = 0; i < 20; ++i) {
        const double x = WEST + 100 + 20.0 * i, y = SOUTH + 60 + 10.0 * i;
        p.push_back({x, y, (i % 2 ? -1 : 1) * 0.1 * (i / 2 + 1), "open"});
        p.push_back({x + 9, y + 330, 0.1 * (i + 1), "forest"});
    }
    p.push_back({WEST - 50, SOUTH + 100, 0, "open"});
    p.push_back({WEST + 100, SOUTH + SIDE * CELL + 1, 0, "open"});
    p.push_back({WEST + SIDE * CELL - 10, SOUTH + 100, 0, "open"}); // beyond the last cell centre
    p.push_back({WEST + 10.3 * CELL, SOUTH + (SIDE - 10.2) * CELL, 0, "open"});
    return p;
}

std::string table(const std::vector<Planted>& points, const std::string& header, char sep)
{
    std::ostringstream out;
    out.precision(12);
    out << header << '\n';
    for (const Planted& p : points)
        out << p.x << sep << p.y << sep << p.z() << sep << p.pointClass << '\n';
    return out.str();
}

double rmseOf(const std::vector<double>& d)
{
    double s = 0;
    for (double v : d)
        s += v * v;
    return std::sqrt(s / d.size());
}

struct Files {
    ScratchDir dir;
    std::string dem = writeDem(dir, "plane.tif", planeAt, {{10, 10}});
    std::vector<Planted> points = plantedPoints();
    std::string csv = dir.write("points.csv", table(points, "x,y,z,class", ','));
};
const Files& files()
{
    static const Files f;
    return f;
}

Json jsonOf(const Outcome& r)
{
    EXPECT_EQ(r.status, 0) << r;
    return r.status == 0 ? Json::parse(r.out) : Json();
}

// A GeoPackage point layer of the points in EPSG:32633, heights as the
// geometry's z and the class as a field.
std::string writePointLayer(const ScratchDir& dir, const std::vector<Planted>& points)
{
    const std::string path = dir.path + "/points.gpkg";
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GPKG"), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 32633);
    OGRLayerH layer = GDALDatasetCreateLayer(ds, "survey", srs, wkbPoint25D, nullptr);
    OSRDestroySpatialReference(srs);
    OGRFieldDefnH field = OGR_Fld_Create("class", OFTString);
    OGR_L_CreateField(layer, field, TRUE);
    OGR_Fld_Destroy(field);
    for (const Planted& p : points) {
        OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetFieldString(f, 0, p.pointClass.c_str());
        OGRGeometryH g = OGR_G_CreateGeometry(wkbPoint25D);
        OGR_G_SetPoint(g, 0, p.x, p.y, p.z());
        OGR_F_SetGeometryDirectly(f, g);
        EXPECT_EQ(OGR_L_CreateFeature(layer, f), OGRERR_NONE);
        OGR_F_Destroy(f);
    }
    GDALClose(ds);
    return path;
}

// The points in longitude and latitude on WGS 84.
std::vector<Planted> inDegrees(std::vector<Planted> points, std::vector<double>& heights)
{
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr), wgs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, 32633);
    OSRImportFromEPSG(wgs, 4326);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(wgs, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH t = OCTNewCoordinateTransformation(utm, wgs);
    for (Planted& p : points) {
        heights.push_back(p.z());
        OCTTransform(t, 1, &p.x, &p.y, nullptr);
    }
    OCTDestroyCoordinateTransformation(t);
    OSRDestroySpatialReference(utm);
    OSRDestroySpatialReference(wgs);
    return points;
}

} // namespace

TEST(CheckpointCli, PlantedDifferencesGiveTheFiguresNvaAndVva)
{
    const Files& f = files();
    std::vector<double> all, open, forest;
    for (std::size_t i = 0; i < 40; ++i) {
        all.push_back(f.points[i].d);
        (f.points[i].pointClass == "open" ? open : forest).push_back(f.points[i].d);
    }
    const Json j = jsonOf(runOrolith(
        {"--metrics", "--format", "json", "--open-classes", "open", "--vegetated-classes", "forest", f.dem, f.csv}));
    EXPECT_EQ(j["given"], 44);
    EXPECT_EQ(j["outside"], 3);
    EXPECT_EQ(j["next_to_absent"], 1);
    EXPECT_EQ(j["skipped"], 4);
    EXPECT_EQ(j["all"]["count"], 40);
    double mean = 0;
    for (double v : all)
        mean += v / all.size();
    EXPECT_NEAR(j["all"]["mean"].get<double>(), mean, 1e-4);
    EXPECT_NEAR(j["all"]["rmse"].get<double>(), rmseOf(all), 1e-4);
    EXPECT_EQ(j["nva"]["count"], 20);
    EXPECT_NEAR(j["nva"]["rmse"].get<double>(), rmseOf(open), 1e-4);
    EXPECT_NEAR(j["nva"]["accuracy95"].get<double>(), 1.96 * rmseOf(open), 1e-4);
    // The 19th of 20 |d| in order (nearest rank): 1.9.
    EXPECT_EQ(j["vva"]["count"], 20);
    EXPECT_NEAR(j["vva"]["p95"].get<double>(), 1.9, 1e-4);
    ASSERT_EQ(j["point_classes"].size(), 2u);
    EXPECT_EQ(j["point_classes"][0]["class"], "forest");
    EXPECT_NEAR(j["point_classes"][0]["max"].get<double>(), 2.0, 1e-4);
    EXPECT_EQ(j["point_classes"][1]["count"], 20);
    // On the 12.6-degree plane the points fall in the class [10, 25), but
    // for one nearest the northern border row, which has no slope.
    EXPECT_EQ(j["slope_classes"][2]["count"], 39);
    EXPECT_EQ(j["slope_classes"][0]["count"], 0);

    // Without classes named every point is open and none vegetated.
    const Json plain = jsonOf(runOrolith({"--metrics", "--format", "json", f.dem, f.csv}));
    EXPECT_EQ(plain["nva"]["count"], 40);
    EXPECT_NEAR(plain["nva"]["rmse"].get<double>(), rmseOf(all), 1e-4);
    EXPECT_EQ(plain["vva"]["count"], 0);
    EXPECT_TRUE(plain["vva"]["p95"].is_null());

    // The text says the same.
    const Outcome text = runOrolith({"--metrics", "--vegetated-classes", "forest", f.dem, f.csv});
    EXPECT_EQ(text.status, 0) << text;
    EXPECT_NE(text.out.find("checkpoints: 44 given, 40 used, 3 outside the DEM, 1 next to absent cells"),
              std::string::npos)
        << text.out;
    EXPECT_NE(text.out.find("VVA (forest): 20 points, 95th percentile of |d| 1.900"), std::string::npos) << text.out;
}

TEST(CheckpointCli, EveryWayOfGivingThePointsGivesTheSameFigures)
{
    const Files& f = files();
    const Json expected = jsonOf(runOrolith({"--metrics", "--format", "json", f.dem, f.csv}))["all"];
    std::vector<double> heights;
    const std::vector<Planted> degrees = inDegrees(f.points, heights);
    std::ostringstream lonLat;
    lonLat.precision(15);
    lonLat << "Lon\tLat\tH\tCover\n";
    for (std::size_t i = 0; i < degrees.size(); ++i)
        lonLat << degrees[i].x << '\t' << degrees[i].y << '\t' << heights[i] << '\t' << degrees[i].pointClass << '\n';
    struct {
        const char* what;
        std::vector<std::string> args;
    } cases[] = {
        {"semicolons", {f.dir.write("semi.csv", table(f.points, "x;y;z;class", ';'))}},
        {"tabs", {f.dir.write("tabs.tsv", table(f.points, "x\ty\tz\tclass", '\t'))}},
        {"named columns",
         {"--columns", "east,north,height,cover",
          f.dir.write("named.csv", table(f.points, "east,north,height,cover", ','))}},
        {"names in capitals", {f.dir.write("caps.csv", table(f.points, "X,Y,Z,CLASS", ','))}},
        {"degrees",
         {"--columns=lon,lat,h,cover", "--points-crs", "EPSG:4326", f.dir.write("degrees.csv", lonLat.str())}},
        {"a GeoPackage layer", {writePointLayer(f.dir, f.points)}},
    };
    for (const auto& k : cases) {
        // The options, the DEM, then the point file.
        std::vector<std::string> args = {"--metrics", "--format", "json"};
        args.insert(args.end(), k.args.begin(), k.args.end() - 1);
        args.push_back(f.dem);
        args.push_back(k.args.back());
        const Json j = jsonOf(runOrolith(args));
        EXPECT_EQ(j["all"]["count"], expected["count"]) << k.what;
        EXPECT_NEAR(j["all"]["rmse"].get<double>(), expected["rmse"].get<double>(), 1e-6) << k.what;
        EXPECT_NEAR(j["all"]["median"].get<double>(), expected["median"].get<double>(), 1e-6) << k.what;
        EXPECT_EQ(j["skipped"], 4) << k.what;
        EXPECT_EQ(j["point_classes"].size(), 2u) << k.what;
    }
}

TEST(CheckpointCli, CoregistrationFindsThePointsShiftAndWritesResiduals)
{
    const Files& f = files();
    // Hills facing every way; the points' heights are the DEM's 0.4 cell
    // east and 0.3 cell south of them, plus 0.5.
    auto hills = [](double x, double y) {
        return 60 * std::sin((x - WEST) / 140.0) * std::cos((y - SOUTH) / 120.0) + 0.02 * (x - WEST);
    };
    const std::string dem = writeDem(f.dir, "hills.tif", hills);
    std::ostringstream csv;
    csv.precision(12);
    csv << "x,y,z\n";
    for (int i = 0; i < 40; ++i)
        for (int k = 0; k < 40; ++k) {
            const double x = WEST + 70 + 12.1 * i, y = SOUTH + 70 + 11.7 * k;
            csv << x << ',' << y << ',' << hills(x - 0.4 * CELL, y + 0.3 * CELL) + 0.5 << '\n';
        }
    const std::string points = f.dir.write("hills.csv", csv.str());
    const std::string residuals = f.dir.path + "/residuals.csv";
    const Json j = jsonOf(runOrolith({"--coregister", "--format", "json", "--residuals", residuals, dem, points}));
    EXPECT_NEAR(j["shift_east"].get<double>(), 0.4, 0.05);
    EXPECT_NEAR(j["shift_north"].get<double>(), -0.3, 0.05);
    // Bilinear sampling of these round hills costs about a decimetre.
    EXPECT_NEAR(j["bias"].get<double>(), 0.5, 0.15);
    EXPECT_TRUE(j["improved"].get<bool>());
    EXPECT_LT(j["after"]["all"]["nmad"].get<double>(), 0.3 * j["before"]["all"]["nmad"].get<double>());
    std::ifstream in(residuals);
    std::string header, line;
    std::getline(in, header);
    EXPECT_EQ(header, "x,y,z,dem_height,d,slope,class");
    std::size_t rows = 0;
    while (std::getline(in, line))
        ++rows;
    EXPECT_EQ(rows, j["after"]["all"]["count"].get<std::size_t>());
}

TEST(StableTerrainCli, EachRuleAloneAndCombinedRemovesWhatItMust)
{
    const Files& f = files();
    // The DEM: the plane (12.6 degrees), steeper than 45 degrees from column
    // 13 east. The comparison: the DEM lowered by 0.2 with a wobble of up
    // to 0.05, and four blunders of 5 m in the south-west corner (rows 18
    // and 19, columns 0 and 1).
    auto ground = [](double x, double y) { return planeAt(x, y) + std::max(0.0, x - WEST - 400); };
    auto lowered = [&](double x, double y) {
        const bool blunder = x - WEST < 60 && y - SOUTH < 60;
        return ground(x, y) - 0.2 + 0.05 * std::sin(0.37 * x + 0.71 * y) - (blunder ? 5.0 : 0.0);
    };
    const std::string dem = writeDem(f.dir, "ground.tif", ground);
    const std::string comp = writeDem(f.dir, "lowered.tif", lowered);
    // Stable (non-zero) south of the northern five rows.
    const std::string mask = writeDem(f.dir, "mask.tif", [](double, double y) { return y - SOUTH < 450 ? 1.0 : 0.0; });
    // A polygon over the five western columns, in the DEM's system.
    const std::string polygon = f.dir.write(
        "west.geojson", "{\"type\":\"FeatureCollection\",\"crs\":{\"type\":\"name\",\"properties\":{\"name\":"
                        "\"urn:ogc:def:crs:EPSG::32633\"}},\"features\":[{\"type\":\"Feature\",\"properties\":{},"
                        "\"geometry\":{\"type\":\"Polygon\",\"coordinates\":[[[599990,5099990],[600150,5099990],"
                        "[600150,5100610],[599990,5100610],[599990,5099990]]]}}]}");
    // Points with a slope: the 18 x 18 interior. Columns 1 to 12 stay
    // below 30 degrees; 13 to 18 are above.
    struct {
        const char* what;
        std::vector<std::string> options;
        std::vector<std::size_t> removed; // a rule applied, in order
        std::size_t kept;
    } cases[] = {
        {"the mask raster", {"--mask", mask}, {100}, 300},
        {"the polygon", {"--mask", polygon}, {100}, 300},
        {"inside the polygon", {"--mask", polygon, "--mask-keep-inside"}, {300}, 100},
        {"maximum slope", {"--max-slope", "30"}, {184}, 216},
        {"minimum slope", {"--min-slope=30"}, {292}, 108},
        {"outliers", {"--outliers", "3"}, {4}, 396},
        {"mask and outliers", {"--mask", mask, "--outliers=3"}, {100, 4}, 296},
        // The mask takes rows 0 to 4; the slope the border and the steep
        // columns; of the blunders only (18, 1) is left for the outliers.
        {"all three", {"--outliers", "3", "--max-slope", "30", "--mask", mask}, {100, 132, 1}, 167},
    };
    EXPECT_FALSE(jsonOf(runOrolith({"--metrics", "--format", "json", dem, comp})).contains("stable_terrain"));
    for (const auto& k : cases) {
        std::vector<std::string> args = {"--metrics", "--format", "json"};
        args.insert(args.end(), k.options.begin(), k.options.end());
        args.push_back(dem);
        args.push_back(comp);
        const Json j = jsonOf(runOrolith(args));
        const Json& s = j["stable_terrain"];
        EXPECT_EQ(s["paired"], 400) << k.what;
        EXPECT_EQ(s["kept"], k.kept) << k.what;
        EXPECT_EQ(j["all"]["count"], k.kept) << k.what;
        ASSERT_EQ(s["rules"].size(), k.removed.size()) << k.what;
        for (std::size_t i = 0; i < k.removed.size(); ++i)
            EXPECT_EQ(s["rules"][i]["removed"], k.removed[i]) << k.what << " " << s["rules"][i]["rule"];
    }
    // Without blunders the differences are 0.2 +- 0.05.
    const Json clean = jsonOf(runOrolith({"--metrics", "--format", "json", "--outliers", "3", dem, comp}));
    EXPECT_NEAR(clean["all"]["median"].get<double>(), 0.2, 0.05);
    EXPECT_LT(clean["all"]["max"].get<double>(), 0.26);
}

TEST(StableTerrainCli, TheShiftComesFromTheStableGroundAndTheFiguresAfterItKeepTheRules)
{
    const Files& f = files();
    auto hills = [](double x, double y) {
        return 60 * std::sin((x - WEST) / 140.0) * std::cos((y - SOUTH) / 120.0) + 0.02 * (x - WEST);
    };
    // The comparison: the hills 0.4 cell east and 0.3 cell south, but for a
    // glacier over the western half that flowed a cell the other way (its
    // differences no blunders, yet another shift).
    auto moved = [&](double x, double y) {
        const bool glacier = x - WEST < 300;
        return glacier ? hills(x + 1.0 * CELL, y - 1.0 * CELL) : hills(x - 0.4 * CELL, y + 0.3 * CELL);
    };
    const std::string dem = writeDem(f.dir, "hills2.tif", hills);
    const std::string comp = writeDem(f.dir, "moved.tif", moved);
    const std::string mask = writeDem(f.dir, "glacier.tif", [](double x, double) { return x - WEST < 300 ? 0 : 1; });
    const Json j = jsonOf(runOrolith({"--coregister", "--format", "json", "--mask", mask, dem, comp}));
    EXPECT_EQ(j["stable_terrain"]["rules"][0]["removed"], 200);
    EXPECT_NEAR(j["shift_east"].get<double>(), 0.4, 0.05);
    EXPECT_NEAR(j["shift_north"].get<double>(), -0.3, 0.05);
    EXPECT_LE(j["before"]["all"]["count"].get<int>(), 200);
    // After the shift the glacier is still left out.
    EXPECT_LE(j["after"]["all"]["count"].get<int>(), 200);
    EXPECT_LT(j["after"]["all"]["nmad"].get<double>(), 0.3 * j["before"]["all"]["nmad"].get<double>());
    // Without the mask the glacier's own shift pulls the fit away.
    const Json whole = jsonOf(runOrolith({"--coregister", "--format", "json", dem, comp}));
    EXPECT_GT(std::hypot(whole["shift_east"].get<double>() - 0.4, whole["shift_north"].get<double>() + 0.3), 0.05);
}

TEST(CheckpointCli, BadInputIsRefusedWithNothingWritten)
{
    const Files& f = files();
    const std::string residuals = f.dir.path + "/refused.csv";
    const std::string noZ = f.dir.write("noz.csv", "x,y,height\n600100,5100100,3\n");
    const std::string word = f.dir.write("word.csv", "x,y,z\n600100,5100100,3\n600110,5100110,high\n");
    const std::string away = f.dir.write("away.csv", "x,y,z\n0,0,3\n1,1,4\n");
    struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"--metrics", "--residuals", residuals, f.dem, noZ}, 1, "z"},
        {{"--metrics", "--residuals", residuals, f.dem, word}, 1, "line 3"},
        {{"--metrics", "--residuals", residuals, f.dem, away}, 1, "No checkpoint lies on the DEM: 2 outside it"},
        {{"--coregister", "--residuals", residuals, f.dem, away}, 1, "No checkpoint lies on the DEM"},
        {{"--metrics", "--max-slope", "5", f.dem, f.dem}, 1, "The stable-terrain rules keep no point"},
        {{"--metrics", "--mask", f.dir.path + "/nothing.gpkg", f.dem, f.dem}, 1, "nothing.gpkg"},
        {{"--metrics", "--columns", "a,b", f.dem, f.csv}, 2, "--columns"},
        {{"--metrics", "--columns", "a,b,c", f.dem, f.dem}, 2, "need a point file"},
        {{"--metrics", "--mask", f.dem, f.dem, f.csv}, 2, "not of checkpoints"},
        {{"--metrics", "--residuals", f.dir.path + "/out.txt", f.dem, f.csv}, 2, "OUT.csv or OUT.gpkg"},
        {{"--metrics", "--max-slope", "95", f.dem, f.dem}, 2, "from 0 to 90"},
        {{"--metrics", "--outliers", "0", f.dem, f.dem}, 2, "above 0"},
        {{"--metrics", "--mask-keep-inside", f.dem, f.dem}, 2, "needs --mask"},
        {{"--metrics", "--min-slope", "30", "--max-slope", "10", f.dem, f.dem}, 2, "above --max-slope"},
    };
    for (const auto& k : cases) {
        const Outcome r = runOrolith(k.args);
        EXPECT_EQ(r.status, k.status) << r;
        EXPECT_NE(r.err.find(k.message), std::string::npos) << r;
        EXPECT_EQ(r.out, "") << r;
        EXPECT_FALSE(std::filesystem::exists(residuals)) << r;
    }
}

// The orolith executable, which links no GDAL, run on GeoTIFFs: with its
// GDAL module beside it a GeoTIFF reports as its ESRI ASCII twin does and
// --export writes GeoTIFFs; copied where no module, or a module that does
// not load, lies beside it, it refuses them with a message. And the
// module's point, mask and residual functions, called through its entry.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "dialogs/names.h"
#include "model/gdal/gdalmodule.h"
#include "model/gdal/gdalraster.h"
#include "tests/cli/cli_runner.h"
#include "tests/gdal/tiff_files.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

TEST(GdalModule, GeoTiffsReportAsTheirAsciiTwinsAndExportsReadBack)
{
    ScratchDir dir;
    const Grid dem = bumpy(6, 7, 3u, 1000, 500), ref = bumpy(6, 7, 4u, 1000, 500);
    const std::string tifDem = writeTiff(dir, "dem.tif", dem, {GDT_Float32, true});
    const std::string tifRef = writeTiff(dir, "ref.tif", ref, {GDT_Float32, true});
    const std::string ascDem = writeTwin(dir, "dem.asc", dem, true);
    const std::string ascRef = writeTwin(dir, "ref.asc", ref, true);

    const Outcome tif = runOrolith({"--report", tifDem, tifRef});
    const Outcome asc = runOrolith({"--report", ascDem, ascRef});
    ASSERT_EQ(tif.status, 0) << tif;
    ASSERT_EQ(asc.status, 0) << asc;
    EXPECT_EQ(tif.out, asc.out);

    const std::string tifOut = dir.path + "/curvature.tif", ascOut = dir.path + "/curvature.asc";
    ASSERT_EQ(runOrolith({"--export", "curvature", tifOut, tifDem}).status, 0);
    ASSERT_EQ(runOrolith({"--export", "curvature", ascOut, ascDem}).status, 0);
    const GridIo io = gdalGridIo();
    GridData fromTif, fromAsc;
    ModelError err;
    ASSERT_TRUE(readGridData(tifOut, GridRole::comparison, fromTif, err, io)) << err.text();
    ASSERT_TRUE(readGridData(ascOut, GridRole::comparison, fromAsc, err, io)) << err.text();
    EXPECT_EQ(fromTif.header.format, GridFormat::raster);
    EXPECT_EQ(fromTif.header.text, fromAsc.header.text);
    EXPECT_EQ(fromTif.heights, fromAsc.heights);
}

TEST(GdalModule, WithoutALoadableModuleGeoTiffsAreRefusedWithAMessage)
{
    ScratchDir dir;
    const Grid dem = bumpy(4, 5);
    const std::string tif = writeTiff(dir, "dem.tif", dem, {});
    const std::string asc = writeTwin(dir, "dem.asc", dem, false);
    const std::string exe = dir.path + "/orolith", module = dir.path + "/orolith-gdal.so";
    std::filesystem::copy_file(OROLITH_EXE, exe);
    struct {
        const char* name;
        bool brokenModule;
        std::string readMessage, writeMessage;
    } cases[] = {
        {"no module", false, "not an ESRI ASCII grid, and this build of Orolith reads no other raster format",
         "writes no GeoTIFF (its GDAL module " + module + " is missing): write .asc instead"},
        {"a module that does not load", true, "not an ESRI ASCII grid, and GDAL could not be loaded through " + module,
         "no GeoTIFF written: GDAL could not be loaded through " + module},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        if (k.brokenModule)
            dir.write("orolith-gdal.so", "not a shared library");
        const Outcome read = runExecutable(exe, {"--report", tif});
        EXPECT_EQ(read.status, 255) << read;
        EXPECT_NE(read.err.find("ERROR: file \"" + tif + "\": " + k.readMessage), std::string::npos) << read;
        const std::string out = dir.path + "/curvature.tif";
        const Outcome write = runExecutable(exe, {"--export", "curvature", out, asc});
        EXPECT_EQ(write.status, 1) << write;
        EXPECT_NE(write.err.find(k.writeMessage), std::string::npos) << write;
        EXPECT_FALSE(std::filesystem::exists(out));
    }
}

TEST(GdalModule, WithoutItAlignmentIsRefusedNamingTheModule)
{
    ScratchDir dir;
    const std::string dem = dir.write("dem.grd", bumpy(6, 7).text());
    std::string moved = bumpy(6, 7, 9u).text();
    moved.replace(moved.find("xllcorner 1000"), 14, "xllcorner 1007"); // 0.7 cell off
    const std::string comp = dir.write("moved.grd", moved);
    const std::string exe = dir.path + "/orolith";
    std::filesystem::copy_file(OROLITH_EXE, exe);
    const Outcome r = runExecutable(exe, {"--metrics", "--align", dem, comp});
    EXPECT_EQ(r.status, 1) << r;
    EXPECT_NE(r.err.find("cannot align grids: it needs its GDAL module (orolith-gdal.so"), std::string::npos) << r;
    EXPECT_EQ(r.out, "");
}

TEST(GdalModule, WithoutItCheckpointsAndMasksAreRefusedNamingTheModule)
{
    ScratchDir dir;
    const std::string dem = dir.write("dem.grd", bumpy(6, 7).text());
    const std::string points = dir.write("points.csv", "x,y,z\n1015,2015,100\n");
    const std::string mask = dir.path + "/unstable.gpkg";
    const std::string exe = dir.path + "/orolith", module = dir.path + "/orolith-gdal.so";
    std::filesystem::copy_file(OROLITH_EXE, exe);
    struct {
        const char* name;
        std::vector<std::string> args;
        std::string says;
    } cases[] = {
        {"checkpoints, no module",
         {"--metrics", dem, points},
         "file \"" + points + "\": reading checkpoints needs Orolith's GDAL module, and " + module + " is missing"},
        {"a mask, no module",
         {"--metrics", "--mask", mask, dem, dem},
         "file \"" + mask + "\": reading a mask needs Orolith's GDAL module, and " + module + " is missing"},
        {"checkpoints, a module that does not load",
         {"--metrics", dem, points},
         "file \"" + points + "\": reading checkpoints needs GDAL: GDAL could not be loaded through " + module},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        if (std::string(k.name).find("does not load") != std::string::npos)
            dir.write("orolith-gdal.so", "not a shared library");
        const Outcome r = runExecutable(exe, k.args);
        EXPECT_EQ(r.status, 1) << r;
        EXPECT_NE(r.err.find(k.says), std::string::npos) << r;
        EXPECT_EQ(r.out, "");
    }
}

// The module as the executable loads it, its point, mask and residual
// functions each doing its work.
TEST(GdalModule, ReadsPointsAndMasksAndWritesResidualsThroughItsEntry)
{
    const std::string path = std::filesystem::path(OROLITH_EXE).parent_path().string() + "/" + GDAL_MODULE_FILE;
    void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    auto entry = reinterpret_cast<GdalModuleEntry>(dlsym(lib, GDAL_MODULE_ENTRY));
    ASSERT_NE(entry, nullptr);
    const GdalModule* m = entry();
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->version, GDAL_MODULE_VERSION);
    ASSERT_NE(m->readPoints, nullptr);
    ASSERT_NE(m->readMask, nullptr);
    ASSERT_NE(m->writeResiduals, nullptr);

    ScratchDir dir;
    std::string error;
    PointSource points;
    points.path = dir.write("points.csv", "x,y,z,class\n1005,2015,7.5,ground\n");
    std::vector<Checkpoint> read;
    ASSERT_TRUE(m->readPoints(points, read, error)) << error;
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(read[0].pointClass, "ground");

    // A GeoJSON square over the western of 2 x 2 cells of 10 m.
    const std::string square =
        dir.write("west.geojson", R"({"type": "FeatureCollection", "features": [{"type": "Feature", "properties": {},)"
                                  R"( "geometry": {"type": "Polygon", "coordinates": [[[1000, 2000], [1010, 2000],)"
                                  R"( [1010, 2020], [1000, 2020], [1000, 2000]]]}}]})");
    GridHeader dem;
    dem.rows = dem.cols = 2;
    dem.xllcorner = 1000;
    dem.yllcorner = 2000;
    dem.cellsizeX = dem.cellsizeY = 10;
    std::vector<std::uint8_t> mask;
    ASSERT_TRUE(m->readMask({square, false}, dem, mask, error)) << error;
    EXPECT_EQ(mask, (std::vector<std::uint8_t>{0, 1, 0, 1}));

    const std::string out = dir.path + "/residuals.csv";
    ASSERT_TRUE(m->writeResiduals(out, {{1005, 2015, 7.5, 8, 0.5, 3, "ground"}}, "", error)) << error;
    EXPECT_EQ(readFile(out), "x,y,z,dem_height,d,slope,class\n1005,2015,7.5,8,0.5,3,ground\n");
    EXPECT_FALSE(m->writeResiduals(dir.path + "/residuals.txt", {}, "", error));
    // Never closed: the module's GDAL stays loaded for the process's
    // other tests, as it does in the executable.
}

} // namespace

// orolith-mpi under mpirun with one to four processes against the plain
// orolith, on mosaics of GeoTIFF tiles joined by a VRT: the same bytes on
// standard output whatever the number of processes; a process that cannot
// read its rows ends them all with the file and the rows; a bad option is
// refused before anything is read.
#include <gtest/gtest.h>

#include <cpl_string.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_srs_api.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "model/gridview.h"
#include "tests/cli/cli_runner.h"
#include "tests/model/fractal_surface.h"

namespace {

constexpr int TILE_ROWS = 70, TILE_COLS = 60, TILES_DOWN = 5, TILES_ACROSS = 3;
constexpr int ROWS = TILE_ROWS * TILES_DOWN, COLS = TILE_COLS * TILES_ACROSS; // six blocks of rows
constexpr double WEST = 500000, NORTH = 4200000, CELL = 5;
const char* const UTM33 = "EPSG:32633";

void writeTile(const std::string& path, const std::vector<float>& grid, int r0, int c0)
{
    GDALDatasetH ds =
        GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), TILE_COLS, TILE_ROWS, 1, GDT_Float32, nullptr);
    double gt[6] = {WEST + c0 * CELL, CELL, 0, NORTH - r0 * CELL, 0, -CELL};
    GDALSetGeoTransform(ds, gt);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRSetFromUserInput(srs, UTM33);
    GDALSetSpatialRef(ds, srs);
    OSRDestroySpatialReference(srs);
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), -9999);
    std::vector<float> tile(TILE_ROWS * TILE_COLS);
    for (int r = 0; r < TILE_ROWS; ++r)
        for (int c = 0; c < TILE_COLS; ++c)
            tile[r * TILE_COLS + c] = grid[(r0 + r) * COLS + c0 + c];
    EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, TILE_COLS, TILE_ROWS, tile.data(), TILE_COLS,
                           TILE_ROWS, GDT_Float32, 0, 0),
              CE_None);
    GDALClose(ds);
}

// The grid cut into tiles `name`_i_j.tif and joined by `name`.vrt over the
// whole extent; the tile (skipRow, skipCol) left out of the mosaic.
std::string writeMosaic(const ScratchDir& dir, const std::string& name, const std::vector<float>& grid,
                        int skipRow = -1, int skipCol = -1)
{
    GDALAllRegister();
    std::vector<std::string> tiles;
    for (int i = 0; i < TILES_DOWN; ++i)
        for (int j = 0; j < TILES_ACROSS; ++j) {
            if (i == skipRow && j == skipCol)
                continue;
            tiles.push_back(dir.path + "/" + name + "_" + std::to_string(i) + "_" + std::to_string(j) + ".tif");
            writeTile(tiles.back(), grid, i * TILE_ROWS, j * TILE_COLS);
        }
    std::vector<const char*> names;
    for (const std::string& t : tiles)
        names.push_back(t.c_str());
    const std::string bounds[] = {std::to_string(WEST), std::to_string(NORTH - ROWS * CELL),
                                  std::to_string(WEST + COLS * CELL), std::to_string(NORTH)};
    char* options[] = {const_cast<char*>("-te"),
                       const_cast<char*>(bounds[0].c_str()),
                       const_cast<char*>(bounds[1].c_str()),
                       const_cast<char*>(bounds[2].c_str()),
                       const_cast<char*>(bounds[3].c_str()),
                       const_cast<char*>("-vrtnodata"),
                       const_cast<char*>("-9999"),
                       nullptr};
    GDALBuildVRTOptions* o = GDALBuildVRTOptionsNew(options, nullptr);
    const std::string vrt = dir.path + "/" + name + ".vrt";
    GDALDatasetH ds = GDALBuildVRT(vrt.c_str(), static_cast<int>(names.size()), nullptr, names.data(), o, nullptr);
    EXPECT_NE(ds, nullptr);
    GDALClose(ds);
    GDALBuildVRTOptionsFree(o);
    return vrt;
}

// A DEM with no-data and NaN cells, and a comparison moved by a third of a
// cell, noisy, to 0.1 m (many ties), with a hole of its own and a tile
// missing.
struct Mosaics {
    ScratchDir dir;
    std::string dem, comp;
    Mosaics()
    {
        FractalSurface surface(21, 800, 120, 200, 4);
        std::vector<float> d = surface.grid(ROWS, COLS), c = surface.grid(ROWS, COLS, 0.33, -0.2, 0.4);
        std::mt19937 random(4);
        std::normal_distribution<double> noise(0, 0.8);
        for (std::size_t i = 0; i < d.size(); ++i) {
            c[i] = static_cast<float>(std::round((c[i] + noise(random)) * 10) / 10);
            if (random() % 40 == 0)
                d[i] = -9999;
            if (random() % 90 == 0)
                c[i] = std::nanf("");
        }
        for (int row = 120; row < 150; ++row)
            for (int col = 20; col < 70; ++col)
                c[row * COLS + col] = -9999;
        dem = writeMosaic(dir, "dem", d);
        comp = writeMosaic(dir, "comp", c, 2, 1);
    }
};

std::string mosaicPartPathFor(const std::string& vrt, int rank)
{
    return vrt.substr(0, vrt.size() - 4) + "_" + std::to_string(rank) + ".tif";
}

Outcome mpirun(int ranks, std::vector<std::string> args)
{
    // Open MPI refuses to run as root without these (CI's containers).
    setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
    setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);
    args.insert(args.begin(), {"--oversubscribe", "-n", std::to_string(ranks), OROLITH_MPI_EXE});
    return runExecutable(OROLITH_MPIEXEC, args, false, 120);
}

} // namespace

TEST(OrolithMpi, OneToFourProcessesPrintWhatOrolithPrints)
{
    Mosaics m;
    for (const char* mode : {"--metrics", "--coregister"})
        for (const char* format : {"json", "text"}) {
            const Outcome plain = runOrolith({mode, "--format", format, m.dem, m.comp});
            ASSERT_EQ(plain.status, 0) << plain;
            if (std::string(format) == "json") {
                const OrderedJson j = parsedJson(plain.out);
                const OrderedJson& all = std::string(mode) == "--metrics" ? j["all"] : j["before"]["all"];
                EXPECT_GT(all["count"].get<int>(), ROWS * COLS / 2) << "most cells compared";
                EXPECT_LT(all["count"].get<int>(), ROWS * COLS - TILE_ROWS * TILE_COLS) << "the missing tile absent";
                if (std::string(mode) == "--coregister") {
                    EXPECT_NEAR(j["shift_east"].get<double>(), 0.33, 0.05) << plain.out.substr(0, 400);
                    EXPECT_NEAR(j["shift_north"].get<double>(), -0.2, 0.05);
                    EXPECT_TRUE(j["improved"].get<bool>());
                }
            }
            for (int ranks : {1, 2, 3, 4}) {
                if (std::string(format) == "text" && ranks % 2)
                    continue; // the text's figures are the JSON's
                const Outcome got = mpirun(ranks, {mode, "--format", format, m.dem, m.comp});
                EXPECT_EQ(got.status, 0) << ranks << " processes" << got;
                EXPECT_EQ(got.out, plain.out) << mode << ", " << ranks << " processes, " << format;
            }
        }
    // Other slope classes, the sparse kind.
    const std::vector<std::string> args = {"--metrics", "--format", "json", "--slope-classes", "2,7,15", "--kind",
                                           "sparse",    m.dem,      m.comp};
    const Outcome plain = runOrolith(args);
    ASSERT_EQ(plain.status, 0) << plain;
    EXPECT_EQ(mpirun(3, args).out, plain.out);
}

TEST(OrolithMpi, AProcessThatCannotReadItsRowsEndsEveryProcess)
{
    Mosaics m;
    // The tile of rows 280 to 349 broken after the mosaic was made: the
    // last blocks, read by the last process.
    const std::string broken = m.dir.path + "/comp_4_0.tif";
    std::ofstream(broken, std::ios::trunc) << "not a raster any more";
    for (int ranks : {1, 3}) {
        const Outcome got =
            mpirun(ranks, {ranks == 1 ? "--metrics" : "--coregister", "--format", "json", m.dem, m.comp});
        EXPECT_EQ(got.status, 1) << got;
        EXPECT_EQ(got.out, "") << "nothing printed on failure";
        EXPECT_NE(got.err.find("file \"" + m.comp + "\": rows "), std::string::npos) << got;
        EXPECT_NE(got.err.find("could not be read"), std::string::npos) << got;
        EXPECT_FALSE(got.timedOut);
    }
}

TEST(OrolithMpi, BadOptionsAreRefusedBeforeAnyRowIsRead)
{
    struct Case {
        std::vector<std::string> args;
        const char* says;
    };
    const std::vector<Case> cases = {
        {{"--metrics", "--slope-classes", "x", "a.vrt", "b.vrt"}, "--slope-classes"},
        {{"--metrics", "--align", "a.vrt", "b.vrt"}, "--align"},
        {{"--metrics", "--max-slope", "20", "a.vrt", "b.vrt"}, "stable terrain"},
        {{"--metrics", "a.vrt"}, "orolith-mpi: "},
        {{"--image", "a.vrt"}, "unknown mode --image"},
    };
    for (const Case& c : cases) {
        const Outcome got = mpirun(2, c.args);
        EXPECT_EQ(got.status, 2) << c.says << got;
        EXPECT_NE(got.err.find(c.says), std::string::npos) << got;
        EXPECT_EQ(got.err.find("could not"), std::string::npos) << "no file was opened" << got;
    }
}

namespace {

std::vector<float> rasterValues(const std::string& path)
{
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    EXPECT_NE(ds, nullptr) << path;
    if (!ds)
        return {};
    const int cols = GDALGetRasterXSize(ds), rows = GDALGetRasterYSize(ds);
    std::vector<float> v(static_cast<std::size_t>(rows) * cols);
    EXPECT_EQ(
        GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, cols, rows, v.data(), cols, rows, GDT_Float32, 0, 0),
        CE_None);
    GDALClose(ds);
    return v;
}

} // namespace

// Every kind: the mosaic of one to four processes holds the values of the
// plain program's GeoTIFF, at the same place.
TEST(OrolithMpi, ExportMosaicsHoldTheSingleProcessExport)
{
    Mosaics m;
    for (const char* kind : {"elevdiff", "curvature", "curvediff", "aligned"}) {
        std::vector<std::string> inputs = {m.dem};
        if (std::string(kind) != "curvature")
            inputs.push_back(m.comp);
        const std::string single = m.dir.path + "/" + kind + ".tif";
        std::vector<std::string> args = {"--export", kind, single};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const Outcome plain = runOrolith(args);
        ASSERT_EQ(plain.status, 0) << plain;
        const std::vector<float> want = rasterValues(single);
        ASSERT_EQ(want.size(), static_cast<std::size_t>(ROWS * COLS));
        for (int ranks : {1, 2, 4}) {
            const std::string vrt = m.dir.path + "/" + kind + std::to_string(ranks) + ".vrt";
            args = {"--export", kind, vrt};
            args.insert(args.end(), inputs.begin(), inputs.end());
            const Outcome got = mpirun(ranks, args);
            ASSERT_EQ(got.status, 0) << kind << ", " << ranks << " processes" << got;
            EXPECT_EQ(rasterValues(vrt), want) << kind << ", " << ranks << " processes";
            double a[6], b[6];
            GDALDatasetH x = GDALOpen(vrt.c_str(), GA_ReadOnly), y = GDALOpen(single.c_str(), GA_ReadOnly);
            GDALGetGeoTransform(x, a);
            GDALGetGeoTransform(y, b);
            EXPECT_EQ(std::vector<double>(a, a + 6), std::vector<double>(b, b + 6));
            GDALClose(x);
            GDALClose(y);
            // Each part lies where its rows do: a process's run of 64-row
            // blocks, dealt out evenly.
            const int blocks = (ROWS + 63) / 64;
            for (int k = 0; k < ranks; ++k) {
                const std::string part = mosaicPartPathFor(vrt, k);
                GDALDatasetH ds = GDALOpen(part.c_str(), GA_ReadOnly);
                ASSERT_NE(ds, nullptr) << "a part per process: " << part;
                const int first = blocks * k / ranks * 64, last = std::min(ROWS, blocks * (k + 1) / ranks * 64);
                double t[6];
                GDALGetGeoTransform(ds, t);
                EXPECT_EQ(t[3], NORTH - first * CELL) << part;
                EXPECT_EQ(GDALGetRasterYSize(ds), last - first) << part;
                GDALClose(ds);
            }
        }
    }
}

// A process that cannot read its rows: no mosaic, no part left behind,
// and an earlier mosaic of that name as it was.
TEST(OrolithMpi, AFailedExportLeavesNothing)
{
    Mosaics m;
    std::ofstream(m.dir.path + "/comp_4_0.tif", std::ios::trunc) << "not a raster any more";
    const std::string vrt = m.dir.path + "/out.vrt";
    Outcome got = mpirun(3, {"--export", "elevdiff", vrt, m.dem, m.comp});
    EXPECT_EQ(got.status, 1) << got;
    EXPECT_NE(got.err.find("could not be read"), std::string::npos) << got;
    for (const auto& entry : std::filesystem::directory_iterator(m.dir.path))
        EXPECT_EQ(entry.path().filename().string().rfind("out", 0), std::string::npos)
            << entry.path() << " left behind";

    const std::string earlier = m.dir.path + "/earlier.vrt";
    for (const std::string& f : {earlier, mosaicPartPathFor(earlier, 0), mosaicPartPathFor(earlier, 1)})
        std::ofstream(f) << "an earlier export";
    got = mpirun(2, {"--export", "elevdiff", earlier, m.dem, m.comp});
    EXPECT_EQ(got.status, 1) << got;
    for (const std::string& f : {earlier, mosaicPartPathFor(earlier, 0), mosaicPartPathFor(earlier, 1)})
        EXPECT_EQ(readFile(f), "an earlier export") << f;
}

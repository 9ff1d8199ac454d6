// The streamed runs of --metrics, --coregister and --export on GeoTIFFs
// against the runs that read the grids whole, on the GeoTIFFs' ESRI ASCII
// twins: the same figures to the last digit printed, the same values.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "app/cli_streamed.h"
#include "tests/cli/cli_runner.h"
#include "tests/gdal/tiff_files.h"
#include "tests/model/fractal_surface.h"

namespace {

struct TwinPair {
    ScratchDir dir;
    std::string demTif, compTif, demAsc, compAsc;

    // A DEM of five row blocks and more, a comparison moved by a third of a
    // cell with noise, both with no-data cells; the comparison has zeros
    // too, which the sparse kind leaves out.
    TwinPair()
    {
        const int rows = 333, cols = 140;
        FractalSurface surface(12, 700, 90, 120, 4);
        Grid dem(rows, cols, surface.grid(rows, cols)), comp(rows, cols, surface.grid(rows, cols, 0.3, 0.4, -0.8));
        std::mt19937 random(2);
        for (std::size_t i = 0; i < dem.h.size(); ++i) {
            comp.h[i] =
                static_cast<float>(std::round((comp.h[i] + std::normal_distribution<double>(0, 0.5)(random)) * 8) / 8);
            if (random() % 70 == 0)
                dem.h[i] = -9999;
            if (random() % 50 == 0)
                comp.h[i] = random() % 2 ? -9999 : 0;
        }
        TiffSpec spec;
        spec.nodata = true;
        spec.cellHeight = 30;
        demTif = writeTiff(dir, "dem.tif", dem, spec);
        compTif = writeTiff(dir, "comp.tif", comp, spec);
        demAsc = writeTwin(dir, "dem.asc", dem, true);
        compAsc = writeTwin(dir, "comp.asc", comp, true);
    }
};

} // namespace

TEST(StreamedCli, RastersReadInStripsGiveTheFiguresOfTheGridsReadWhole)
{
    TwinPair p;
    const std::vector<std::vector<std::string>> options = {
        {"--metrics"},
        {"--metrics", "--kind", "sparse"},
        {"--metrics", "--slope-classes", "1,4,9,20"},
        {"--coregister"},
    };
    for (const std::vector<std::string>& o : options) {
        std::vector<std::string> streamed = o, whole = o;
        for (auto* args : {&streamed, &whole}) {
            args->push_back("--format");
            args->push_back("json");
        }
        streamed.insert(streamed.end(), {p.demTif, p.compTif});
        whole.insert(whole.end(), {p.demAsc, p.compAsc});
        const Outcome a = runOrolith(streamed), b = runOrolith(whole);
        ASSERT_EQ(a.status, 0) << a;
        ASSERT_EQ(b.status, 0) << b;
        EXPECT_EQ(jsonPairs(a.out), jsonPairs(b.out)) << o[0] << (o.size() > 1 ? " " + o[1] : "");
        EXPECT_EQ(a.err, "") << "a small grid's passes go unannounced";
    }
}

TEST(StreamedCli, PassesAreAnnouncedFromAHundredMillionCells)
{
    EXPECT_FALSE(saysPasses(333, 140));
    EXPECT_FALSE(saysPasses(9999, 10000));
    EXPECT_TRUE(saysPasses(10000, 10000));
    EXPECT_TRUE(saysPasses(60000, 60000)) << "no overflow";

    // A line as each pass begins, none for the strips that follow.
    class Wide : public PairRows {
    public:
        int rows() const override { return 20000; }
        int cols() const override { return 20000; }
        bool read(int first, int, PairStrip& s, std::string&) override
        {
            s.first = first;
            return true;
        }
    } wide;
    struct Lines : Messages {
        std::vector<std::string> said;
        void line(const std::string& text) override { said.push_back(text); }
        void notice(const std::string&) override {}
    } lines;
    PassLines announced(wide, lines);
    PairStrip s;
    std::string error;
    for (int pass = 0; pass < 3; ++pass)
        for (int first = 0; first < 20000; first += 128)
            announced.read(std::max(0, first - 1), std::min(20000, first + 129), s, error);
    EXPECT_EQ(lines.said,
              std::vector<std::string>({"Pass 1 over the rows of both grids", "Pass 2 over the rows of both grids",
                                        "Pass 3 over the rows of both grids"}));
}

TEST(StreamedCli, ExportsOfRastersHoldTheValuesOfTheGridsReadWhole)
{
    TwinPair p;
    GDALAllRegister();
    for (const char* kind : {"elevdiff", "curvature", "curvediff", "aligned"}) {
        const std::string tif = p.dir.path + "/" + kind + ".tif", vrt = p.dir.path + "/" + kind + ".vrt",
                          asc = p.dir.path + "/" + kind + ".asc";
        const bool alone = std::string(kind) == "curvature";
        std::vector<Outcome> runs;
        for (const std::string& out : {tif, vrt}) {
            std::vector<std::string> args = {"--export", kind, out, p.demTif};
            if (!alone)
                args.push_back(p.compTif);
            runs.push_back(runOrolith(args));
        }
        std::vector<std::string> args = {"--export", kind, asc, p.demAsc};
        if (!alone)
            args.push_back(p.compAsc);
        runs.push_back(runOrolith(args));
        for (const Outcome& r : runs)
            ASSERT_EQ(r.status, 0) << kind << r;
        std::vector<std::vector<float>> values;
        for (const std::string& path : {tif, vrt, asc}) {
            GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
            ASSERT_NE(ds, nullptr) << path;
            const int cols = GDALGetRasterXSize(ds), rows = GDALGetRasterYSize(ds);
            std::vector<float> v(static_cast<std::size_t>(rows) * cols);
            EXPECT_EQ(GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Read, 0, 0, cols, rows, v.data(), cols, rows,
                                   GDT_Float32, 0, 0),
                      CE_None);
            double gt[6];
            GDALGetGeoTransform(ds, gt);
            EXPECT_EQ(gt[3], 5100000 + rows * 30.0) << path << ": the top edge";
            GDALClose(ds);
            values.push_back(v);
        }
        EXPECT_EQ(values[0], values[2]) << kind << ": the GeoTIFF";
        EXPECT_EQ(values[1], values[2]) << kind << ": the one-part mosaic";
        EXPECT_TRUE(std::filesystem::exists(p.dir.path + "/" + kind + "_0.tif"));
    }
}

// A comparison whose rows cannot be read: status 1 with the file and the
// rows, and an earlier export of that name left as it was.
TEST(StreamedCli, AFailedExportKeepsTheEarlierFile)
{
    TwinPair p;
    const std::string vrt = p.dir.write("comp.vrt", "<VRTDataset rasterXSize=\"140\" rasterYSize=\"333\">\n"
                                                    "  <GeoTransform>600000, 30, 0, 5109990, 0, -30</GeoTransform>\n"
                                                    "  <VRTRasterBand dataType=\"Float32\" band=\"1\">\n"
                                                    "    <SimpleSource><SourceFilename relativeToVRT=\"1\">comp.tif"
                                                    "</SourceFilename><SourceBand>1</SourceBand></SimpleSource>\n"
                                                    "  </VRTRasterBand>\n</VRTDataset>\n");
    std::ofstream(p.compTif, std::ios::trunc) << "not a raster any more";
    for (const char* name : {"/old.tif", "/old.asc"}) {
        const std::string out = p.dir.path + name;
        std::ofstream(out) << "an earlier export";
        const Outcome r = runOrolith({"--export", "elevdiff", out, p.demTif, vrt});
        EXPECT_EQ(r.status, 1) << r;
        EXPECT_NE(r.err.find("rows 0 to "), std::string::npos) << r;
        EXPECT_EQ(readFile(out), "an earlier export") << name;
        EXPECT_FALSE(std::filesystem::exists(out + ".partial"));
    }
}

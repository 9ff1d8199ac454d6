// Streaming and MPI benchmark. Writes, in a temporary folder, a 4000 x
// 4000 float32 GeoTIFF pair (a smooth surface with a few no-data cells,
// and the same surface with noise, to 0.1) and VRTs that repeat it: a
// 60000 x 60000 pair (15 x 15 tiles, 3.6 billion cells; no 29 GB files
// needed) and a 20000 x 20000 pair. Then times, with each run's peak
// memory (the largest process's resident set):
//   orolith --metrics on the 60000 x 60000 pair, target at most 1 GB;
//   orolith-mpi --metrics on the 20000 x 20000 pair with 1 and with 2
//   processes, target 2 processes at least 1.7 times as fast.
// Exits 1 when a target is missed.
//   bench_stream path/to/orolith [path/to/orolith-mpi path/to/mpiexec] [--small]
// --small runs the 60000 pair's part on a 20000 x 20000 one, for a quick look.
#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int TILE = 4000;
constexpr double WEST = 500000, NORTH = 5600000, CELL = 10;

struct Run {
    bool ok = false;
    double seconds = 0;
    long peakMiB = 0;
    std::string out;
};

Run runChild(const std::vector<std::string>& args, const std::string& outPath)
{
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    Run r;
    int status = 0;
    struct rusage usage {};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        r.ok = true;
    r.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    // The child's peak, or that of the largest process it waited for
    // (mpirun's processes).
    r.peakMiB = usage.ru_maxrss / 1024;
    std::ifstream in(outPath);
    r.out.assign(std::istreambuf_iterator<char>(in), {});
    return r;
}

std::string utm33()
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 32633);
    char* text = nullptr;
    OSRExportToWkt(srs, &text);
    std::string wkt = text;
    CPLFree(text);
    OSRDestroySpatialReference(srs);
    return wkt;
}

bool writeTile(const std::string& path, const std::vector<float>& v)
{
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), TILE, TILE, 1, GDT_Float32, nullptr);
    if (!ds)
        return false;
    double gt[6] = {WEST, CELL, 0, NORTH, 0, -CELL};
    GDALSetGeoTransform(ds, gt);
    GDALSetProjection(ds, utm33().c_str());
    GDALSetRasterNoDataValue(GDALGetRasterBand(ds, 1), -9999);
    const bool ok = GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, TILE, TILE, const_cast<float*>(v.data()),
                                 TILE, TILE, GDT_Float32, 0, 0) == CE_None;
    GDALClose(ds);
    return ok;
}

// n x n copies of the tile, side by side.
void writeRepeatVrt(const std::string& path, const std::string& tile, int n)
{
    const int size = n * TILE;
    std::ofstream x(path);
    x << "<VRTDataset rasterXSize=\"" << size << "\" rasterYSize=\"" << size << "\">\n";
    x << "  <GeoTransform>" << WEST << ", " << CELL << ", 0, " << NORTH << ", 0, " << -CELL << "</GeoTransform>\n";
    x << "  <VRTRasterBand dataType=\"Float32\" band=\"1\">\n    <NoDataValue>-9999</NoDataValue>\n";
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j)
            x << "    <SimpleSource><SourceFilename relativeToVRT=\"1\">" << tile
              << "</SourceFilename><SourceBand>1</SourceBand><SrcRect xOff=\"0\" yOff=\"0\" xSize=\"" << TILE
              << "\" ySize=\"" << TILE << "\"/><DstRect xOff=\"" << j * TILE << "\" yOff=\"" << i * TILE
              << "\" xSize=\"" << TILE << "\" ySize=\"" << TILE << "\"/></SimpleSource>\n";
    x << "  </VRTRasterBand>\n</VRTDataset>\n";
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool small = false;
    for (auto it = args.begin(); it != args.end();)
        if (*it == "--small") {
            small = true;
            it = args.erase(it);
        } else {
            ++it;
        }
    if (args.empty()) {
        std::fprintf(stderr, "usage: bench_stream path/to/orolith [path/to/orolith-mpi path/to/mpiexec] [--small]\n");
        return 2;
    }
    GDALAllRegister();
    const std::string dir = (std::filesystem::temp_directory_path() / "orolith_bench_stream").string();
    std::filesystem::create_directories(dir);
    std::vector<float> dem(static_cast<std::size_t>(TILE) * TILE), comp(dem.size());
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0.2, 1.0);
    for (int r = 0; r < TILE; ++r)
        for (int c = 0; c < TILE; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * TILE + c;
            dem[i] = static_cast<float>(600 + 0.02 * c + 250 * std::sin(c / 310.0) * std::cos(r / 230.0));
            comp[i] = static_cast<float>(std::round((dem[i] + noise(random)) * 10) / 10);
            if (random() % 5000 == 0)
                dem[i] = -9999;
        }
    if (!writeTile(dir + "/dem_tile.tif", dem) || !writeTile(dir + "/comp_tile.tif", comp)) {
        std::fprintf(stderr, "cannot write the tiles in %s\n", dir.c_str());
        return 1;
    }
    const int bigN = small ? 5 : 15;
    writeRepeatVrt(dir + "/dem_big.vrt", "dem_tile.tif", bigN);
    writeRepeatVrt(dir + "/comp_big.vrt", "comp_tile.tif", bigN);
    writeRepeatVrt(dir + "/dem_mid.vrt", "dem_tile.tif", 5);
    writeRepeatVrt(dir + "/comp_mid.vrt", "comp_tile.tif", 5);
    setenv("OMPI_ALLOW_RUN_AS_ROOT", "1", 1);
    setenv("OMPI_ALLOW_RUN_AS_ROOT_CONFIRM", "1", 1);

    bool met = true;
    const double bigCells = double(bigN) * TILE * bigN * TILE;
    const Run big = runChild({args[0], "--metrics", "--format", "json", dir + "/dem_big.vrt", dir + "/comp_big.vrt"},
                             dir + "/big.json");
    std::printf("orolith --metrics, %d x %d VRT pair (%.2g cells): %s %.1f s, %.1f s per billion cells, peak %ld MiB "
                "(target at most 1024)\n",
                bigN * TILE, bigN * TILE, bigCells, big.ok ? "" : "FAILED", big.seconds, big.seconds / (bigCells / 1e9),
                big.peakMiB);
    met = met && big.ok && big.peakMiB <= 1024;

    if (args.size() >= 3) {
        const double midCells = 20000.0 * 20000.0;
        Run one, two;
        for (int ranks : {1, 2}) {
            Run& r = ranks == 1 ? one : two;
            r = runChild({args[2], "--oversubscribe", "-n", std::to_string(ranks), args[1], "--metrics", "--format",
                          "json", dir + "/dem_mid.vrt", dir + "/comp_mid.vrt"},
                         dir + "/mid" + std::to_string(ranks) + ".json");
            std::printf("orolith-mpi --metrics, 20000 x 20000 VRT pair, %d process%s: %s %.1f s, %.1f s per billion "
                        "cells, peak %ld MiB a process\n",
                        ranks, ranks == 1 ? "" : "es", r.ok ? "" : "FAILED", r.seconds, r.seconds / (midCells / 1e9),
                        r.peakMiB);
        }
        const double speedUp = one.seconds / two.seconds;
        std::printf("2 processes against 1: %.2f times as fast (target at least 1.7); same output: %s\n", speedUp,
                    one.out == two.out ? "yes" : "NO");
        met = met && one.ok && two.ok && one.out == two.out && speedUp >= 1.7;
    }
    std::filesystem::remove_all(dir);
    return met ? 0 : 1;
}

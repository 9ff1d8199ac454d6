// Checkpoint and mask benchmark. Writes, in a temporary folder, a 4000 x
// 4000 float GeoTIFF DEM (a smooth surface in UTM, a few no-data cells), a
// CSV table of 1,000,000 checkpoints on it and a GeoPackage polygon of
// 10,000 vertices, then times:
//   reading the table and assessing the DEM at the points;
//   `orolith --metrics DEM points.csv` end to end (reading both), when the
//   path of the executable is given, target 2 s (n/a when that run fails);
//   burning the polygon onto the DEM's grid, target 1 s;
//   writing the residuals as CSV and as GeoPackage (no target).
// Exits 1 when a target is missed.
//   bench_points [path/to/orolith]
#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "model/checkpoints.h"
#include "model/gdal/gdalmask.h"
#include "model/gdal/gdalpoints.h"
#include "model/gdal/gdalraster.h"
#include "model/gdal/gdalresiduals.h"
#include "model/gridview.h"
#include "model/metrics.h"
#include "model/pointio.h"

using namespace orolith::model;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int SIZE = 4000;
constexpr double WEST = 500000, SOUTH = 5100000, CELL = 10; // UTM zone 33 north
constexpr int EPSG = 32633;
constexpr std::size_t POINTS = 1000000;
constexpr int VERTICES = 10000;

double seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

// Hills a few kilometres across on a gentle slope: smooth, so that the
// assessment's figures are those of the noise added to the points.
double surface(double x, double y)
{
    return 600 + 0.002 * (x - WEST) + 250 * std::sin((x - WEST) / 3100) * std::cos((y - SOUTH) / 2300);
}

std::string wktOf(int epsg)
{
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, epsg);
    char* text = nullptr;
    OSRExportToWkt(srs, &text);
    std::string wkt = text;
    CPLFree(text);
    OSRDestroySpatialReference(srs);
    return wkt;
}

bool writeDem(const std::string& path)
{
    std::vector<float> h(static_cast<std::size_t>(SIZE) * SIZE);
    for (int r = 0; r < SIZE; ++r)
        for (int c = 0; c < SIZE; ++c)
            h[static_cast<std::size_t>(r) * SIZE + c] =
                static_cast<float>(surface(WEST + (c + 0.5) * CELL, SOUTH + (SIZE - r - 0.5) * CELL));
    for (int k = 1; k <= 50; ++k) // a few holes, as a real DEM has
        h[static_cast<std::size_t>(k * 79) * SIZE + static_cast<std::size_t>(k * 61)] = -9999;
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), path.c_str(), SIZE, SIZE, 1, GDT_Float32, nullptr);
    if (!ds)
        return false;
    double gt[6] = {WEST, CELL, 0, SOUTH + SIZE * CELL, 0, -CELL};
    GDALSetGeoTransform(ds, gt);
    GDALSetProjection(ds, wktOf(EPSG).c_str());
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    GDALSetRasterNoDataValue(band, -9999);
    const bool ok = GDALRasterIO(band, GF_Write, 0, 0, SIZE, SIZE, h.data(), SIZE, SIZE, GDT_Float32, 0, 0) == CE_None;
    GDALClose(ds);
    return ok;
}

void appendFixed(std::string& line, double v, int decimals)
{
    char buf[32];
    line.append(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals).ptr);
}

// Points spread over the grid's inner part, each a few centimetres off
// the surface.
bool writePoints(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    if (!f)
        return false;
    std::string text = "x,y,z,class\n";
    const char* classes[] = {"ground", "forest", "urban", "grass"};
    std::uint64_t seed = 12345;
    auto uniform = [&seed] {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(seed >> 11) / 9007199254740992.0;
    };
    for (std::size_t i = 0; i < POINTS; ++i) {
        const double x = WEST + CELL + uniform() * (SIZE - 2) * CELL, y = SOUTH + CELL + uniform() * (SIZE - 2) * CELL;
        appendFixed(text, x, 3);
        text += ',';
        appendFixed(text, y, 3);
        text += ',';
        appendFixed(text, surface(x, y) + (uniform() - 0.5) * 0.2, 3);
        text += ',';
        text += classes[i % 4];
        text += '\n';
    }
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

// A wobbly ring of VERTICES points round the grid's centre, in `epsg`'s
// system.
bool writePolygon(const std::string& path, int epsg)
{
    OGRSpatialReferenceH utm = OSRNewSpatialReference(nullptr), to = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(utm, EPSG);
    OSRImportFromEPSG(to, epsg);
    OSRSetAxisMappingStrategy(utm, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
    std::vector<double> x(VERTICES + 1), y(VERTICES + 1);
    for (int i = 0; i <= VERTICES; ++i) {
        const double a = 2 * M_PI * (i % VERTICES) / VERTICES;
        const double radius = 12000 + 1500 * std::sin(7 * a) + 400 * std::sin(53 * a);
        x[i] = WEST + SIZE * CELL / 2 + radius * std::cos(a);
        y[i] = SOUTH + SIZE * CELL / 2 + radius * std::sin(a);
    }
    OGRCoordinateTransformationH t = OCTNewCoordinateTransformation(utm, to);
    OCTTransform(t, VERTICES + 1, x.data(), y.data(), nullptr);
    OCTDestroyCoordinateTransformation(t);
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GPKG"), path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    OGRLayerH layer = ds ? GDALDatasetCreateLayer(ds, "unstable", to, wkbPolygon, nullptr) : nullptr;
    bool ok = layer != nullptr;
    if (ok) {
        OGRGeometryH ring = OGR_G_CreateGeometry(wkbLinearRing);
        for (int i = 0; i <= VERTICES; ++i)
            OGR_G_AddPoint_2D(ring, x[i], y[i]);
        OGRGeometryH polygon = OGR_G_CreateGeometry(wkbPolygon);
        OGR_G_AddGeometryDirectly(polygon, ring);
        OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(layer));
        OGR_F_SetGeometryDirectly(f, polygon);
        ok = OGR_L_CreateFeature(layer, f) == OGRERR_NONE;
        OGR_F_Destroy(f);
    }
    if (ds)
        GDALClose(ds);
    OSRDestroySpatialReference(utm);
    OSRDestroySpatialReference(to);
    return ok;
}

// The executable's elapsed time on `args`, its output discarded; negative
// when it fails.
double timeExecutable(const std::string& exe, const std::vector<std::string>& args)
{
    std::vector<char*> argv{const_cast<char*>(exe.c_str())};
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execv(exe.c_str(), argv.data());
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return seconds(start);
}

struct Table {
    bool allMet = true;

    // target 0: none.
    void row(const std::string& what, double s, double target)
    {
        const bool met = target == 0 || (s >= 0 && s < target);
        allMet = allMet && met;
        char time[32], goal[32];
        std::snprintf(time, sizeof time, s < 0 ? "n/a" : "%.2f", s);
        std::snprintf(goal, sizeof goal, target == 0 ? "-" : "< %.0f s", target);
        std::printf("%-48s %8s  %-8s %s\n", what.c_str(), time, goal, target == 0 ? "" : met ? "ok" : "MISSED");
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv)
{
    GDALAllRegister();
    const std::string tmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    std::string dir = tmp + "/orolith-bench-points-XXXXXX";
    if (!mkdtemp(dir.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    const std::string dem = dir + "/dem.tif", points = dir + "/points.csv";
    const std::string polygon = dir + "/unstable.gpkg", lonLat = dir + "/unstable-lonlat.gpkg";
    std::fprintf(stderr, "Writing the DEM, the points and the polygons in %s...\n", dir.c_str());
    if (!writeDem(dem) || !writePoints(points) || !writePolygon(polygon, EPSG) || !writePolygon(lonLat, 4326)) {
        std::fprintf(stderr, "could not write the benchmark's files\n");
        std::filesystem::remove_all(dir);
        return 2;
    }

    Table table;
    std::printf("%-48s %8s  %-8s\n", "what", "seconds", "target");
    auto start = Clock::now();
    GridData grid;
    ModelError err;
    if (!readGridData(dem, GridRole::dem, grid, err, gdalGridIo(), 2)) {
        std::fprintf(stderr, "%s\n", err.text().c_str());
        return 2;
    }
    table.row("read the 4000 x 4000 GeoTIFF DEM", seconds(start), 0);

    start = Clock::now();
    PointSource source;
    source.path = points;
    source.demWkt = grid.header.projection;
    std::vector<Checkpoint> read;
    std::string error;
    const bool pointsRead = readPointFile(source, read, error);
    const double readTime = seconds(start);
    start = Clock::now();
    const CheckpointAssessment a =
        assessCheckpoints(viewOf(grid), grid.header, groundSpacing(grid.header), read, defaultSlopeBounds(), {});
    const double assessTime = seconds(start);
    if (!pointsRead || a.report.all.count < POINTS * 99 / 100) {
        std::fprintf(stderr, "the points were not read or not assessed: %s\n", error.c_str());
        return 2;
    }
    table.row("read 1,000,000 checkpoints (CSV)", readTime, 0);
    table.row("assess the DEM at them", assessTime, 0);
    table.row("checkpoints read and assessed", readTime + assessTime, 0);
    if (argc > 1)
        table.row("orolith --metrics DEM points.csv (end to end)", timeExecutable(argv[1], {"--metrics", dem, points}),
                  2);

    for (const auto& [what, path] : {std::pair{"mask: 10,000-vertex polygon onto 4000 x 4000", polygon},
                                     std::pair{"mask: the same in longitude and latitude", lonLat}}) {
        std::vector<std::uint8_t> mask;
        start = Clock::now();
        const bool ok = readMaskFile({path, false}, grid.header, mask, error);
        table.row(what, ok ? seconds(start) : -1, 1);
        // The ring holds about 450 km² of the grid's 1600.
        const double inside = static_cast<double>(std::count(mask.begin(), mask.end(), 0)) / grid.header.cells();
        if (!ok || std::fabs(inside - 0.283) > 0.01) {
            std::fprintf(stderr, "the mask is wrong (%.3f of the cells inside): %s\n", inside, error.c_str());
            table.allMet = false;
        }
    }

    const std::vector<ResidualRow> rows = residualRows(read, a);
    for (const char* name : {"residuals.csv", "residuals.gpkg"}) {
        start = Clock::now();
        const bool ok = writeResidualFile(dir + "/" + name, rows, grid.header.projection, error);
        table.row(std::string("write ") + std::to_string(rows.size()) + " residuals (" + name + ")",
                  ok ? seconds(start) : -1, 0);
    }
    std::filesystem::remove_all(dir);
    return table.allMet ? 0 : 1;
}

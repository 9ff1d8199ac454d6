// The benchmark table of the README: for synthetic DEM pairs of several
// sizes, reading beside two baselines (formatted stream input, and a bare
// std::from_chars pass over the text in memory) and, when gdal-bin is
// installed, gdal_translate of the same files; each analysis in ns a cell;
// the wall time and peak memory of `orolith --report`; and, with a frame
// benchmark program given, the viewer's frame times beside a one
// begin/end pair per triangle baseline drawn in the same run.
//
// Usage: bench_table ORLITH_EXE [--frames BENCH_FRAMES] [SIZE...]
// (sizes default to 500 1000 2000 4000; scripts/bench.sh runs it). Medians
// of three runs (of seven for the read and its baseline); grids are written to $TMPDIR (or /tmp) and removed after.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "bench/synthetic.h"
#include "model/fields.h"
#include "model/gridfile.h"
#include "model/heightclasses.h"
#include "model/load.h"
#include "model/tokens.h"

using namespace orolith::model;

namespace {
using Clock = std::chrono::steady_clock;

double since(Clock::time_point t) { return std::chrono::duration<double>(Clock::now() - t).count(); }

double median3(const std::function<double()>& run)
{
    double t[3] = {run(), run(), run()};
    std::sort(t, t + 3);
    return t[1];
}

double median7(const std::function<double()>& run)
{
    std::vector<double> t;
    for (int k = 0; k < 7; ++k)
        t.push_back(run());
    std::sort(t.begin(), t.end());
    return t[3];
}

struct Child {
    double seconds = -1;
    long peakMiB = -1;
    std::string out;
};

// Runs a command, its output to `out` (or discarded), and measures it.
Child runChild(const std::vector<std::string>& args, bool keepOutput = false)
{
    std::string outPath = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/bench_child.out";
    std::vector<char*> argv;
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    Clock::time_point t = Clock::now();
    std::fflush(stdout);
    pid_t pid = fork();
    if (pid == 0) {
        int out = open(keepOutput ? outPath.c_str() : "/dev/null", O_WRONLY | O_CREAT | O_TRUNC, 0600);
        int err = open("/dev/null", O_WRONLY);
        dup2(out, 1);
        dup2(err, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    Child c;
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        c.seconds = since(t);
        c.peakMiB = usage.ru_maxrss / 1024;
        if (keepOutput) {
            std::ifstream in(outPath);
            c.out.assign(std::istreambuf_iterator<char>(in), {});
        }
    }
    std::remove(outPath.c_str());
    return c;
}

bool haveCommand(const char* name)
{
    std::string check = std::string("command -v ") + name + " >/dev/null 2>&1";
    return std::system(check.c_str()) == 0;
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The floor a reader can hope for: every token of the text in memory
// through std::from_chars, nothing else.
double bareFromChars(const std::string& text)
{
    Clock::time_point t = Clock::now();
    std::string_view view(text);
    std::size_t pos = 0;
    for (int skip = 0; skip < 12; ++skip) // the header
        nextToken(view, pos);
    double sum = 0;
    for (std::string_view tok = nextToken(view, pos); !tok.empty(); tok = nextToken(view, pos)) {
        float v = 0;
        std::from_chars(tok.data(), tok.data() + tok.size(), v);
        sum += v;
    }
    double s = since(t);
    if (sum == 12345.678) // keeps the loop from being optimised away
        std::puts("");
    return s;
}

// Formatted stream input, the way the grid format has always been read.
double streamRead(const std::string& path)
{
    Clock::time_point t = Clock::now();
    std::ifstream in(path);
    std::string word;
    float v;
    for (int k = 0; k < 6 && in >> word; ++k)
        in >> v;
    double sum = 0;
    while (in >> v)
        sum += v;
    double s = since(t);
    if (sum == 12345.678)
        std::puts("");
    return s;
}

double nsPerCell(double seconds, int size) { return seconds * 1e9 / (static_cast<double>(size) * size); }

struct Row {
    int size = 0;
    double read = 0, fromChars = 0, stream = 0, gdal = -1;
    double curvature = 0, elevdiff = 0, curvediff = 0, rmse = 0, heights = 0;
    double report = 0, metrics = 0, coregister = 0;
    double accuracyReport = -1;       // --accuracy-report with --coregister, HTML
    double align = -1, gdalwarp = -1; // a comparison offset by a fraction of a cell onto the DEM's grid
    long reportMiB = 0;
    std::string frames; // from the frame benchmark, already formatted
};

Row measure(int size, const std::string& exe, const std::string& frames)
{
    const std::string dir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    const std::string dem = dir + "/orolith_bench_dem.asc", comp = dir + "/orolith_bench_comp.asc";
    bench::writePair(dem, comp, size);
    Row row;
    row.size = size;

    // The children first: a child forked while this process holds a loaded
    // data set would count that memory as its own until it execs.
    Child reports[3] = {runChild({exe, "--report", dem, comp}), runChild({exe, "--report", dem, comp}),
                        runChild({exe, "--report", dem, comp})};
    std::sort(reports, reports + 3, [](const Child& a, const Child& b) { return a.seconds < b.seconds; });
    row.report = reports[1].seconds;
    row.reportMiB = std::max({reports[0].peakMiB, reports[1].peakMiB, reports[2].peakMiB});
    row.metrics = median3([&] { return runChild({exe, "--metrics", dem, comp}).seconds; });
    row.coregister = runChild({exe, "--coregister", dem, comp}).seconds;
    {
        const std::string page = dir + "/orolith_bench_report.html";
        row.accuracyReport = runChild({exe, "--accuracy-report", page, "--coregister", dem, comp}).seconds;
        std::remove(page.c_str());
        std::remove((dir + "/orolith_bench_report.json").c_str());
    }
    if (!frames.empty()) {
        Child f = runChild({frames, dem, comp}, true);
        row.frames = f.seconds < 0 ? "failed" : f.out;
        while (!row.frames.empty() && row.frames.back() == '\n')
            row.frames.pop_back();
        if (f.seconds >= 0)
            row.frames += " | " + std::to_string(f.peakMiB);
    }

    // Short and swayed by a busy machine: medians of seven runs, each kind
    // run back to back (the baseline's text stays warm in the caches).
    row.read = median7([&] {
        GridData data;
        ModelError err;
        Clock::time_point t = Clock::now();
        readGridData(dem, GridRole::dem, data, err, GridIo{}, 2);
        return since(t);
    });
    const std::string text = slurp(dem);
    row.fromChars = median7([&] { return bareFromChars(text); });
    row.stream = median3([&] { return streamRead(dem); });
    if (haveCommand("gdal_translate"))
        row.gdal = median3([&] {
            Child a = runChild({"gdal_translate", "-q", "-of", "GTiff", dem, dir + "/orolith_bench.tif"});
            Child b = runChild({"gdal_translate", "-q", "-of", "GTiff", comp, dir + "/orolith_bench.tif"});
            return a.seconds + b.seconds;
        });
    std::remove((dir + "/orolith_bench.tif").c_str());
    if (haveCommand("gdalwarp")) {
        // GeoTIFFs of the pair, the comparison's corner moved by 0.3 and
        // 0.6 cell; orolith resamples it onto the DEM's grid and writes it
        // (reading the DEM too), gdalwarp does the same job from the
        // command line, both writing DEFLATE-compressed GeoTIFFs.
        const std::string demTif = dir + "/orolith_bench_dem.tif", compTif = dir + "/orolith_bench_comp.tif";
        const std::string out = dir + "/orolith_bench_aligned.tif";
        const double west = 600000, south = 5100000, side = 10.0 * size;
        char ullr[4][32];
        std::snprintf(ullr[0], 32, "%.3f", west + 3);
        std::snprintf(ullr[1], 32, "%.3f", south + side + 6);
        std::snprintf(ullr[2], 32, "%.3f", west + side + 3);
        std::snprintf(ullr[3], 32, "%.3f", south + 6);
        runChild({"gdal_translate", "-q", "-of", "GTiff", dem, demTif});
        runChild(
            {"gdal_translate", "-q", "-of", "GTiff", "-a_ullr", ullr[0], ullr[1], ullr[2], ullr[3], comp, compTif});
        row.align = median3([&] {
            return runChild({exe, "--export", "aligned", "--align", out, demTif, compTif}).seconds;
        });
        const std::string te[4] = {std::to_string(west), std::to_string(south), std::to_string(west + side),
                                   std::to_string(south + side)};
        row.gdalwarp = median3([&] {
            return runChild({"gdalwarp", "-q", "-overwrite", "-r", "bilinear", "-co", "COMPRESS=DEFLATE", "-te", te[0],
                             te[1], te[2], te[3], "-ts", std::to_string(size), std::to_string(size), compTif, out})
                .seconds;
        });
        for (const std::string& f : {demTif, compTif, out})
            std::remove(f.c_str());
    }

    SilentMessages quiet; // the analyses' progress lines stay out of the table
    LoadRequest request;
    request.demPath = dem;
    request.comparisonPath = comp;
    const Loaded loaded = loadDataSet(request, GridIo{}, quiet);
    const GridView d = loaded.dataSet.demView(), c = loaded.dataSet.comparisonView();
    auto time = [&](const std::function<void()>& step) {
        return nsPerCell(median3([&] {
                             Clock::time_point t = Clock::now();
                             step();
                             return since(t);
                         }),
                         size);
    };
    // Each analysis as a load runs it: the values, then their classes.
    CurvatureField curvature;
    row.curvature = time([&] {
        curvature = curvatureField(d);
        curvatureClasses(curvature, d, 1.0f);
    });
    row.elevdiff = time([&] { elevationClasses(elevationField(d, c), d, c, 1.0f); });
    row.curvediff = time([&] { curvatureDifferenceClasses(curvatureDifferenceField(c, curvature), d, c, 1.0f); });
    row.rmse = time([&] { reportRmse(d, c); });
    row.heights = time([&] {
        std::string why;
        heightClassesOf(d, 20, why);
    });

    std::remove(dem.c_str());
    std::remove(comp.c_str());
    return row;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_table OROLITH_EXE [--frames BENCH_FRAMES] [SIZE...]\n");
        return 2;
    }
    const std::string exe = argv[1];
    std::string frames;
    std::vector<int> sizes;
    for (int i = 2; i < argc; ++i) {
        if (std::string(argv[i]) == "--frames" && i + 1 < argc)
            frames = argv[++i];
        else
            sizes.push_back(std::atoi(argv[i]));
    }
    if (sizes.empty())
        sizes = {500, 1000, 2000, 4000};

    std::printf("Synthetic pairs (fractal relief, 2-decimal heights); medians of 3 runs (7 for read\n"
                "and fromchars); times in seconds "
                "unless marked. read: one grid, ours; fromchars: a bare std::from_chars pass over its text\n"
                "in memory; stream: formatted stream input; gdal: gdal_translate of both grids to GeoTIFF;\n"
                "the analyses in ns a cell; report, metrics, coreg: orolith --report, --metrics and\n"
                "--coregister of the pair, reading included, with the report's peak memory; align: orolith\n"
                "--export aligned --align of the comparison (a GeoTIFF offset by 0.3 and 0.6 cell) onto the\n"
                "DEM's grid, gdalwarp: the same resampling by gdalwarp; acc.rep: orolith --accuracy-report\n"
                "OUT.html --coregister of the pair, and its ratio to coreg.\n\n");
    std::printf("%5s | %6s %9s %6s %6s %6s | %9s %8s %9s %6s %7s | %7s %8s %8s %6s %7s %5s | %6s %8s", "size", "read",
                "fromchars", "ratio", "stream", "gdal", "curv ns", "diff ns", "cdiff ns", "rmse", "heights", "report",
                "peak MB", "metrics", "coreg", "acc.rep", "ratio", "align", "gdalwarp");
    if (!frames.empty())
        std::printf(
            " | %s",
            "frames, ms: full / camera / drag / per-triangle baseline / readout per mouse move | viewer peak MB");
    std::printf("\n");
    for (int size : sizes) {
        Row r = measure(size, exe, frames);
        char gdal[16];
        if (r.gdal < 0)
            std::snprintf(gdal, sizeof gdal, "%6s", "-");
        else
            std::snprintf(gdal, sizeof gdal, "%6.2f", r.gdal);
        std::printf("%5d | %6.3f %9.3f %6.2f %6.2f %s | %9.1f %8.1f %9.1f %6.1f %7.1f | %7.3f %8ld %8.3f %6.2f", r.size,
                    r.read, r.fromChars, r.read / r.fromChars, r.stream, gdal, r.curvature, r.elevdiff, r.curvediff,
                    r.rmse, r.heights, r.report, r.reportMiB, r.metrics, r.coregister);
        std::printf(" %7.2f %5.2f", r.accuracyReport, r.accuracyReport / r.coregister);
        if (r.align < 0)
            std::printf(" | %6s %8s", "-", "-");
        else
            std::printf(" | %6.2f %8.2f", r.align, r.gdalwarp);
        if (!frames.empty())
            std::printf(" | %s", r.frames.c_str());
        std::printf("\n");
        std::fflush(stdout);
    }
    return 0;
}

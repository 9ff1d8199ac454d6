// Load-and-analyse benchmark on a large synthetic DEM: how long reading,
// the mesh, normals, curvature and both difference analyses take, and how
// much memory the model holds. Usage: bench_pipeline [rows cols]
//
// Targets for a 4000 x 4000 grid (16 million points, about 130 MB of text)
// on one core of the 2-core build machine: reading under 4 s, the whole
// pipeline with a comparison grid under 15 s. The program says whether
// each target was met and exits 1 when one was missed.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "model/mountain.h"

namespace {
using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

void writeGrid(const std::string& path, int rows, int cols, float shift)
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "ncols %d\nnrows %d\nxllcorner 600000\nyllcorner 5100000\ncellsize 10\nNODATA_value -9999\n",
                 cols, rows);
    std::string line;
    char buf[32];
    for (int r = 0; r < rows; ++r) {
        line.clear();
        for (int c = 0; c < cols; ++c) {
            float h = 2500.0f + 900.0f * std::sin(r * 0.01f) * std::cos(c * 0.013f) + 0.37f * ((r * 31 + c * 17) % 11) + shift;
            std::snprintf(buf, sizeof buf, "%.2f ", h);
            line += buf;
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kib;
            status >> kib;
            return kib;
        }
    }
    return -1;
}
}

int main(int argc, char** argv)
{
    int rows = argc > 2 ? std::atoi(argv[1]) : 4000;
    int cols = argc > 2 ? std::atoi(argv[2]) : 4000;
    std::string dir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    std::string dem = dir + "/orolith_bench_dem.grd", comp = dir + "/orolith_bench_comp.grd";
    writeGrid(dem, rows, cols, 0.0f);
    writeGrid(comp, rows, cols, 1.5f);
    setConsole(std::cerr);

    const std::string names[2] = {dem, comp};
    auto t = Clock::now();
    mt.readgridfile(names, 1);
    double read = seconds(t);

    t = Clock::now();
    bool ok = false;
    allocated = false;
    mt.resetCounts();
    mt.reset();
    rd.setContourInt(0);
    start(dem, 1, comp, DEM, ok, 2);
    double pipeline = seconds(t);

    std::remove(dem.c_str());
    std::remove(comp.c_str());

    double scale = (static_cast<double>(rows) * cols) / (4000.0 * 4000.0);
    bool readOk = read < 4.0 * scale, pipeOk = pipeline < 15.0 * scale;
    std::printf("grid %d x %d\n", rows, cols);
    std::printf("read DEM          %7.2f s  (target %.1f s) %s\n", read, 4.0 * scale, readOk ? "ok" : "MISSED");
    std::printf("start, two grids  %7.2f s  (target %.1f s) %s\n", pipeline, 15.0 * scale, pipeOk ? "ok" : "MISSED");
    std::printf("peak resident     %7ld MiB\n", residentKiB() / 1024);
    return ok && readOk && pipeOk ? 0 : 1;
}

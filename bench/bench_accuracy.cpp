// Accuracy benchmark: writes synthetic fractal pairs (a surface and the
// same surface moved by (0.3, -0.6) cells and raised by 1.5) and times the
// command line on them, reading included:
//   --metrics    of a 4000 x 4000 pair, target 1.5 s;
//   --coregister of a 2000 x 2000 pair, target 5 s
// on the 2-core build machine. One line per mode with its target and "ok"
// or "MISSED", and the processor time of all threads beside the elapsed
// time (on a busy machine the elapsed time says little); exits 1 when a
// target is missed or a result is wrong.
#include <sys/resource.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <regex>
#include <sstream>
#include <string>

#include "app/cli.h"
#include "dialogs/names.h"
#include "tests/model/fractal_surface.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {
using Clock = std::chrono::steady_clock;

void writeGrid(const std::string& path, const std::vector<float>& h, int rows, int cols)
{
    std::FILE* f = std::fopen(path.c_str(), "w");
    std::fprintf(f, "ncols %d\nnrows %d\nxllcorner 600000\nyllcorner 5100000\ncellsize 10\nNODATA_value -9999\n", cols,
                 rows);
    std::string line;
    char buf[32];
    for (int r = 0; r < rows; ++r) {
        line.clear();
        for (int c = 0; c < cols; ++c) {
            auto end = std::to_chars(buf, buf + sizeof buf, h[static_cast<std::size_t>(r) * cols + c],
                                     std::chars_format::fixed, 2)
                           .ptr;
            line.append(buf, end);
            line += ' ';
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), f);
    }
    std::fclose(f);
}

// Writes the pair of an n x n grid; the DEM's path first.
std::pair<std::string, std::string> writePair(int n, const std::string& name)
{
    std::string dir = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp";
    std::string dem = dir + "/orolith_bench_" + name + "_dem.grd", comp = dir + "/orolith_bench_" + name + "_comp.grd";
    FractalSurface surface(17, 5000, 600, n / 2.0, 6, 48);
    writeGrid(dem, surface.grid(n, n), n, n);
    writeGrid(comp, surface.grid(n, n, 0.3, -0.6, 1.5), n, n);
    return {dem, comp};
}

// User and system time of the process so far, in seconds.
double processorSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

struct Timing {
    double elapsed, processor;
};

// Runs a command-line mode in this process with its result captured.
Timing run(std::vector<std::string> args, std::string& out)
{
    args.insert(args.begin(), "orolith");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    std::ostringstream captured;
    std::streambuf* stdoutBuf = std::cout.rdbuf(captured.rdbuf());
    auto t = Clock::now();
    double p = processorSeconds();
    int status = runCommandLine(static_cast<int>(argv.size()), argv.data(), GridIo{});
    Timing spent = {std::chrono::duration<double>(Clock::now() - t).count(), processorSeconds() - p};
    std::cout.rdbuf(stdoutBuf);
    out = captured.str();
    if (status != 0) {
        std::cerr << args[1] << " ended with status " << status << '\n';
        spent.elapsed = 1e9;
    }
    return spent;
}

// The number after "key": in a JSON text.
double jsonValue(const std::string& text, const std::string& key)
{
    std::size_t at = text.find("\"" + key + "\": ");
    return at == std::string::npos ? NAN : std::strtod(text.c_str() + at + key.size() + 4, nullptr);
}

bool report(const char* what, Timing t, double target)
{
    bool ok = t.elapsed < target;
    std::printf("%-42s %7.2f s  (target %.1f s) %s   [processor time %.2f s]\n", what, t.elapsed, target,
                ok ? "ok" : "MISSED", t.processor);
    return ok;
}
} // namespace

int main()
{
    std::cerr << "Writing the pairs..." << std::endl;
    auto big = writePair(4000, "metrics");
    auto mid = writePair(2000, "coregister");

    std::string out;
    bool ok = report("--metrics, 4000 x 4000, reading included", run({"--metrics", big.first, big.second}, out), 1.5);
    if (!std::regex_search(out, std::regex("\nall +16000000 "))) {
        std::cerr << "--metrics did not count every point:\n" << out;
        ok = false;
    }

    Timing spent = run({"--coregister", "--format", "json", mid.first, mid.second}, out);
    bool found =
        std::fabs(jsonValue(out, "shift_east") - 0.3) < 0.05 && std::fabs(jsonValue(out, "shift_north") + 0.6) < 0.05;
    ok = report("--coregister, 2000 x 2000, reading included", spent, 5.0) && ok;
    if (!found)
        std::cerr << "--coregister missed the shift of (0.3, -0.6):\n" << out.substr(0, 200) << '\n';

    for (const std::string& path : {big.first, big.second, mid.first, mid.second})
        std::remove(path.c_str());
    return ok && found ? 0 : 1;
}

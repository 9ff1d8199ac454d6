#include "model/export.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "model/cellmath.h"
#include "model/parallel.h"

bool exportKindNamed(const std::string& name, ExportKind& kind)
{
    if (name == "curvature")
        kind = ExportKind::curvature;
    else if (name == "elevdiff")
        kind = ExportKind::elevdiff;
    else if (name == "curvediff")
        kind = ExportKind::curvediff;
    else if (name == "aligned")
        kind = ExportKind::aligned;
    else
        return false;
    return true;
}

namespace {
// The Laplacian at (r, c) when the point and its four neighbours are present.
bool laplacianAt(const GridView& g, int r, int c, float& out)
{
    if (!(g.isPresent(r, c) && g.isPresent(r - 1, c) && g.isPresent(r, c - 1) && g.isPresent(r, c + 1) &&
          g.isPresent(r + 1, c)))
        return false;
    out = laplacian(g.at(r - 1, c), g.at(r, c - 1), g.at(r, c + 1), g.at(r + 1, c), g.at(r, c));
    return true;
}
} // namespace

std::vector<float> exportValues(ExportKind kind, const GridView& dem, const GridView& comp)
{
    const int rows = dem.rows, cols = dem.cols;
    const bool withComparison = comp.heights && comp.rows == rows && comp.cols == cols;
    if (kind != ExportKind::curvature && !withComparison)
        return {};
    std::vector<float> out(dem.cells(), EXPORT_NODATA);
    if (kind == ExportKind::aligned) {
        for (std::size_t i = 0; i < out.size(); ++i)
            if (comp.isPresent(i))
                out[i] = comp.heights[i];
        return out;
    }
    if (kind == ExportKind::elevdiff) {
        for (std::size_t i = 0; i < out.size(); ++i)
            if (dem.isPresent(i) && comp.isPresent(i))
                out[i] = dem.heights[i] - comp.heights[i];
        return out;
    }
    forEachPart(1, rows - 1, threadsFor(static_cast<long long>(out.size())), [&](int, int first, int last) {
        for (int r = first; r < last; ++r)
            for (int c = 1; c < cols - 1; ++c) {
                float own = 0, other = 0;
                if (!laplacianAt(dem, r, c, own))
                    continue;
                if (kind == ExportKind::curvature)
                    out[dem.index(r, c)] = std::fabs(own);
                else if (laplacianAt(comp, r, c, other))
                    out[dem.index(r, c)] = std::fabs(std::fabs(other) - std::fabs(own));
            }
    });
    return out;
}

bool writeAsciiGrid(const std::string& path, const GridHeader& g, const std::vector<float>& values, float nodata,
                    ModelError& err)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!f) {
        err = {GRIDFILE, "file \"" + path + "\": could not be created"};
        return false;
    }
    std::string text = asciiHeader(g.rows, g.cols, g.xllcorner, g.yllcorner, g.cellsizeX, g.cellsizeY, true, nodata);
    std::string line;
    char buffer[32];
    bool ok = std::fwrite(text.data(), 1, text.size(), f.get()) == text.size();
    for (int r = 0; ok && r < g.rows; ++r) {
        line.clear();
        for (int c = 0; c < g.cols; ++c) {
            int n = std::snprintf(buffer, sizeof buffer, c + 1 < g.cols ? "%.9g " : "%.9g\n",
                                  static_cast<double>(values[static_cast<std::size_t>(r) * g.cols + c]));
            line.append(buffer, static_cast<std::size_t>(n));
        }
        ok = std::fwrite(line.data(), 1, line.size(), f.get()) == line.size();
    }
    if (std::fclose(f.release()) != 0 || !ok) {
        err = {GRIDFILE, "file \"" + path + "\": could not be written in full"};
        return false;
    }
    return true;
}

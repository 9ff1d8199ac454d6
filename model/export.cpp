#include "model/export.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "model/cellmath.h"
#include "model/window3x3.h"

namespace orolith::model {

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
    // A point has a curvature where it and its four neighbours are present,
    // and a curvature difference where that holds in both grids.
    forEachWindow3x3(dem, {Neighbourhood::four, AbsentPoints::skipWindow, THREADS_BY_SIZE}, [&](const Window3x3& own) {
        const int r = own.row(), c = own.col();
        if (kind == ExportKind::curvature)
            out[dem.index(r, c)] = std::fabs(laplacian(own));
        else if (neighbourhoodPresent(comp, r, c, Neighbourhood::four))
            out[dem.index(r, c)] = std::fabs(std::fabs(laplacian(windowAt(comp, r, c))) - std::fabs(laplacian(own)));
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

} // namespace orolith::model

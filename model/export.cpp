#include "model/export.h"

#include <cstdio>
#include <memory>

#include "model/mountain.h"

bool exportKindNamed(const std::string& name, ExportKind& kind)
{
    if (name == "curvature")
        kind = ExportKind::curvature;
    else if (name == "elevdiff")
        kind = ExportKind::elevdiff;
    else if (name == "curvediff")
        kind = ExportKind::curvediff;
    else
        return false;
    return true;
}

std::vector<float> exportValues(ExportKind kind)
{
    const int rows = mt.getRows(), cols = mt.getCols();
    std::vector<float> out(static_cast<std::size_t>(rows) * cols, EXPORT_NODATA);
    auto at = [&](int r, int c) -> float& { return out[static_cast<std::size_t>(r) * cols + c]; };
    float max, min;
    int count = 0;
    if (kind == ExportKind::elevdiff) {
        if (!multFiles || rd.getRows() != rows || rd.getCols() != cols)
            return {};
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                if (float v = rd.getGrid(r, c); v > 0)
                    at(r, c) = mt.getElev(r, c) - v;
        return out;
    }
    // Both curvature arrays enumerate the interior points row by row.
    const float* values = nullptr;
    if (kind == ExportKind::curvature) {
        values = mt.getCurveInfo(max, min, count);
    } else {
        values = mt.getCurveDiffArray();
        count = mt.getCurveDiffCount();
        if (!multFiles || !values)
            return {};
    }
    const int interior = rows > 2 && cols > 2 ? (rows - 2) * (cols - 2) : 0;
    if (!values || count != interior)
        return {};
    for (int r = 1; r < rows - 1; ++r)
        for (int c = 1; c < cols - 1; ++c)
            at(r, c) = values[static_cast<std::size_t>(r - 1) * (cols - 2) + (c - 1)];
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
    std::string text = asciiHeader(g.rows, g.cols, g.xllcorner, g.yllcorner, g.cellsize, true, nodata);
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

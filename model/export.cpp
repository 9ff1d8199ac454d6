#include "model/export.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "model/cellmath.h"
#include "model/parallel.h"
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

void exportRows(ExportKind kind, const PairStrip& s, int firstRow, int lastRow, float* out)
{
    const GridView& dem = s.dem;
    const GridView& comp = s.comp;
    const int cols = dem.cols;
    for (int row = firstRow; row < lastRow; ++row) {
        const int r = row - s.first;
        float* to = out + static_cast<std::size_t>(row - firstRow) * cols;
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = dem.index(r, c);
            float v = EXPORT_NODATA;
            switch (kind) {
            case ExportKind::aligned:
                if (comp.isPresent(i))
                    v = comp.heights[i];
                break;
            case ExportKind::elevdiff:
                if (dem.isPresent(i) && comp.isPresent(i))
                    v = dem.heights[i] - comp.heights[i];
                break;
            // A point has a curvature where it and its four neighbours are
            // present, and a curvature difference where that holds in both
            // grids. The strip holds the rows around its own: its first and
            // last rows are the grid's borders only where the grid's are.
            case ExportKind::curvature:
                if (neighbourhoodPresent(dem, r, c, Neighbourhood::four))
                    v = std::fabs(laplacian(windowAt(dem, r, c)));
                break;
            case ExportKind::curvediff:
                if (neighbourhoodPresent(dem, r, c, Neighbourhood::four) &&
                    neighbourhoodPresent(comp, r, c, Neighbourhood::four))
                    v = std::fabs(std::fabs(laplacian(windowAt(comp, r, c))) -
                                  std::fabs(laplacian(windowAt(dem, r, c))));
                break;
            }
            to[c] = v;
        }
    }
}

std::vector<float> exportValues(ExportKind kind, const GridView& dem, const GridView& comp)
{
    const bool withComparison = comp.heights && comp.rows == dem.rows && comp.cols == dem.cols;
    if (kind != ExportKind::curvature && !withComparison)
        return {};
    std::vector<float> out(dem.cells(), EXPORT_NODATA);
    const PairStrip whole{0, dem, withComparison ? comp : GridView{nullptr, nullptr, dem.rows, dem.cols}};
    forEachPart(0, dem.rows, threadsFor(static_cast<long long>(dem.cells())), [&](int, int first, int last) {
        exportRows(kind, whole, first, last, out.data() + dem.index(first, 0));
    });
    return out;
}

AsciiGridWriter::AsciiGridWriter(const std::string& path, const GridHeader& g, float nodata)
    : path_(path), file_(std::fopen(path.c_str(), "wb"), &std::fclose), cols_(g.cols)
{
    if (!file_)
        return;
    const std::string text =
        asciiHeader(g.rows, g.cols, g.xllcorner, g.yllcorner, g.cellsizeX, g.cellsizeY, true, nodata);
    ok_ = std::fwrite(text.data(), 1, text.size(), file_.get()) == text.size();
}

bool AsciiGridWriter::write(const float* values, int rows)
{
    std::string line;
    char buffer[32];
    for (int r = 0; ok_ && r < rows; ++r) {
        line.clear();
        for (int c = 0; c < cols_; ++c) {
            int n = std::snprintf(buffer, sizeof buffer, c + 1 < cols_ ? "%.9g " : "%.9g\n",
                                  static_cast<double>(values[static_cast<std::size_t>(r) * cols_ + c]));
            line.append(buffer, static_cast<std::size_t>(n));
        }
        ok_ = std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size();
    }
    return ok_;
}

bool AsciiGridWriter::finish(ModelError& err)
{
    if (!file_) {
        err = {GRIDFILE, "file \"" + path_ + "\": could not be created"};
        return false;
    }
    const bool closed = std::fclose(file_.release()) == 0;
    if (!closed || !ok_) {
        err = {GRIDFILE, "file \"" + path_ + "\": could not be written in full"};
        return false;
    }
    return true;
}

bool writeAsciiGrid(const std::string& path, const GridHeader& g, const std::vector<float>& values, float nodata,
                    ModelError& err)
{
    AsciiGridWriter out(path, g, nodata);
    out.write(values.data(), g.rows);
    return out.finish(err);
}

} // namespace orolith::model

#include "model/fields.h"

#include <algorithm>

#include "model/cellclasses.h"
#include "model/cellmath.h"
#include "model/parallel.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

std::size_t cellCount(int rows, int cols)
{
    return rows > 1 && cols > 1 ? static_cast<std::size_t>(rows - 1) * (cols - 1) : 0;
}

int interiorCount(int rows, int cols) { return rows > 2 && cols > 2 ? (rows - 2) * (cols - 2) : 0; }

// Signed extremes over the present points of one part of the grid.
struct Extremes {
    bool any = false;
    float max = 0, min = 0;
};

// The place of a window's point among the interior points, row-major: where
// the curvature fields keep its value.
std::size_t interiorIndex(const Window3x3& w, int interiorCols)
{
    return static_cast<std::size_t>(w.row() - 1) * interiorCols + (w.col() - 1);
}

template <int K>
std::array<int, 5> counted(const int (&n)[K + 1])
{
    std::array<int, 5> out{};
    std::copy(n, n + K + 1, out.begin());
    return out;
}

} // namespace

CurvatureField curvatureField(const GridView& g)
{
    CurvatureField f;
    const int rows = g.rows, cols = g.cols, interiorCols = cols - 2;
    const int n = interiorCount(rows, cols);
    f.magnitude.resize(static_cast<std::size_t>(n));
    float* out = f.magnitude.data();
    // Each magnitude on its own, split between threads, an absent point
    // read as its stored height (the report's rule); the sums below stay in
    // row-major order, as their last bits depend on it.
    forEachWindow3x3(g, {Neighbourhood::four, AbsentPoints::readAsStored, THREADS_BY_SIZE},
                     [&](const Window3x3& w) { out[interiorIndex(w, interiorCols)] = std::fabs(laplacian(w)); });
    float peak = 0;
    for (int i = 0; i < n; ++i) {
        float m = out[i];
        if (i == 0)
            f.minimum = m;
        if (m < f.minimum)
            f.minimum = m;
        f.totalSquared += m * m;
        if (m > peak)
            peak = m;
    }
    f.peak = peak;
    return f;
}

ElevationField elevationField(const GridView& dem, const GridView& comp)
{
    ElevationField f;
    const int rows = dem.rows, cols = dem.cols, cellCols = cols - 1;
    const std::size_t cells = cellCount(rows, cols);
    f.magnitude.resize(cells);
    float* out = f.magnitude.data();
    const int parts = threadsFor(static_cast<long long>(cells));
    std::vector<Extremes> partExtremes(static_cast<std::size_t>(parts));
    std::vector<char> partDiffers(static_cast<std::size_t>(parts), 0);
    forEachPart(0, rows - 1, parts, [&](int part, int first, int last) {
        Extremes& e = partExtremes[static_cast<std::size_t>(part)];
        char& differs = partDiffers[static_cast<std::size_t>(part)];
        for (int r = first; r < last; ++r) {
            for (int c = 0; c < cellCols; ++c) {
                const float v = comp.at(r, c);
                float stored = 0;
                // The report's rule: a reference value above 0, the DEM
                // height as stored. The picture's: both present.
                differs |= (v > 0) != (dem.isPresent(r, c) && comp.isPresent(r, c));
                if (v > 0) {
                    const float diff = dem.at(r, c) - v;
                    if (!e.any) {
                        e.max = e.min = diff;
                        e.any = true;
                    }
                    if (diff > e.max)
                        e.max = diff;
                    if (diff < e.min)
                        e.min = diff;
                    stored = std::fabs(diff);
                }
                out[static_cast<std::size_t>(r) * cellCols + c] = stored;
            }
        }
    });
    // The extremes start from the first present point; with none present
    // both are 0.
    Extremes all;
    for (const Extremes& e : partExtremes) {
        if (!e.any)
            continue;
        if (!all.any || e.max > all.max)
            all.max = e.max;
        if (!all.any || e.min < all.min)
            all.min = e.min;
        all.any = true;
    }
    f.max = all.max;
    f.min = all.min;
    for (char d : partDiffers)
        f.pictureDiffers |= d != 0;
    return f;
}

std::vector<float> curvatureDifferenceField(const GridView& comp, const CurvatureField& dem)
{
    const int rows = comp.rows, cols = comp.cols, interiorCols = cols - 2;
    const int n = interiorCount(rows, cols);
    std::vector<float> out(static_cast<std::size_t>(n));
    const float* curve = dem.magnitude.data();
    // The DEM's curvature enumerates the same interior points in the same
    // order.
    forEachWindow3x3(comp, {Neighbourhood::four, AbsentPoints::readAsStored, THREADS_BY_SIZE}, [&](const Window3x3& w) {
        const std::size_t i = interiorIndex(w, interiorCols);
        out[i] = std::fabs(std::fabs(laplacian(w)) - curve[i]);
    });
    return out;
}

CellClasses curvatureClasses(const CurvatureField& field, const GridView& dem, float unit)
{
    CellClasses k;
    const int rows = dem.rows, cols = dem.cols;
    k.unit = unit;
    k.classes.resize(cellCount(rows, cols));
    int n[4];
    classifyCells<3>(field.magnitude.data(), rows, cols, true, unit, k.classes.data(), n);
    k.counts = counted<3>(n);
    // The curvature of a point whose stencil reaches an absent point is no
    // curvature: its cell (the one the point is the first corner of) shows
    // no class. The counts stay the report's.
    if (!k.classes.empty()) {
        const std::size_t cellCols = static_cast<std::size_t>(cols - 1);
        forEachWindowWithAbsentPoint(dem, Neighbourhood::four,
                                     [&](int r, int c) { k.classes[static_cast<std::size_t>(r) * cellCols + c] = 3; });
    }
    return k;
}

CellClasses elevationClasses(const ElevationField& field, const GridView& dem, const GridView& comp, float unit)
{
    CellClasses k;
    const int rows = dem.rows, cols = dem.cols, cellCols = cols - 1;
    k.unit = unit;
    k.classes.resize(cellCount(rows, cols));
    int n[5];
    classifyCells<4>(field.magnitude.data(), rows, cols, false, unit, k.classes.data(), n);
    k.counts = counted<4>(n);
    if (!field.pictureDiffers)
        return k;
    // Where the report's rule and the picture's differ, each cell's class
    // again by the picture's: the class of |DEM - reference| where both are
    // present, none elsewhere.
    forEachPart(0, rows - 1, threadsFor(static_cast<long long>(k.classes.size())), [&](int, int first, int last) {
        for (int r = first; r < last; ++r)
            for (int c = 0; c < cellCols; ++c) {
                const bool both = dem.isPresent(r, c) && comp.isPresent(r, c);
                k.classes[static_cast<std::size_t>(r) * cellCols + c] =
                    static_cast<std::uint8_t>(both ? diffClass(std::fabs(dem.at(r, c) - comp.at(r, c)), unit) : 4);
            }
    });
    return k;
}

CellClasses curvatureDifferenceClasses(const std::vector<float>& field, const GridView& dem, const GridView& comp,
                                       float unit)
{
    CellClasses k;
    const int rows = dem.rows, cols = dem.cols, cellCols = cols - 1;
    k.unit = unit;
    k.classes.resize(cellCount(rows, cols));
    int n[5];
    classifyCells<4>(field.data(), rows, cols, true, unit, k.classes.data(), n);
    k.counts = counted<4>(n);
    // The curvature difference of a point is defined where both grids hold
    // the point and its four neighbours.
    if (k.classes.empty())
        return k;
    auto none = [&](int r, int c) { k.classes[static_cast<std::size_t>(r) * cellCols + c] = 4; };
    forEachWindowWithAbsentPoint(dem, Neighbourhood::four, none);
    forEachWindowWithAbsentPoint(comp, Neighbourhood::four, none);
    return k;
}

std::array<int, 5> curvatureCounts(const CurvatureField& field, int rows, int cols, float unit)
{
    int n[4];
    classifyCells<3>(field.magnitude.data(), rows, cols, true, unit, nullptr, n);
    return counted<3>(n);
}

std::array<int, 5> elevationCounts(const ElevationField& field, int rows, int cols, float unit)
{
    int n[5];
    classifyCells<4>(field.magnitude.data(), rows, cols, false, unit, nullptr, n);
    return counted<4>(n);
}

std::array<int, 5> curvatureDifferenceCounts(const std::vector<float>& field, int rows, int cols, float unit)
{
    int n[5];
    classifyCells<4>(field.data(), rows, cols, true, unit, nullptr, n);
    return counted<4>(n);
}

std::optional<float> reportRmse(const GridView& dem, const GridView& comp)
{
    // The sum runs in single precision in row-major order, as the result's
    // last bits depend on it; the count is an integer, which a float would
    // stop incrementing at 2^24 points.
    float sum = 0;
    long long n = 0;
    for (int r = 0; r < comp.rows; ++r)
        for (int c = 0; c < comp.cols; ++c) {
            const float v = comp.at(r, c);
            if (v > 0) {
                const float d = v - dem.at(r, c);
                sum += d * d;
                ++n;
            }
        }
    if (n == 0)
        return std::nullopt;
    return static_cast<float>(std::sqrt(sum / static_cast<float>(n)));
}

std::vector<float> presentDifferences(const GridView& dem, const GridView& comp)
{
    std::vector<float> out;
    const int cellCols = dem.cols - 1;
    for (int r = 0; r < dem.rows - 1; ++r)
        for (int c = 0; c < cellCols; ++c)
            if (dem.isPresent(r, c) && comp.isPresent(r, c))
                out.push_back(std::fabs(dem.at(r, c) - comp.at(r, c)));
    return out;
}

std::vector<float> definedCurvatures(const CurvatureField& field, const GridView& dem)
{
    if (!dem.present)
        return field.magnitude;
    std::vector<float> out;
    const int interiorCols = dem.cols - 2;
    forEachWindow3x3(dem, {Neighbourhood::four, AbsentPoints::skipWindow, 1},
                     [&](const Window3x3& w) { out.push_back(field.magnitude[interiorIndex(w, interiorCols)]); });
    return out;
}

} // namespace orolith::model

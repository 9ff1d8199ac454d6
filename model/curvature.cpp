// The curvature error classes: the magnitude of the discrete Laplacian at
// every interior point, classed in curveUnits.
#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <vector>

#include "model/cellclasses.h"
#include "model/cellmath.h"
#include "model/mountain.h"
#include "model/parallel.h"

void mountain::compute_curve_color()
{
    const int interiorCols = cols - 2;
    if (curveCount == 0) {
        console() << "Computing curvature" << std::endl;
        sumSqCurve = 0;
        peakCurve = 0;
        const int n = rows > 2 && cols > 2 ? (rows - 2) * interiorCols : 0;
        cArray.reset(new float[n > 0 ? n : 1]);
        float* out = cArray.get();
        // Each magnitude on its own, split between threads; the sums below
        // stay in row-major order, as their last bits depend on it.
        forEachPart(1, rows - 1, threadsFor(n), [&](int, int first, int last) {
            for (int r = first; r < last; ++r) {
                float* row = out + static_cast<std::size_t>(r - 1) * interiorCols;
                for (int c = 1; c < cols - 1; ++c)
                    row[c - 1] = std::fabs(laplacian(grid[r - 1][c], grid[r][c - 1], grid[r][c + 1],
                                                     grid[r + 1][c], grid[r][c]));
            }
        });
        for (int i = 0; i < n; ++i) {
            float m = out[i];
            if (i == 0)
                minCurve = maxCurve = m;
            if (m < minCurve)
                minCurve = m;
            sumSqCurve += m * m;
            if (m > peakCurve)
                peakCurve = m;
        }
        if (n > 0)
            maxCurve = peakCurve;
        curveCount = n;
    }
    if (!cArray)
        console() << "cArray DOES NOT EXIST!";
    console() << "compute_curve_color()" << std::endl;

    const std::size_t cells = rows > 1 && cols > 1 ? static_cast<std::size_t>(rows - 1) * (cols - 1) : 0;
    curveClass_.resize(cells);
    curveClasses(curveUnits, curveClass_.data(), curveClassCounts);
    leaveOutAbsentCurvature();
    curveCountsUnit_ = curveUnits;
    ++version_;
    const int* n = curveClassCounts;
    setStats(peakCurve, sumSqCurve, n[0], n[1], n[2], n[3]);
}

// Border cells (row 0 or column 0) have no curvature of their own; the
// others take the magnitude at their first point.
void mountain::curveClasses(float u, std::uint8_t* classesOut, int counts[4]) const
{
    classifyCells<3>(cArray.get(), rows, cols, true, u, classesOut, counts);
}

bool mountain::curveClassCountsFor(float u, int counts[4]) const
{
    if (!cArray || curveClass_.empty())
        return false;
    if (u == curveCountsUnit_)
        std::copy(curveClassCounts, curveClassCounts + 4, counts);
    else
        curveClasses(u, nullptr, counts);
    return true;
}

int mountain::curveClassColor(std::size_t cell) const
{
    return cell < curveClass_.size() ? CURVE_CLASS_COLORS[curveClass_[cell]] : TERRAIN;
}

namespace {
// Calls fn(r, c) for every interior point whose five-point stencil reaches
// the absent point (ar, ac): the point itself and its four neighbours.
template <class Fn>
void forStencilsReaching(int ar, int ac, int rows, int cols, Fn fn)
{
    const int at[5][2] = {{ar, ac}, {ar - 1, ac}, {ar + 1, ac}, {ar, ac - 1}, {ar, ac + 1}};
    for (const auto& p : at)
        if (p[0] >= 1 && p[0] <= rows - 2 && p[1] >= 1 && p[1] <= cols - 2)
            fn(p[0], p[1]);
}
} // namespace

// The curvature of a point whose stencil reaches an absent point is no
// curvature: its cell (the one the point is the first corner of) shows no
// class. The counts stay the report's, which takes absent points as 0.
void mountain::leaveOutAbsentCurvature()
{
    if (present_.empty() || curveClass_.empty())
        return;
    const std::size_t cellCols = static_cast<std::size_t>(cols - 1);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            if (!isPresent(r, c))
                forStencilsReaching(r, c, rows, cols, [&](int pr, int pc) {
                    curveClass_[static_cast<std::size_t>(pr) * cellCols + pc] = 3;
                });
}

std::vector<float> mountain::definedCurvatures() const
{
    std::vector<float> out;
    if (!cArray || curveCount == 0)
        return out;
    if (present_.empty())
        return std::vector<float>(cArray.get(), cArray.get() + curveCount);
    const int interiorCols = cols - 2;
    for (int r = 1; r < rows - 1; ++r)
        for (int c = 1; c < cols - 1; ++c)
            if (isPresent(r, c) && isPresent(r - 1, c) && isPresent(r + 1, c) && isPresent(r, c - 1) &&
                isPresent(r, c + 1))
                out.push_back(cArray[static_cast<std::size_t>(r - 1) * interiorCols + (c - 1)]);
    return out;
}

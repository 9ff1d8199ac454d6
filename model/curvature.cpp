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

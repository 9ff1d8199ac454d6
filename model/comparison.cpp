// How the DEM departs from the comparison grid: elevation differences,
// curvature differences and the RMSE. The values and counts behind the
// statistics report keep its rule: a reference value counts only when it
// is above 0 (sparse and contour files hold 0 where they have no data), and
// an absent DEM point as height 0. The classes the surface is coloured by
// leave out every point either grid does not have.
#include <algorithm>
#include <array>
#include <cmath>
#include <ostream>
#include <vector>

#include "model/cellclasses.h"
#include "model/cellmath.h"
#include "model/mountain.h"
#include "model/parallel.h"

namespace {
std::size_t cellCount(int rows, int cols)
{
    return rows > 1 && cols > 1 ? static_cast<std::size_t>(rows - 1) * (cols - 1) : 0;
}

// Signed extremes over the present points of one part of the grid.
struct Extremes {
    bool any = false;
    float max = 0, min = 0;
};

} // namespace

void mountain::compute_elev_diff_color()
{
    if (diffCount == 0) {
        console() << "Computing elevation differences" << std::endl;
        const std::size_t cells = cellCount(rows, cols);
        dArray.reset(new float[cells > 0 ? cells : 1]);
        float* out = dArray.get();
        const int cellCols = cols - 1;
        int parts = threadsFor(static_cast<long long>(cells));
        std::vector<Extremes> partExtremes(static_cast<std::size_t>(parts));
        std::vector<char> partDiffers(static_cast<std::size_t>(parts), 0);
        forEachPart(0, rows - 1, parts, [&](int part, int first, int last) {
            Extremes& e = partExtremes[static_cast<std::size_t>(part)];
            char& differs = partDiffers[static_cast<std::size_t>(part)];
            for (int r = first; r < last; ++r) {
                for (int c = 0; c < cellCols; ++c) {
                    float v = rd.getGrid(r, c);
                    float stored = 0;
                    // The report's rule: a reference value above 0, the DEM
                    // height as stored. The picture's: both present.
                    differs |= (v > 0) != (isPresent(r, c) && rd.isPresent(r, c));
                    if (v > 0) {
                        float diff = grid[r][c] - v;
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
        // The extremes start from the first present point, never from a
        // value an earlier load left behind; with none present both are 0.
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
        maxDiff = all.max;
        minDiff = all.min;
        diffCount = static_cast<int>(cells);
        elevDiffPresenceDiffers_ = false;
        for (char d : partDiffers)
            elevDiffPresenceDiffers_ |= d != 0;
    }
    if (!dArray)
        console() << "dArray DOES NOT EXIST!";
    console() << "compute_elev_diff_color()" << std::endl;
    elevDiffClass_.resize(cellCount(rows, cols));
    classifyCells<4>(dArray.get(), rows, cols, false, diffUnits, elevDiffClass_.data(), diffClassCounts);
    if (elevDiffPresenceDiffers_)
        elevDiffClassesOfPresent(diffUnits);
    elevCountsUnit_ = diffUnits;
    ++version_;
    const int* n = diffClassCounts;
    setElevDiff(n[0], n[1], n[2], n[3], n[4]);
}

void mountain::compute_curve_diff_color()
{
    const int interiorCols = cols - 2;
    if (curveDiffCount == 0) {
        console() << "Computing curvature differences" << std::endl;
        const int n = rows > 2 && cols > 2 ? (rows - 2) * interiorCols : 0;
        cdArray.reset(new float[n > 0 ? n : 1]);
        float* out = cdArray.get();
        const float* curve = cArray.get();
        // cArray enumerates the same interior points in the same order.
        forEachPart(1, rows - 1, threadsFor(n), [&](int, int first, int last) {
            for (int r = first; r < last; ++r) {
                for (int c = 1; c < cols - 1; ++c) {
                    std::size_t i = static_cast<std::size_t>(r - 1) * interiorCols + (c - 1);
                    float lapRef = laplacian(rd.getGrid(r - 1, c), rd.getGrid(r, c - 1), rd.getGrid(r, c + 1),
                                             rd.getGrid(r + 1, c), rd.getGrid(r, c));
                    out[i] = std::fabs(std::fabs(lapRef) - curve[i]);
                }
            }
        });
        curveDiffCount = n;
    }
    if (!cdArray)
        console() << "cdArray DOES NOT EXIST!";
    console() << "compute_curve_diff_color()" << std::endl;
    curveDiffClass_.resize(cellCount(rows, cols));
    classifyCells<4>(cdArray.get(), rows, cols, true, diffUnits, curveDiffClass_.data(), curveDiffClassCounts);
    leaveOutAbsentCurveDiff();
    curveDiffCountsUnit_ = diffUnits;
    ++version_;
    const int* n = curveDiffClassCounts;
    setCurveDiff(n[0], n[1], n[2], n[3], n[4]);
}

int mountain::classColor(const std::vector<std::uint8_t>& classes, std::size_t cell)
{
    return cell < classes.size() ? DIFF_CLASS_COLORS[classes[cell]] : TERRAIN;
}

// Where the report's rule and the picture's differ (absent DEM points, a
// comparison DEM's heights at or below 0, a no-data value above 0), each
// cell's class again by the picture's: the class of |DEM - reference|
// where both are present, none elsewhere.
void mountain::elevDiffClassesOfPresent(float u)
{
    const int cellCols = cols - 1;
    forEachPart(0, rows - 1, threadsFor(static_cast<long long>(elevDiffClass_.size())), [&](int, int first, int last) {
        for (int r = first; r < last; ++r)
            for (int c = 0; c < cellCols; ++c) {
                const bool both = isPresent(r, c) && rd.isPresent(r, c);
                elevDiffClass_[static_cast<std::size_t>(r) * cellCols + c] =
                    static_cast<std::uint8_t>(both ? diffClass(std::fabs(grid[r][c] - rd.getGrid(r, c)), u) : 4);
            }
    });
}

// The curvature difference of a point is defined where both grids hold
// the point and its four neighbours.
void mountain::leaveOutAbsentCurveDiff()
{
    if ((present_.empty() && !rd.hasAbsentCells()) || curveDiffClass_.empty())
        return;
    const int cellCols = cols - 1;
    auto stencil = [&](const mountain& m, int r, int c) {
        return m.isPresent(r, c) && m.isPresent(r - 1, c) && m.isPresent(r + 1, c) && m.isPresent(r, c - 1) &&
               m.isPresent(r, c + 1);
    };
    for (int r = 1; r < rows - 1; ++r)
        for (int c = 1; c < cols - 1; ++c)
            if (!stencil(*this, r, c) || !stencil(rd, r, c))
                curveDiffClass_[static_cast<std::size_t>(r) * cellCols + c] = 4;
}

std::vector<float> mountain::presentDiffs() const
{
    std::vector<float> out;
    if (!dArray || diffCount == 0 || rd.getRows() != rows || rd.getCols() != cols)
        return out;
    const int cellCols = cols - 1;
    for (int r = 0; r < rows - 1; ++r)
        for (int c = 0; c < cellCols; ++c)
            if (isPresent(r, c) && rd.isPresent(r, c))
                out.push_back(std::fabs(grid[r][c] - rd.getGrid(r, c)));
    return out;
}

bool mountain::elevDiffClassCountsFor(float u, int counts[5]) const
{
    if (!dArray || diffCount == 0)
        return false;
    if (u == elevCountsUnit_)
        std::copy(diffClassCounts, diffClassCounts + 5, counts);
    else
        classifyCells<4>(dArray.get(), rows, cols, false, u, nullptr, counts);
    return true;
}

bool mountain::curveDiffClassCountsFor(float u, int counts[5]) const
{
    if (!cdArray || curveDiffCount == 0)
        return false;
    if (u == curveDiffCountsUnit_)
        std::copy(curveDiffClassCounts, curveDiffClassCounts + 5, counts);
    else
        classifyCells<4>(cdArray.get(), rows, cols, true, u, nullptr, counts);
    return true;
}

std::optional<float> rawdata::rmseIfPresent() const
{
    if (!grid || rows != mt.getRows() || cols != mt.getCols())
        return std::nullopt; // the grids do not belong together
    // The sum runs in single precision in row-major order, as the result's
    // last bits depend on it; the count is an integer, which a float would
    // stop incrementing at 2^24 points.
    float sum = 0;
    long long n = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            float v = grid[r][c];
            if (v > 0) {
                float d = v - mt.getElev(r, c);
                sum += d * d;
                ++n;
            }
        }
    }
    if (n == 0)
        return std::nullopt;
    return static_cast<float>(std::sqrt(sum / static_cast<float>(n)));
}

float rawdata::rmse()
{
    std::optional<float> value = rmseIfPresent();
    if (!value)
        error(DIV0);
    return value.value_or(0.0f);
}

// How the DEM departs from the comparison grid: elevation differences,
// curvature differences and the RMSE. A reference value is present only
// when it is above 0 (sparse and contour files hold 0 where they have no
// data).
#include <cmath>
#include <new>
#include <ostream>

#include "model/cellmath.h"
#include "model/mountain.h"

namespace {
float* newArray(int rows, int cols)
{
    float* a = new (std::nothrow) float[static_cast<std::size_t>(rows) * cols];
    if (!a)
        error(ARRAY1);
    return a;
}
}

void mountain::compute_elev_diff_color()
{
    if (diffCount == 0) {
        console() << "Computing elevation differences" << std::endl;
        delete[] dArray;
        dArray = newArray(rows, cols);
        // The extremes start from the first present point, never from a
        // value an earlier load left behind.
        bool first = true;
        maxDiff = minDiff = 0;
        for (int r = 0; r < rows - 1; ++r) {
            for (int c = 0; c < cols - 1; ++c) {
                float v = rd.getGrid(r, c);
                float stored = 0;
                if (v > 0) {
                    float diff = grid[r][c] - v;
                    if (first) {
                        maxDiff = minDiff = diff;
                        first = false;
                    }
                    if (diff > maxDiff)
                        maxDiff = diff;
                    if (diff < minDiff)
                        minDiff = diff;
                    stored = std::fabs(diff);
                }
                dArray[diffCount++] = stored;
            }
        }
    }
    if (!dArray)
        console() << "dArray DOES NOT EXIST!";
    console() << "compute_elev_diff_color()" << std::endl;

    int counts[5] = {0, 0, 0, 0, 0};
    int k = 0, next = 0;
    for (int r = 0; r < rows - 1; ++r) {
        for (int c = 0; c < cols - 1; ++c, k += 2) {
            int cls = diffClass(dArray[next++], diffUnits);
            triangles[k].diffColor = triangles[k + 1].diffColor = DIFF_CLASS_COLORS[cls];
            ++counts[cls];
        }
    }
    for (int i = 0; i < 5; ++i)
        diffClassCounts[i] = counts[i];
    setElevDiff(counts[0], counts[1], counts[2], counts[3], counts[4]);
}

void mountain::compute_curve_diff_color()
{
    if (curveDiffCount == 0) {
        console() << "Computing curvature differences" << std::endl;
        delete[] cdArray;
        cdArray = newArray(rows, cols);
        // cArray enumerates the same interior points in the same order.
        for (int r = 1; r < rows - 1; ++r) {
            for (int c = 1; c < cols - 1; ++c) {
                float lapRef = laplacian(rd.getGrid(r - 1, c), rd.getGrid(r, c - 1), rd.getGrid(r, c + 1),
                                         rd.getGrid(r + 1, c), rd.getGrid(r, c));
                cdArray[curveDiffCount] = std::fabs(std::fabs(lapRef) - cArray[curveDiffCount]);
                ++curveDiffCount;
            }
        }
    }
    if (!cdArray)
        console() << "cdArray DOES NOT EXIST!";
    console() << "compute_curve_diff_color()" << std::endl;

    int counts[5] = {0, 0, 0, 0, 0};
    int k = 0, next = 0;
    for (int r = 0; r < rows - 1; ++r) {
        for (int c = 0; c < cols - 1; ++c, k += 2) {
            int cls = (r == 0 || c == 0) ? 4 : diffClass(cdArray[next++], diffUnits);
            triangles[k].diffColor = triangles[k + 1].diffColor = DIFF_CLASS_COLORS[cls];
            ++counts[cls];
        }
    }
    for (int i = 0; i < 5; ++i)
        curveDiffClassCounts[i] = counts[i];
    setCurveDiff(counts[0], counts[1], counts[2], counts[3], counts[4]);
}

std::optional<float> rawdata::rmseIfPresent() const
{
    if (rows != mt.getRows() || cols != mt.getCols())
        return std::nullopt; // the grids do not belong together
    float sum = 0, n = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            float v = grid[r][c];
            if (v > 0) {
                float d = v - mt.getElev(r, c);
                sum += d * d;
                n += 1;
            }
        }
    }
    if (n == 0)
        return std::nullopt;
    return static_cast<float>(std::sqrt(sum / n));
}

float rawdata::rmse()
{
    std::optional<float> value = rmseIfPresent();
    if (!value)
        error(DIV0);
    return value.value_or(0.0f);
}

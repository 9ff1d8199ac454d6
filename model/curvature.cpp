// Normals for lighting, and the curvature error classes: the magnitude of
// the discrete Laplacian at every interior point, classed in curveUnits.
#include <cmath>
#include <new>
#include <ostream>

#include "model/cellmath.h"
#include "model/mountain.h"

void mountain::compute_normals()
{
    for (int i = 0; i < numTriangles; ++i) {
        triangleinfo& t = triangles[i];
        float ux = t.x1 - t.x0, uy = t.y1 - t.y0, uz = t.z1 - t.z0;
        float wx = t.x2 - t.x0, wy = t.y2 - t.y0, wz = t.z2 - t.z0;
        t.nx = uy * wz - uz * wy;
        t.ny = uz * wx - ux * wz;
        t.nz = ux * wy - uy * wx;
        float len = static_cast<float>(std::sqrt(static_cast<double>(t.nx) * t.nx +
                                                 static_cast<double>(t.ny) * t.ny +
                                                 static_cast<double>(t.nz) * t.nz));
        t.nx /= len;
        t.ny /= len;
        t.nz /= len;
    }
}

void mountain::compute_curve_color()
{
    if (curveCount == 0) {
        console() << "Computing curvature" << std::endl;
        sumSqCurve = 0;
        peakCurve = 0;
        delete[] cArray;
        cArray = new (std::nothrow) float[static_cast<std::size_t>(rows) * cols];
        if (!cArray)
            error(ARRAY1);
        for (int r = 1; r < rows - 1; ++r) {
            for (int c = 1; c < cols - 1; ++c) {
                float m = std::fabs(laplacian(grid[r - 1][c], grid[r][c - 1], grid[r][c + 1],
                                              grid[r + 1][c], grid[r][c]));
                cArray[curveCount++] = m;
                if (r == 1 && c == 1)
                    minCurve = maxCurve = m;
                if (m < minCurve)
                    minCurve = m;
                sumSqCurve += m * m;
                if (m > peakCurve)
                    peakCurve = m;
                maxCurve = peakCurve;
            }
        }
    }
    if (!cArray)
        console() << "cArray DOES NOT EXIST!";
    console() << "compute_curve_color()" << std::endl;

    int counts[4] = {0, 0, 0, 0};
    int k = 0, next = 0;
    for (int r = 0; r < rows - 1; ++r) {
        for (int c = 0; c < cols - 1; ++c, k += 2) {
            // Border cells have no curvature of their own.
            int cls = (r == 0 || c == 0) ? 3 : curveClass(cArray[next++], curveUnits);
            triangles[k].curveColor = triangles[k + 1].curveColor = CURVE_CLASS_COLORS[cls];
            ++counts[cls];
        }
    }
    for (int i = 0; i < 4; ++i)
        curveClassCounts[i] = counts[i];
    setStats(peakCurve, sumSqCurve, counts[0], counts[1], counts[2], counts[3]);
}

// Height classes: how the DEM's rounded heights fall modulo the contour
// interval of the comparison data. Peaks at class 0 show terracing at the
// contour levels of an interpolated DEM.
#include <cstdlib>
#include <new>
#include <iostream>

#include "model/cellmath.h"
#include "model/mountain.h"

bool mountain::computeHeightClasses()
{
    // Refusals and notes go to standard error: standard output carries the
    // histogram itself.
    int n = rd.getContourInt();
    if (n <= 0) {
        std::cerr << "Height classes need a contour interval above 0: load a contour or sparse "
                     "comparison file first"
                  << std::endl;
        return false;
    }
    if (n > MAX_HEIGHT_CLASSES) {
        std::cerr << "The contour interval " << n << " is too large for height classes (at most "
                  << MAX_HEIGHT_CLASSES << ")" << std::endl;
        return false;
    }

    int* counts = new (std::nothrow) int[n]();
    if (!counts)
        error(NOHEIGHT);

    // A point that rounds below 0 falls in no class; it is left out and
    // counted so that the user learns of it.
    long long below = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            int i = heightClassOf(grid[r][c], n);
            if (i < 0) {
                ++below;
                continue;
            }
            if (i >= n) {
                console() << "*** ERROR - contour interval is messed up" << std::endl;
                std::exit(FATAL_STATUS);
            }
            ++counts[i];
        }
    }
    delete[] classes;
    classes = counts;
    numClasses = n;

    minClassCount = maxClassCount = classes[0];
    console() << "Height Classes Output" << std::endl;
    for (int i = 1; i < n; ++i) {
        console() << i << " " << classes[i] << "\n";
        if (classes[i] < minClassCount)
            minClassCount = classes[i];
        else if (classes[i] > maxClassCount)
            maxClassCount = classes[i];
    }
    console().flush();
    if (below > 0)
        std::cerr << below << " points below height 0 left out of the height classes" << std::endl;
    return true;
}

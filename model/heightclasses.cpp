// Height classes: how the DEM's rounded heights fall modulo the contour
// interval of the comparison data. Peaks at class 0 show terracing at the
// contour levels of an interpolated DEM.
#include <memory>
#include <new>
#include <ostream>
#include <vector>

#include "model/cellmath.h"
#include "model/mountain.h"
#include "model/parallel.h"

bool mountain::computeHeightClasses()
{
    int n = rd.getContourInt();
    if (n <= 0) {
        notice("Height classes need a contour interval above 0: load a contour or sparse comparison file first");
        return false;
    }
    if (n > MAX_HEIGHT_CLASSES) {
        notice("The contour interval " + std::to_string(n) + " is too large for height classes (at most " +
               std::to_string(MAX_HEIGHT_CLASSES) + ")");
        return false;
    }
    if (!grid) {
        notice("Height classes need a DEM: open one first");
        return false;
    }

    std::unique_ptr<int[]> counts(new (std::nothrow) int[static_cast<std::size_t>(n)]());
    if (!counts) {
        error(NOHEIGHT);
        return false;
    }

    // A point that rounds below 0 falls in no class; it is left out and
    // counted so that the user learns of it.
    const int parts = threadsFor(static_cast<long long>(rows) * cols);
    std::vector<std::vector<int>> partCounts(static_cast<std::size_t>(parts));
    std::vector<long long> partBelow(static_cast<std::size_t>(parts), 0);
    forEachPart(0, rows, parts, [&](int part, int first, int last) {
        std::vector<int>& mine = partCounts[static_cast<std::size_t>(part)];
        int* into = counts.get();
        if (part > 0) {
            mine.assign(static_cast<std::size_t>(n), 0);
            into = mine.data();
        }
        for (int r = first; r < last; ++r) {
            for (int c = 0; c < cols; ++c) {
                int i = heightClassOf(grid[r][c], n);
                if (i < 0)
                    ++partBelow[static_cast<std::size_t>(part)];
                else
                    ++into[i];
            }
        }
    });
    long long below = 0;
    for (int p = 0; p < parts; ++p) {
        below += partBelow[static_cast<std::size_t>(p)];
        for (std::size_t i = 0; i < partCounts[static_cast<std::size_t>(p)].size(); ++i)
            counts[i] += partCounts[static_cast<std::size_t>(p)][i];
    }
    classes = std::move(counts);
    numClasses = n;
    ++version_;

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
        notice(std::to_string(below) + " points below height 0 left out of the height classes");
    return true;
}

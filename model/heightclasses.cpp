#include "model/heightclasses.h"

#include "model/cellmath.h"
#include "model/parallel.h"

namespace orolith::model {

HeightClasses heightClassesOf(const GridView& dem, int n, std::string& why)
{
    HeightClasses h;
    why.clear();
    if (n <= 0) {
        why = "Height classes need a contour interval above 0: load a contour or sparse comparison file first";
        return h;
    }
    if (n > MAX_HEIGHT_CLASSES) {
        why = "The contour interval " + std::to_string(n) + " is too large for height classes (at most " +
              std::to_string(MAX_HEIGHT_CLASSES) + ")";
        return h;
    }
    if (!dem.heights) {
        why = "Height classes need a DEM: open one first";
        return h;
    }
    h.counts.assign(static_cast<std::size_t>(n), 0);
    h.interval = n;
    // A point that rounds below 0 falls in no class; it is left out and
    // counted so that the user learns of it.
    const int rows = dem.rows, cols = dem.cols;
    const int parts = threadsFor(static_cast<long long>(rows) * cols);
    std::vector<std::vector<int>> partCounts(static_cast<std::size_t>(parts));
    std::vector<long long> partBelow(static_cast<std::size_t>(parts), 0);
    forEachPart(0, rows, parts, [&](int part, int first, int last) {
        std::vector<int>& mine = partCounts[static_cast<std::size_t>(part)];
        int* into = h.counts.data();
        if (part > 0) {
            mine.assign(static_cast<std::size_t>(n), 0);
            into = mine.data();
        }
        for (int r = first; r < last; ++r)
            for (int c = 0; c < cols; ++c) {
                const int i = heightClassOf(dem.at(r, c), n);
                if (i < 0)
                    ++partBelow[static_cast<std::size_t>(part)];
                else
                    ++into[i];
            }
    });
    for (int p = 0; p < parts; ++p) {
        h.below += partBelow[static_cast<std::size_t>(p)];
        for (std::size_t i = 0; i < partCounts[static_cast<std::size_t>(p)].size(); ++i)
            h.counts[i] += partCounts[static_cast<std::size_t>(p)][i];
    }
    h.minCount = h.maxCount = h.counts[0];
    for (int i = 1; i < n; ++i) {
        if (h.counts[static_cast<std::size_t>(i)] < h.minCount)
            h.minCount = h.counts[static_cast<std::size_t>(i)];
        else if (h.counts[static_cast<std::size_t>(i)] > h.maxCount)
            h.maxCount = h.counts[static_cast<std::size_t>(i)];
    }
    return h;
}

std::string heightClassLines(const HeightClasses& h)
{
    std::string out = "Height Classes Output\n";
    for (int i = 1; i < h.interval; ++i)
        out += std::to_string(i) + " " + std::to_string(h.counts[static_cast<std::size_t>(i)]) + "\n";
    return out;
}

} // namespace orolith::model

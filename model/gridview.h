// A grid as the analyses read it: row-major heights, which of them are
// present, and the distances between neighbouring points. The analyses
// take views, so that a grid read from a file, one made in memory and one
// held by the viewer's model are all analysed alike.
#ifndef OROLITH_MODEL_GRIDVIEW_H
#define OROLITH_MODEL_GRIDVIEW_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/gridfile.h"

namespace orolith::model {

struct GridView {
    const float* heights = nullptr;
    const std::uint8_t* present = nullptr; // null: every cell is present
    int rows = 0, cols = 0;

    std::size_t index(int r, int c) const { return static_cast<std::size_t>(r) * cols + c; }
    bool isPresent(std::size_t i) const { return !present || present[i] != 0; }
    bool isPresent(int r, int c) const { return isPresent(index(r, c)); }
    float at(int r, int c) const { return heights[index(r, c)]; }
    std::size_t cells() const { return static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols); }
};

// The view of a grid that was read, its presence as the reader found it.
inline GridView viewOf(const GridData& g)
{
    return {g.heights.data(), g.present.empty() ? nullptr : g.present.data(), g.header.rows, g.header.cols};
}

// Every point of the 3 x 3 window around (r, c), an interior point, is
// present: Horn's slope and the Laplacian are defined there.
inline bool windowPresent(const GridView& g, int r, int c)
{
    if (!g.present)
        return true;
    for (int dr = -1; dr <= 1; ++dr) {
        const std::uint8_t* row = g.present + g.index(r + dr, c - 1);
        if (!(row[0] && row[1] && row[2]))
            return false;
    }
    return true;
}

// What the comparison data are: a second DEM, or spot heights or contour
// lines rastered onto the DEM's grid with 0 where they have no height.
enum class ComparisonKind { dem, sparse, contour };

// "dem", "sparse" or "contour".
bool comparisonKindNamed(const std::string& name, ComparisonKind& kind);

// Which comparison cells hold a height: those the reader found present,
// and for the sparse and contour kinds only those above 0. Empty when all
// do.
std::vector<std::uint8_t> comparisonPresence(const GridData& comparison, ComparisonKind kind);

// The comparison's view with that presence.
inline GridView comparisonView(const GridData& comparison, const std::vector<std::uint8_t>& presence)
{
    GridView v = viewOf(comparison);
    v.present = presence.empty() ? nullptr : presence.data();
    return v;
}

// At least half of a comparison grid's cells hold exactly 0: it is more
// likely sparse or contour data than a DEM.
bool mostlyZero(const GridData& comparison);

} // namespace orolith::model

#endif

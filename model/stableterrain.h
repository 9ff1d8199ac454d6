// Stable terrain: the points where the ground itself did not change between
// the DEM and its comparison, the only ones whose differences measure the
// DEM. Glaciers, forests, construction and water are masked out by a mask
// grid, steep or flat ground by its slope, and blunders by their distance
// from the median; what each rule removed is counted for the report.
#ifndef OROLITH_MODEL_STABLETERRAIN_H
#define OROLITH_MODEL_STABLETERRAIN_H

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

struct StableTerrainRules {
    // One value a DEM cell, non-zero where the ground is stable (a mask
    // file already on the DEM's grid); empty: no mask.
    std::vector<std::uint8_t> mask;
    std::string maskName;                     // where the mask came from, for the reports
    std::optional<double> minSlope, maxSlope; // degrees
    std::optional<double> outlierNmads;       // K: drop |d - median| > K NMAD
};

// How many of the points present in both grids each rule took out, in the
// order they are applied: the mask, the slope rules, then the outliers.
struct StableTerrainCounts {
    std::size_t paired = 0; // present in both before any rule
    std::size_t mask = 0, slope = 0, outliers = 0;
    std::size_t kept = 0;
    int outlierRounds = 0;
};

struct StableTerrain {
    std::vector<std::uint8_t> stable; // one a cell: present in both and kept
    StableTerrainCounts counts;
};

// The stable points of `dem` against `comp` (one grid). A slope rule drops
// the points that have no slope (the border, an incomplete 3 x 3 window).
// The outlier rule is applied again on what it keeps until it keeps them
// all (at most 50 rounds), with the median and NMAD of the differences
// kept so far.
StableTerrain stableTerrain(const GridView& dem, const GridView& comp, const GroundSpacing& spacing,
                            const StableTerrainRules& rules);

// Which points count after a co-registration: those of the moved
// comparison (`shiftedPresent`, empty: all) that the rules kept before
// the shift (`stable`, empty: no rules). The rules judged the unmoved grid;
// judging the moved one anew would let the figures after the shift cover
// other points than those before it.
std::vector<std::uint8_t> keptAfterShift(const std::vector<std::uint8_t>& shiftedPresent,
                                         const std::vector<std::uint8_t>& stable, std::size_t cells);

// Why rules that keep no point are refused: "The stable-terrain rules keep
// no point: of the 1200 points present in both grids the mask removed 1200".
std::string stableTerrainEmptyText(const StableTerrainCounts& counts);

// One line a rule applied, with the points it removed, in the order the
// rules are applied; then the points kept: what the reports list.
struct StableTerrainLine {
    std::string rule;
    std::size_t removed = 0;
};
std::vector<StableTerrainLine> stableTerrainLines(const StableTerrainRules& rules, const StableTerrainCounts& counts);

// The lines as text: "stable terrain: 1180 of 1200 points kept", then a
// line a rule: "  mask glaciers.gpkg: 20 removed".
std::string stableTerrainText(const StableTerrainRules& rules, const StableTerrainCounts& counts);

} // namespace orolith::model

#endif

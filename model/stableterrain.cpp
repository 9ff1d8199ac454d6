#include "model/stableterrain.h"

#include <cmath>
#include <sstream>
#include <utility>

#include "model/metrics.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

constexpr int MAX_OUTLIER_ROUNDS = 50;

// The slope rules on every point with a slope; points without one stay
// unset in `withinSlope`.
std::vector<std::uint8_t> withinSlopeRules(const GridView& dem, const GroundSpacing& spacing,
                                           const StableTerrainRules& rules)
{
    std::vector<std::uint8_t> within(dem.cells(), 0);
    const double low = rules.minSlope ? slopeThreshold(*rules.minSlope) : 0;
    forEachWindow3x3(dem, {Neighbourhood::eight, AbsentPoints::skipWindow, 0}, [&](const Window3x3& w) {
        const Gradient g = hornGradient(w, spacing);
        const double m = std::hypot(g.east, g.north);
        // slopeThreshold(t) is the least magnitude whose slope reaches t.
        const bool aboveMin = !rules.minSlope || m >= low;
        const bool belowMax = !rules.maxSlope || slopeDegrees(m) <= *rules.maxSlope;
        within[dem.index(w.row(), w.col())] = aboveMin && belowMax;
    });
    return within;
}

} // namespace

StableTerrain stableTerrain(const GridView& dem, const GridView& comp, const GroundSpacing& spacing,
                            const StableTerrainRules& rules)
{
    StableTerrain out;
    const std::size_t cells = dem.cells();
    out.stable.assign(cells, 0);
    for (std::size_t i = 0; i < cells; ++i)
        out.stable[i] = dem.isPresent(i) && comp.isPresent(i);
    for (std::uint8_t s : out.stable)
        out.counts.paired += s;

    if (!rules.mask.empty())
        for (std::size_t i = 0; i < cells; ++i)
            if (out.stable[i] && !rules.mask[i]) {
                out.stable[i] = 0;
                ++out.counts.mask;
            }

    if (rules.minSlope || rules.maxSlope) {
        const std::vector<std::uint8_t> within = withinSlopeRules(dem, spacing, rules);
        for (std::size_t i = 0; i < cells; ++i)
            if (out.stable[i] && !within[i]) {
                out.stable[i] = 0;
                ++out.counts.slope;
            }
    }

    if (rules.outlierNmads) {
        std::vector<double> d;
        for (int round = 0; round < MAX_OUTLIER_ROUNDS; ++round) {
            d.clear();
            for (std::size_t i = 0; i < cells; ++i)
                if (out.stable[i])
                    d.push_back(static_cast<double>(dem.heights[i]) - static_cast<double>(comp.heights[i]));
            if (d.empty())
                break;
            const double median = medianOf(d.data(), d.size());
            const double reach = *rules.outlierNmads * nmadOf(d.data(), d.size(), median);
            std::size_t dropped = 0;
            for (std::size_t i = 0; i < cells; ++i) {
                if (!out.stable[i])
                    continue;
                const double v = static_cast<double>(dem.heights[i]) - static_cast<double>(comp.heights[i]);
                if (std::fabs(v - median) > reach) {
                    out.stable[i] = 0;
                    ++dropped;
                }
            }
            out.counts.outliers += dropped;
            out.counts.outlierRounds = round + 1;
            if (dropped == 0)
                break;
        }
    }

    for (std::uint8_t s : out.stable)
        out.counts.kept += s;
    return out;
}

namespace {

// "12.5" rather than "12.500000" for the limits a user typed.
std::string shortNumber(double v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

} // namespace

std::vector<std::uint8_t> keptAfterShift(const std::vector<std::uint8_t>& shiftedPresent,
                                         const std::vector<std::uint8_t>& stable, std::size_t cells)
{
    std::vector<std::uint8_t> kept = shiftedPresent;
    if (kept.empty())
        kept.assign(cells, 1);
    for (std::size_t i = 0; i < kept.size() && i < stable.size(); ++i)
        kept[i] = kept[i] && stable[i];
    return kept;
}

std::string stableTerrainEmptyText(const StableTerrainCounts& counts)
{
    std::string out = "The stable-terrain rules keep no point: of the " + std::to_string(counts.paired) +
                      " points present in both grids";
    const std::pair<const char*, std::size_t> removed[] = {
        {"the mask", counts.mask}, {"the slope limits", counts.slope}, {"the outlier rule", counts.outliers}};
    const char* joint = " ";
    for (const auto& [rule, n] : removed)
        if (n) {
            out += joint + std::string(rule) + " removed " + std::to_string(n);
            joint = ", ";
        }
    return out;
}

std::vector<StableTerrainLine> stableTerrainLines(const StableTerrainRules& rules, const StableTerrainCounts& counts)
{
    std::vector<StableTerrainLine> lines;
    if (!rules.mask.empty())
        lines.push_back({"mask" + (rules.maskName.empty() ? std::string() : " " + rules.maskName), counts.mask});
    if (rules.minSlope || rules.maxSlope) {
        std::string rule = "slope";
        if (rules.minSlope)
            rule += " at least " + shortNumber(*rules.minSlope) + " degrees";
        if (rules.minSlope && rules.maxSlope)
            rule += " and";
        if (rules.maxSlope)
            rule += " at most " + shortNumber(*rules.maxSlope) + " degrees";
        lines.push_back({rule, counts.slope});
    }
    if (rules.outlierNmads)
        lines.push_back({"outliers beyond " + shortNumber(*rules.outlierNmads) + " NMAD of the median (" +
                             std::to_string(counts.outlierRounds) + " rounds)",
                         counts.outliers});
    return lines;
}

std::string stableTerrainText(const StableTerrainRules& rules, const StableTerrainCounts& counts)
{
    std::string out =
        "stable terrain: " + std::to_string(counts.kept) + " of " + std::to_string(counts.paired) + " points kept\n";
    for (const StableTerrainLine& line : stableTerrainLines(rules, counts))
        out += "  " + line.rule + ": " + std::to_string(line.removed) + " removed\n";
    return out;
}

} // namespace orolith::model

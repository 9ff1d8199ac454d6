#include "model/streamedcoregister.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/exactrank.h"
#include "model/metrics.h"
#include "model/parallel.h"
#include "model/window3x3.h"

namespace orolith::model {

int ShiftedPairRows::reach(double north) { return static_cast<int>(std::ceil(std::fabs(north))) + 1; }

bool ShiftedPairRows::read(int first, int last, PairStrip& strip, std::string& error)
{
    const int gridRows = rows_.rows(), cols = rows_.cols(), reach = ShiftedPairRows::reach(north_);
    PairStrip inner;
    if (!rows_.read(std::max(0, first - reach), std::min(gridRows, last + reach), inner, error))
        return false;
    const std::size_t cells = static_cast<std::size_t>(last - first) * static_cast<std::size_t>(cols);
    heights_.resize(cells);
    present_.resize(cells);
    for (int row = first; row < last; ++row)
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(row - first) * cols + c;
            const double v = bilinearAt(inner.comp, inner.first, gridRows, row - north_, c + east_);
            heights_[i] = static_cast<float>(v);
            present_[i] = !std::isnan(v);
        }
    const std::size_t at = inner.dem.index(first - inner.first, 0);
    strip.first = first;
    strip.dem = {inner.dem.heights + at, inner.dem.present ? inner.dem.present + at : nullptr, last - first, cols};
    strip.comp = {heights_.data(), present_.data(), last - first, cols};
    return true;
}

namespace {

// A count of one thread, alone on its cache line.
struct alignas(64) ThreadCount {
    std::uint64_t n = 0;
};

// A median, and the NMAD about it, of a set of values.
struct Spread {
    std::uint64_t count = 0;
    double median = 0, nmad = 0;
};

// This process's rows, pass after pass: strips with the rows around them
// the pass needs, threads taking whole blocks.
class Walk {
public:
    Walk(PairRows& rows, const StreamPlan& plan, Reduction& reduction)
        : rows_(rows), plan_(plan), reduction_(reduction),
          range_(blocksOfRank(rows.rows(), reduction.rank(), reduction.ranks())),
          parts_(plan.threads > 0 ? plan.threads : threadsFor(std::numeric_limits<int>::max()))
    {
    }
    int parts() const { return parts_; }
    int blocks() const { return blockCount(rows_.rows()); }
    Reduction& reduction() { return reduction_; }

    // visit(part, strip, row, r, c, block) for each cell of this process's
    // rows, in row-major order within a block; then whether every process
    // read all of its rows.
    template <class Visit>
    bool pass(int halo, Visit visit, std::string& error)
    {
        const int cols = rows_.cols();
        const bool ok =
            forEachStrip(rows_, range_, plan_.stripBlocks, halo, error, [&](const PairStrip& s, int first, int last) {
                forEachPart(first / BLOCK_ROWS, (last + BLOCK_ROWS - 1) / BLOCK_ROWS, parts_,
                            [&](int part, int b0, int b1) {
                                for (int b = b0; b < b1; ++b)
                                    for (int row = std::max(first, b * BLOCK_ROWS);
                                         row < std::min(last, (b + 1) * BLOCK_ROWS); ++row)
                                        for (int c = 0; c < cols; ++c)
                                            visit(part, s, row, row - s.first, c, b);
                            });
            });
        return reduction_.allSucceeded(ok, error);
    }

private:
    PairRows& rows_;
    StreamPlan plan_;
    Reduction& reduction_;
    BlockRange range_;
    int parts_;
};

// One pass: histograms of key(v) over the values value() gives, for each
// distinct set of bins among `searches`, merged over threads and
// processes; and the count of the values.
template <class Value, class Key>
bool histogramPass(Walk& walk, int halo, const Value& value, const Key& key, const std::vector<RankSearch>& searches,
                   std::vector<KeyHistogram>& histograms, std::vector<int>& histogramOf, std::uint64_t& count,
                   std::string& error)
{
    std::vector<const RankSearch*> bins;
    histogramOf.assign(searches.size(), -1);
    for (std::size_t i = 0; i < searches.size(); ++i) {
        if (searches[i].done())
            continue;
        for (std::size_t j = 0; j < bins.size() && histogramOf[i] < 0; ++j)
            if (bins[j]->sameBins(searches[i]))
                histogramOf[i] = static_cast<int>(j);
        if (histogramOf[i] < 0) {
            histogramOf[i] = static_cast<int>(bins.size());
            bins.push_back(&searches[i]);
        }
    }
    std::vector<std::vector<KeyHistogram>> perPart(walk.parts());
    std::vector<ThreadCount> counted(walk.parts());
    for (auto& h : perPart)
        h.resize(bins.size());
    if (!walk.pass(
            halo,
            [&](int part, const PairStrip& s, int row, int r, int c, int) {
                double v;
                if (!value(s, row, r, c, v))
                    return;
                ++counted[part].n;
                const std::uint64_t k = orderKey(key(v));
                for (std::size_t j = 0; j < bins.size(); ++j)
                    if (bins[j]->wants(k))
                        perPart[part][j].add(bins[j]->binOf(k), k);
            },
            error))
        return false;
    histograms = std::move(perPart[0]);
    count = counted[0].n;
    for (int p = 1; p < walk.parts(); ++p) {
        count += counted[p].n;
        for (std::size_t j = 0; j < bins.size(); ++j)
            histograms[j].merge(perPart[p][j]);
    }
    Reduction& all = walk.reduction();
    all.sum(&count, 1);
    for (KeyHistogram& h : histograms) {
        all.sum(h.count.data(), KEY_BINS);
        all.least(h.least.data(), KEY_BINS);
        all.greatest(h.greatest.data(), KEY_BINS);
    }
    return true;
}

// The median of key(v) over the values (for an even count the mean of the
// two middle ones), by as many passes as the selection takes.
template <class Value, class Key>
bool medianPass(Walk& walk, int halo, const Value& value, const Key& key, std::uint64_t& count, double& median,
                std::string& error)
{
    std::vector<KeyHistogram> histograms;
    std::vector<int> of;
    std::vector<RankSearch> first = {RankSearch(0)};
    if (!histogramPass(walk, halo, value, key, first, histograms, of, count, error))
        return false;
    if (count == 0)
        return true;
    std::vector<RankSearch> middle = {RankSearch((count - 1) / 2), RankSearch(count / 2)};
    for (RankSearch& s : middle)
        s.narrow(histograms[0]);
    std::uint64_t again = 0;
    while (!middle[0].done() || !middle[1].done()) {
        if (!histogramPass(walk, halo, value, key, middle, histograms, of, again, error))
            return false;
        for (std::size_t i = 0; i < middle.size(); ++i)
            if (of[i] >= 0)
                middle[i].narrow(histograms[of[i]]);
    }
    median = (middle[0].value() + middle[1].value()) / 2;
    return true;
}

// The median and NMAD of the values, as medianOf and nmadOf give them.
template <class Value>
bool spreadPass(Walk& walk, int halo, const Value& value, Spread& out, std::string& error)
{
    auto same = [](double v) { return v; };
    if (!medianPass(walk, halo, value, same, out.count, out.median, error))
        return false;
    if (out.count == 0)
        return true;
    const double median = out.median;
    std::uint64_t count = 0;
    double mad = 0;
    if (!medianPass(
            walk, halo, value, [median](double v) { return std::fabs(v - median); }, count, mad, error))
        return false;
    out.nmad = NMAD_FACTOR * mad;
    return true;
}

// The normal sums of the fit over the points value() keeps, per block,
// added in block order over every process.
template <class Point>
bool normalSumsPass(Walk& walk, int halo, const Point& point, NormalSums& total, std::string& error)
{
    std::vector<NormalSums> blocks(walk.blocks());
    if (!walk.pass(
            halo,
            [&](int, const PairStrip& s, int row, int r, int c, int block) {
                double ca, sa, y;
                if (point(s, row, r, c, ca, sa, y))
                    blocks[block].add(ca, sa, y);
            },
            error))
        return false;
    // A block's sums are one process's; the others hold 0 there.
    std::vector<double> sums;
    std::vector<std::uint64_t> counts;
    for (const NormalSums& b : blocks) {
        for (int j = 0; j < 3; ++j) {
            sums.insert(sums.end(), b.a[j], b.a[j] + 3);
            sums.push_back(b.b[j]);
        }
        counts.push_back(b.n);
    }
    walk.reduction().sum(sums.data(), sums.size());
    walk.reduction().sum(counts.data(), counts.size());
    total = NormalSums();
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        NormalSums b;
        for (int j = 0; j < 3; ++j) {
            std::copy(sums.begin() + (k * 12 + j * 4), sums.begin() + (k * 12 + j * 4 + 3), b.a[j]);
            b.b[j] = sums[k * 12 + j * 4 + 3];
        }
        b.n = counts[k];
        total.addBlock(b);
    }
    return true;
}

Coregistration failedWith(const std::string& why)
{
    Coregistration out;
    out.why = why;
    return out;
}

} // namespace

bool streamedCoregister(PairRows& rows, const GroundSpacing& spacing, const StreamPlan& plan, Reduction& reduction,
                        Coregistration& out, std::string& error)
{
    Walk walk(rows, plan, reduction);
    const int gridRows = rows.rows(), cols = rows.cols();
    const double steep = slopeThreshold(COREGISTER_MIN_SLOPE_DEG);
    // The DEM's slope and aspect at a point steeper than 3 degrees whose
    // window is whole: the tangent, and the cosine and sine of the aspect.
    auto steepAt = [&](const PairStrip& s, int row, int r, int c, double& tanSlope, double& ca, double& sa) {
        if (row < 1 || row > gridRows - 2 || c < 1 || c > cols - 2 || !windowPresent(s.dem, r, c))
            return false;
        const Gradient g = hornGradient(windowAt(s.dem, r, c), spacing);
        const double m = std::sqrt(g.east * g.east + g.north * g.north);
        if (!(m > steep))
            return false;
        tanSlope = m;
        ca = -g.north / m;
        sa = -g.east / m;
        return true;
    };

    std::uint64_t steepPoints = 0;
    {
        std::vector<ThreadCount> counted(walk.parts());
        if (!walk.pass(
                1,
                [&](int part, const PairStrip& s, int row, int r, int c, int) {
                    double t, ca, sa;
                    counted[part].n += steepAt(s, row, r, c, t, ca, sa);
                },
                error))
            return false;
        for (const ThreadCount& n : counted)
            steepPoints += n.n;
        reduction.sum(&steepPoints, 1);
    }
    if (steepPoints < COREGISTER_MIN_POINTS) {
        out = failedWith("too few points of the DEM slope more than 3 degrees to estimate a shift");
        return true;
    }

    out = Coregistration();
    double east = 0, north = 0; // cells
    for (int iteration = 1; iteration <= COREGISTER_MAX_ITERATIONS; ++iteration) {
        const int halo = ShiftedPairRows::reach(north);
        // Comparison minus DEM on the comparison moved back so far.
        auto dhAt = [&](const PairStrip& s, int row, int r, int c, double& tanSlope, double& ca, double& sa,
                        double& dh) {
            if (!steepAt(s, row, r, c, tanSlope, ca, sa))
                return false;
            const double v = bilinearAt(s.comp, s.first, gridRows, row - north, c + east);
            if (std::isnan(v))
                return false;
            dh = v - static_cast<double>(s.dem.heights[s.dem.index(r, c)]);
            return true;
        };
        std::uint64_t valid = 0;
        double offset = 0;
        if (!medianPass(
                walk, halo,
                [&](const PairStrip& s, int row, int r, int c, double& v) {
                    double t, ca, sa;
                    return dhAt(s, row, r, c, t, ca, sa, v);
                },
                [](double v) { return v; }, valid, offset, error))
            return false;
        if (valid < COREGISTER_MIN_POINTS) {
            out = failedWith("too few points of the DEM slope more than 3 degrees where the comparison grid has "
                             "heights");
            return true;
        }
        // y: the difference less the offset, over the tangent of the slope.
        auto yAt = [&](const PairStrip& s, int row, int r, int c, double& ca, double& sa, double& y) {
            double t, dh;
            if (!dhAt(s, row, r, c, t, ca, sa, dh))
                return false;
            y = (dh - offset) / t;
            return true;
        };
        Spread ySpread;
        if (!spreadPass(
                walk, halo,
                [&](const PairStrip& s, int row, int r, int c, double& y) {
                    double ca, sa;
                    return yAt(s, row, r, c, ca, sa, y);
                },
                ySpread, error))
            return false;
        const double yLimit = COREGISTER_OUTLIER_NMADS * ySpread.nmad;
        auto firstKept = [&](const PairStrip& s, int row, int r, int c, double& ca, double& sa, double& y) {
            return yAt(s, row, r, c, ca, sa, y) && !(std::fabs(y - ySpread.median) > yLimit);
        };
        NormalSums sums;
        if (!normalSumsPass(walk, halo, firstKept, sums, error))
            return false;
        AspectFit first;
        if (!solveNormalSums(sums, first)) {
            out = failedWith("the DEM's slopes do not face enough directions to estimate a shift");
            return true;
        }
        Spread residual;
        if (!spreadPass(
                walk, halo,
                [&](const PairStrip& s, int row, int r, int c, double& v) {
                    double ca, sa, y;
                    if (!firstKept(s, row, r, c, ca, sa, y))
                        return false;
                    v = fitResidual(first, ca, sa, y);
                    return true;
                },
                residual, error))
            return false;
        const double rLimit = COREGISTER_OUTLIER_NMADS * residual.nmad;
        auto secondKept = [&](const PairStrip& s, int row, int r, int c, double& ca, double& sa, double& y) {
            return firstKept(s, row, r, c, ca, sa, y) &&
                   !(std::fabs(fitResidual(first, ca, sa, y) - residual.median) > rLimit);
        };
        if (!normalSumsPass(walk, halo, secondKept, sums, error))
            return false;
        AspectFit fit;
        if (!solveNormalSums(sums, fit)) {
            out = failedWith("the DEM's slopes do not face enough directions to estimate a shift");
            return true;
        }
        out.iterations = iteration;
        if (stepShift(fit, spacing, east, north)) {
            out.converged = true;
            break;
        }
    }

    out.shiftEast = east;
    out.shiftNorth = north;
    out.shiftEastMetres = east * spacing.x;
    out.shiftNorthMetres = north * spacing.y;
    const int halo = ShiftedPairRows::reach(north);
    // The comparison moved back, as the moved grid stores it (float).
    auto movedAt = [&](const PairStrip& s, int row, int c, float& v) {
        const double b = bilinearAt(s.comp, s.first, gridRows, row - north, c + east);
        v = static_cast<float>(b);
        return !std::isnan(b);
    };
    Spread before, after;
    if (!spreadPass(
            walk, halo,
            [&](const PairStrip& s, int, int r, int c, double& d) {
                const std::size_t i = s.dem.index(r, c);
                if (!s.dem.isPresent(i) || !s.comp.isPresent(i))
                    return false;
                d = static_cast<double>(s.dem.heights[i]) - static_cast<double>(s.comp.heights[i]);
                return true;
            },
            before, error))
        return false;
    if (!spreadPass(
            walk, halo,
            [&](const PairStrip& s, int row, int r, int c, double& d) {
                float v;
                if (!s.dem.isPresent(s.dem.index(r, c)) || !movedAt(s, row, c, v))
                    return false;
                d = static_cast<double>(s.dem.heights[s.dem.index(r, c)]) - static_cast<double>(v);
                return true;
            },
            after, error))
        return false;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    out.nmadBefore = before.count ? before.nmad : nan;
    out.nmadAfter = after.count ? after.nmad : nan;
    out.improved = out.nmadAfter < out.nmadBefore;
    // The bias: the median of the comparison kept (moved or not) minus the
    // DEM.
    const bool moved = out.improved;
    std::uint64_t kept = 0;
    if (!medianPass(
            walk, halo,
            [&](const PairStrip& s, int row, int r, int c, double& d) {
                const std::size_t i = s.dem.index(r, c);
                if (!s.dem.isPresent(i))
                    return false;
                float v = s.comp.heights[i];
                if (moved ? !movedAt(s, row, c, v) : !s.comp.isPresent(i))
                    return false;
                d = static_cast<double>(v) - static_cast<double>(s.dem.heights[i]);
                return true;
            },
            [](double v) { return v; }, kept, out.bias, error))
        return false;
    if (kept == 0) {
        out = failedWith("the comparison grid moved back by the shift has no heights left");
        return true;
    }
    out.ok = true;
    return true;
}

} // namespace orolith::model

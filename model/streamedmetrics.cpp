#include "model/streamedmetrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "model/exactrank.h"
#include "model/parallel.h"
#include "model/rowblocks.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

// What a histogram counts: the difference d, |d|, or |d - median|.
enum ValueKind { difference, absDifference, fromMedian, valueKinds };

// One histogram of one pass: the keys of one kind of one set (a slope
// class, or all points) that a search wants.
struct Request {
    int set = 0;
    ValueKind kind = difference;
    RankSearch bins{0};
    KeyHistogram histogram;
};

// One order statistic of one set.
struct Search {
    int set = 0;
    ValueKind kind = difference;
    RankSearch search;
    int request = -1; // of the current pass
};

// What a thread gathers in a pass, merged at its end.
struct ThreadTally {
    std::vector<std::uint64_t> count, least, greatest; // per set
    std::vector<KeyHistogram> histograms;              // per request
    // The sums of the block at hand, per set: kept here and stored once a
    // block is done, so that threads never write to neighbouring memory
    // point after point.
    std::vector<double> sum, sumSq, dev;
};

class Streamer {
public:
    Streamer(PairRows& rows, const GroundSpacing& spacing, const std::vector<double>& bounds, const StreamPlan& plan,
             Reduction& reduction)
        : rows_(rows), spacing_(spacing), plan_(plan), reduction_(reduction),
          classes_(static_cast<int>(std::min<std::size_t>(bounds.size(), 250))), sets_(classes_ + 1),
          blocks_(blockCount(rows.rows())), range_(blocksOfRank(rows.rows(), reduction.rank(), reduction.ranks())),
          bounds_(bounds)
    {
        for (int k = 0; k < classes_; ++k)
            threshold_.push_back(slopeThreshold(bounds[k]));
        const std::size_t perSet = static_cast<std::size_t>(sets_) * blocks_;
        sum_.assign(perSet, 0.0);
        sumSq_.assign(perSet, 0.0);
        dev_.assign(perSet, 0.0);
        count_.assign(sets_, 0);
        least_.assign(sets_, std::numeric_limits<std::uint64_t>::max());
        greatest_.assign(sets_, 0);
        mean_.assign(sets_, 0.0);
        median_.assign(sets_, 0.0);
    }

    bool run(AccuracyReport& report, std::string& error);

private:
    // The slope class of the interior point at row r (of the strip),
    // column c, whose window the DEM holds whole; classes_ for none.
    int classOf(const PairStrip& s, int r, int c) const
    {
        const int row = s.first + r;
        if (classes_ == 0 || row < 1 || row > rows_.rows() - 2 || c < 1 || c > rows_.cols() - 2 ||
            !windowPresent(s.dem, r, c))
            return classes_;
        const Gradient g = hornGradient(windowAt(s.dem, r, c), spacing_);
        const double m = std::sqrt(g.east * g.east + g.north * g.north);
        for (int j = classes_ - 1; j >= 0; --j)
            if (m >= threshold_[j])
                return j;
        return classes_;
    }

    bool pass(bool tally, bool deviation, std::string& error);
    void visit(const PairStrip& s, int firstRow, int lastRow, bool tally, bool deviation, ThreadTally& t);
    int requestFor(int set, ValueKind kind, const RankSearch& bins);
    void narrowAll();
    bool ready(const Search& s) const { return s.kind != fromMedian || medianKnown(s.set); }
    bool medianKnown(int set) const
    {
        return std::all_of(searches_.begin(), searches_.end(),
                           [set](const Search& s) { return s.set != set || s.kind != difference || s.search.done(); });
    }
    double valueOf(int set, ValueKind kind, std::size_t nth) const;

    PairRows& rows_;
    GroundSpacing spacing_;
    StreamPlan plan_;
    Reduction& reduction_;
    int classes_, sets_, blocks_;
    BlockRange range_;
    const std::vector<double>& bounds_;
    std::vector<double> threshold_;
    // Per set and block (set * blocks_ + block).
    std::vector<double> sum_, sumSq_, dev_;
    std::vector<std::uint64_t> count_, least_, greatest_;
    std::vector<double> mean_, median_;
    std::vector<Request> requests_;
    std::vector<std::vector<int>> lookup_; // requests by set * valueKinds + kind
    std::vector<Search> searches_;
};

void Streamer::visit(const PairStrip& s, int firstRow, int lastRow, bool tally, bool deviation, ThreadTally& t)
{
    const int cols = rows_.cols();
    t.sum.assign(sets_, 0.0);
    t.sumSq.assign(sets_, 0.0);
    t.dev.assign(sets_, 0.0);
    auto store = [&](std::size_t block) {
        for (int set = 0; set < sets_; ++set) {
            const std::size_t at = static_cast<std::size_t>(set) * blocks_ + block;
            sum_[at] += t.sum[set];
            sumSq_[at] += t.sumSq[set];
            dev_[at] += t.dev[set];
            t.sum[set] = t.sumSq[set] = t.dev[set] = 0.0;
        }
    };
    for (int row = firstRow; row < lastRow; ++row) {
        const int r = row - s.first;
        const std::size_t block = static_cast<std::size_t>(row / BLOCK_ROWS);
        if (row > firstRow && row % BLOCK_ROWS == 0)
            store(block - 1);
        for (int c = 0; c < cols; ++c) {
            const std::size_t i = s.dem.index(r, c);
            if (!s.dem.isPresent(i) || !s.comp.isPresent(i))
                continue;
            const double d = static_cast<double>(s.dem.heights[i]) - static_cast<double>(s.comp.heights[i]);
            const int code = classOf(s, r, c);
            for (int set : {code, classes_}) {
                if (tally) {
                    const std::uint64_t key = orderKey(d);
                    ++t.count[set];
                    t.least[set] = std::min(t.least[set], key);
                    t.greatest[set] = std::max(t.greatest[set], key);
                    t.sum[set] += d;
                    t.sumSq[set] += d * d;
                }
                if (deviation)
                    t.dev[set] += (d - mean_[set]) * (d - mean_[set]);
                for (int kind = 0; kind < valueKinds; ++kind) {
                    const std::vector<int>& wanted = lookup_[static_cast<std::size_t>(set) * valueKinds + kind];
                    if (wanted.empty())
                        continue;
                    const double v = kind == difference      ? d
                                     : kind == absDifference ? std::fabs(d)
                                                             : std::fabs(d - median_[set]);
                    const std::uint64_t key = orderKey(v);
                    for (int q : wanted) {
                        const RankSearch& bins = requests_[q].bins;
                        if (bins.wants(key))
                            t.histograms[q].add(bins.binOf(key), key);
                    }
                }
                if (code == classes_)
                    break; // a point of no class counts in all points only
            }
        }
    }
    if (lastRow > firstRow)
        store(static_cast<std::size_t>((lastRow - 1) / BLOCK_ROWS));
}

bool Streamer::pass(bool tally, bool deviation, std::string& error)
{
    lookup_.assign(static_cast<std::size_t>(sets_) * valueKinds, {});
    for (std::size_t q = 0; q < requests_.size(); ++q)
        lookup_[static_cast<std::size_t>(requests_[q].set) * valueKinds + requests_[q].kind].push_back(
            static_cast<int>(q));
    const int maxThreads = plan_.threads > 0 ? plan_.threads : threadsFor(std::numeric_limits<int>::max());
    std::vector<std::unique_ptr<ThreadTally>> tallies(maxThreads);
    auto tallyOf = [&](int p) -> ThreadTally& {
        if (!tallies[p]) {
            tallies[p] = std::make_unique<ThreadTally>();
            ThreadTally& t = *tallies[p];
            t.count.assign(sets_, 0);
            t.least.assign(sets_, std::numeric_limits<std::uint64_t>::max());
            t.greatest.assign(sets_, 0);
            t.histograms.resize(requests_.size());
        }
        return *tallies[p];
    };
    const int halo = 1; // Horn's window
    const bool ok =
        forEachStrip(rows_, range_, plan_.stripBlocks, halo, error, [&](const PairStrip& s, int first, int last) {
            const int firstBlock = first / BLOCK_ROWS, lastBlock = (last + BLOCK_ROWS - 1) / BLOCK_ROWS;
            const int parts = std::min(maxThreads, threadsFor(static_cast<long long>(last - first) * rows_.cols()));
            // Threads take whole blocks: each block's sums are one thread's, in
            // row-major order.
            std::vector<ThreadTally*> mine(parts);
            for (int p = 0; p < parts; ++p)
                mine[p] = &tallyOf(p);
            forEachPart(firstBlock, lastBlock, parts, [&](int p, int b0, int b1) {
                visit(s, std::max(first, b0 * BLOCK_ROWS), std::min(last, b1 * BLOCK_ROWS), tally, deviation, *mine[p]);
            });
        });
    if (!reduction_.allSucceeded(ok, error))
        return false;

    for (const std::unique_ptr<ThreadTally>& t : tallies) {
        if (!t)
            continue;
        for (int s = 0; s < sets_; ++s) {
            count_[s] += t->count[s];
            least_[s] = std::min(least_[s], t->least[s]);
            greatest_[s] = std::max(greatest_[s], t->greatest[s]);
        }
        for (std::size_t q = 0; q < requests_.size(); ++q)
            requests_[q].histogram.merge(t->histograms[q]);
    }
    if (tally) {
        reduction_.sum(count_.data(), count_.size());
        reduction_.least(least_.data(), least_.size());
        reduction_.greatest(greatest_.data(), greatest_.size());
        reduction_.sum(sum_.data(), sum_.size());
        reduction_.sum(sumSq_.data(), sumSq_.size());
    }
    if (deviation)
        reduction_.sum(dev_.data(), dev_.size());
    for (Request& q : requests_) {
        reduction_.sum(q.histogram.count.data(), KEY_BINS);
        reduction_.least(q.histogram.least.data(), KEY_BINS);
        reduction_.greatest(q.histogram.greatest.data(), KEY_BINS);
    }
    return true;
}

int Streamer::requestFor(int set, ValueKind kind, const RankSearch& bins)
{
    for (std::size_t q = 0; q < requests_.size(); ++q)
        if (requests_[q].set == set && requests_[q].kind == kind && requests_[q].bins.sameBins(bins))
            return static_cast<int>(q);
    requests_.push_back({set, kind, bins, KeyHistogram()});
    return static_cast<int>(requests_.size() - 1);
}

void Streamer::narrowAll()
{
    for (Search& s : searches_)
        if (s.request >= 0) {
            s.search.narrow(requests_[s.request].histogram);
            s.request = -1;
        }
}

// The sum of a set's block sums, in block order.
double blockTotal(const std::vector<double>& v, int set, int blocks)
{
    double total = 0;
    for (int b = 0; b < blocks; ++b)
        total += v[static_cast<std::size_t>(set) * blocks + b];
    return total;
}

double Streamer::valueOf(int set, ValueKind kind, std::size_t nth) const
{
    std::size_t seen = 0;
    for (const Search& s : searches_)
        if (s.set == set && s.kind == kind && seen++ == nth)
            return s.search.value();
    return 0;
}

bool Streamer::run(AccuracyReport& report, std::string& error)
{
    // Pass 1: counts, extremes, sums, and the first level of the
    // histograms of d and |d| of every set.
    for (int s = 0; s < sets_; ++s) {
        requestFor(s, difference, RankSearch(0));
        requestFor(s, absDifference, RankSearch(0));
    }
    if (!pass(true, false, error))
        return false;
    for (int s = 0; s < sets_; ++s) {
        const std::uint64_t n = count_[s];
        if (n == 0)
            continue;
        mean_[s] = blockTotal(sum_, s, blocks_) / static_cast<double>(n);
        // The median's two middle ranks (one for an odd count), LE90, LE95.
        const std::size_t le90 = nearestRank(n, 90) - 1, le95 = nearestRank(n, 95) - 1;
        for (std::uint64_t rank : {(n - 1) / 2, n / 2})
            searches_.push_back({s, difference, RankSearch(rank), requestFor(s, difference, RankSearch(0))});
        for (std::uint64_t rank : {le90, le95})
            searches_.push_back({s, absDifference, RankSearch(rank), requestFor(s, absDifference, RankSearch(0))});
    }
    narrowAll();

    // Then until every search has ended: the deviations from the mean
    // (once), the NMAD's searches as soon as their median is known, and
    // the next level of every open search.
    bool deviation = true;
    bool nmadStarted[256] = {};
    for (;;) {
        requests_.clear();
        for (int s = 0; s < sets_; ++s)
            if (count_[s] && !nmadStarted[s] && medianKnown(s)) {
                nmadStarted[s] = true;
                median_[s] = (valueOf(s, difference, 0) + valueOf(s, difference, 1)) / 2;
                const std::uint64_t n = count_[s];
                for (std::uint64_t rank : {(n - 1) / 2, n / 2})
                    searches_.push_back({s, fromMedian, RankSearch(rank), -1});
            }
        for (Search& s : searches_)
            if (!s.search.done() && ready(s))
                s.request = requestFor(s.set, s.kind, s.search);
        if (requests_.empty() && !deviation)
            break;
        if (!pass(false, deviation, error))
            return false;
        deviation = false;
        narrowAll();
    }

    report = AccuracyReport();
    report.classes.resize(classes_);
    for (int s = 0; s < sets_; ++s) {
        AccuracyFigures f;
        f.count = count_[s];
        if (f.count) {
            const double n = static_cast<double>(f.count);
            f.mean = mean_[s];
            f.rmse = std::sqrt(blockTotal(sumSq_, s, blocks_) / n);
            f.std = std::sqrt(blockTotal(dev_, s, blocks_) / n);
            f.min = keyValue(least_[s]);
            f.max = keyValue(greatest_[s]);
            f.median = median_[s];
            f.nmad = NMAD_FACTOR * ((valueOf(s, fromMedian, 0) + valueOf(s, fromMedian, 1)) / 2);
            f.le90 = valueOf(s, absDifference, 0);
            f.le95 = valueOf(s, absDifference, 1);
        }
        if (s == classes_) {
            report.all = f;
        } else {
            report.classes[s].from = bounds_[s];
            report.classes[s].to = s + 1 < classes_ ? bounds_[s + 1] : 90.0;
            report.classes[s].figures = f;
        }
    }
    return true;
}

} // namespace

bool streamedAccuracyReport(PairRows& rows, const GroundSpacing& spacing, const std::vector<double>& bounds,
                            const StreamPlan& plan, Reduction& reduction, AccuracyReport& report, std::string& error)
{
    return Streamer(rows, spacing, bounds, plan, reduction).run(report, error);
}

} // namespace orolith::model

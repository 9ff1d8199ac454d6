// Accuracy figures after Höhle and Höhle, "Accuracy assessment of digital
// elevation models by means of robust statistical methods", ISPRS Journal
// of Photogrammetry and Remote Sensing 64 (2009): mean, standard deviation
// and RMSE beside the median, the NMAD and the 90 % and 95 % quantiles of
// the absolute error (LE90, LE95).
#include "model/metrics.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <limits>

#include "model/constants.h"
#include "model/pairrows.h"
#include "model/parallel.h"
#include "model/reduction.h"
#include "model/streamedmetrics.h"
#include "model/window3x3.h"

namespace orolith::model {

namespace {

// The sample of a selection; sets up to four times its size are selected
// from whole.
constexpr std::size_t SAMPLE = 16384;

// Order statistics by Floyd and Rivest's selection ("Expected time bounds
// for selection", Communications of the ACM 18(3), 1975): a strided sample
// of the keys brackets the wanted ranks, one pass over the values counts
// the keys below the bracket and copies those inside it to a working
// buffer, and std::nth_element picks the ranks there. The values are left
// as they are, so one buffer serves every figure and both threads. Exact
// for any data: should the sample's bracket miss a rank, the selection
// runs on all keys.
//
// key(v[i]) for i < n; ranks (0-based, ascending) into out.
template <class Key>
void selectRanks(const double* v, std::size_t n, Key key, std::initializer_list<std::size_t> ranks, double* out)
{
    const std::size_t first = *ranks.begin(), last = *(ranks.end() - 1);
    const double inf = std::numeric_limits<double>::infinity();
    double lo = -inf, hi = inf;
    std::vector<double> work;
    if (n > 4 * SAMPLE) {
        const std::size_t stride = n / SAMPLE;
        work.resize(SAMPLE);
        for (std::size_t j = 0; j < SAMPLE; ++j)
            work[j] = key(v[j * stride]);
        // The ranks' places in the sample, widened by eight standard
        // deviations of a sample rank (at most sqrt(SAMPLE) / 2).
        const std::size_t gap = 4 * static_cast<std::size_t>(std::sqrt(double(SAMPLE)));
        std::size_t a = first * SAMPLE / n, b = last * SAMPLE / n + 1 + gap;
        a = a > gap ? a - gap : 0;
        if (b < SAMPLE) {
            std::nth_element(work.begin(), work.begin() + b, work.end());
            hi = work[b];
        }
        if (a > 0) {
            std::nth_element(work.begin(), work.begin() + a, work.begin() + std::min(b, SAMPLE));
            lo = work[a];
        }
        work.clear();
        work.reserve((std::min(b, SAMPLE) - a) * stride * 5 / 4 + 1024);
    } else {
        work.reserve(n);
    }
    std::size_t below = 0;
    if (lo == hi) {
        // The sample holds one value around the ranks (identical grids, a
        // constant offset): count the keys equal to it instead of copying.
        std::size_t equal = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double k = key(v[i]);
            below += k < lo;
            equal += k == lo;
        }
        if (below <= first && last < below + equal) {
            for (std::size_t j = 0; j < ranks.size(); ++j)
                out[j] = lo;
            return;
        }
        below = n + 1; // select from all keys
    } else {
        for (std::size_t i = 0; i < n; ++i) {
            double k = key(v[i]);
            if (k < lo)
                ++below;
            else if (k <= hi)
                work.push_back(k);
        }
    }
    if (below > first || last >= below + work.size()) {
        work.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            work[i] = key(v[i]);
        below = 0;
    }
    // The highest rank first; each lower one lies in the part left below.
    std::size_t end = work.size(), j = ranks.size();
    for (auto r = ranks.end(); r != ranks.begin();) {
        std::size_t at = *--r - below;
        --j;
        if (at < end) {
            std::nth_element(work.begin(), work.begin() + at, work.begin() + end);
            end = at;
        }
        out[j] = work[at];
    }
}

// The median of key(v[i]): an even count takes the two middle keys' mean.
template <class Key>
double medianKey(const double* v, std::size_t n, Key key)
{
    double m[2];
    if (n % 2 == 1) {
        selectRanks(v, n, key, {n / 2}, m);
        return m[0];
    }
    selectRanks(v, n, key, {n / 2 - 1, n / 2}, m);
    return (m[0] + m[1]) / 2;
}

std::string figure(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%11.3f", v);
    std::string s = buf;
    // A tiny negative value would read "-0.000".
    std::size_t minus = s.find("-0.000");
    if (minus != std::string::npos && s.size() == minus + 6)
        s[minus] = ' ';
    return s;
}

std::string bound(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

double medianOf(const double* v, std::size_t n)
{
    return medianKey(v, n, [](double x) { return x; });
}

double nmadOf(const double* v, std::size_t n, double median)
{
    return NMAD_FACTOR * medianKey(v, n, [median](double x) { return std::fabs(x - median); });
}

std::size_t nearestRank(std::size_t n, int percent)
{
    // Whole numbers only: ceil(0.9 * n) in floating point can land one
    // above for some n.
    return (static_cast<std::size_t>(percent) * n + 99) / 100;
}

AccuracyFigures accuracyOf(const double* d, std::size_t n)
{
    AccuracyFigures f;
    f.count = n;
    if (n == 0)
        return f;

    double sum = 0, sumSq = 0, lo = d[0], hi = d[0];
    for (std::size_t i = 0; i < n; ++i) {
        sum += d[i];
        sumSq += d[i] * d[i];
        lo = std::min(lo, d[i]);
        hi = std::max(hi, d[i]);
    }
    f.mean = sum / static_cast<double>(n);
    f.rmse = std::sqrt(sumSq / static_cast<double>(n));
    f.min = lo;
    f.max = hi;
    // Deviations from the mean in a second pass: the one-pass formula
    // loses the spread under a large bias to cancellation.
    double dev = 0;
    for (std::size_t i = 0; i < n; ++i)
        dev += (d[i] - f.mean) * (d[i] - f.mean);
    f.std = std::sqrt(dev / static_cast<double>(n));

    double le[2];
    selectRanks(
        d, n, [](double x) { return std::fabs(x); }, {nearestRank(n, 90) - 1, nearestRank(n, 95) - 1}, le);
    f.le90 = le[0];
    f.le95 = le[1];
    f.median = medianOf(d, n);
    f.nmad = nmadOf(d, n, f.median);
    return f;
}

double slopeDegrees(double g) { return std::atan(g) * DEGREES_PER_RADIAN; }

double slopeThreshold(double degrees)
{
    if (!(degrees > 0))
        return 0;
    if (degrees >= 90)
        return std::numeric_limits<double>::infinity();
    // The tangent is within an ulp or two; step to the exact boundary.
    const double inf = std::numeric_limits<double>::infinity();
    double t = std::tan(degrees * RADIANS_PER_DEGREE);
    while (slopeDegrees(t) < degrees)
        t = std::nextafter(t, inf);
    while (t > 0 && slopeDegrees(std::nextafter(t, 0.0)) >= degrees)
        t = std::nextafter(t, 0.0);
    return t;
}

std::vector<double> defaultSlopeBounds() { return {0, 5, 10, 25, 45}; }

AccuracyReport accuracyReport(const GridView& dem, const GridView& ref, const GroundSpacing& spacing,
                              const std::vector<double>& bounds)
{
    // The streamed analysis with the whole grid as one strip: the figures
    // are those of a run over a raster read strip by strip, or under MPI.
    GridPairRows rows(dem, ref);
    Reduction alone;
    AccuracyReport report;
    std::string unused; // grids in memory are never unreadable
    streamedAccuracyReport(rows, spacing, bounds, StreamPlan(), alone, report, unused);
    return report;
}

std::string accuracyTableRow(const std::string& label, const AccuracyFigures& f)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%-12s%10zu", label.c_str(), f.count);
    std::string row = buf;
    const double values[] = {f.mean, f.std, f.rmse, f.min, f.max, f.median, f.nmad, f.le90, f.le95};
    for (double v : values)
        row += f.count ? figure(v) : "        n/a";
    return row + '\n';
}

std::string accuracyTable(const AccuracyReport& report)
{
    std::string out = "slope (deg)      count       mean        std       rmse        min        max     median"
                      "       nmad       le90       le95\n";
    for (const SlopeClassFigures& k : report.classes) {
        bool last = &k == &report.classes.back();
        out += accuracyTableRow("[" + bound(k.from) + ", " + bound(k.to) + (last ? "]" : ")"), k.figures);
    }
    return out + accuracyTableRow("all", report.all);
}

} // namespace orolith::model

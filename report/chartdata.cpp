#include "report/chartdata.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/constants.h"
#include "model/metrics.h"

namespace orolith::report {

namespace {

constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

// The diverging ramp from -1 to +1: a deep blue and a deep red around a
// near-white, with a light stop half-way on each side so that small
// differences already show a tint and large ones read as strong.
struct RampStop {
    double at;
    double r, g, b;
};
const RampStop DIVERGING_RAMP[] = {
    {-1.0, 33, 102, 172}, {-0.5, 146, 197, 222}, {0.0, 247, 247, 247}, {0.5, 244, 165, 130}, {1.0, 178, 24, 43},
};

unsigned char channel(double v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0, 255.0))); }

Rgb rampAt(double t)
{
    const int last = static_cast<int>(std::size(DIVERGING_RAMP)) - 1;
    int i = 0;
    while (i < last - 1 && t > DIVERGING_RAMP[i + 1].at)
        ++i;
    const RampStop& a = DIVERGING_RAMP[i];
    const RampStop& b = DIVERGING_RAMP[i + 1];
    const double f = std::clamp((t - a.at) / (b.at - a.at), 0.0, 1.0);
    return {channel(a.r + f * (b.r - a.r)), channel(a.g + f * (b.g - a.g)), channel(a.b + f * (b.b - a.b))};
}

// 1, 2 or 5 times a power of ten, the one given by index k: ... 0.5, 1, 2,
// 5, 10 ... with k = 3 e + {0, 1, 2} for 10^e times {1, 2, 5}.
constexpr double MANTISSAS[] = {1, 2, 5};

double roundStep(int k)
{
    const int e = k >= 0 ? k / 3 : -((-k + 2) / 3);
    return MANTISSAS[k - 3 * e] * std::pow(10.0, e);
}

// The index k of roundStep at or just below v > 0.
int roundStepIndexBelow(double v)
{
    int k = 3 * static_cast<int>(std::floor(std::log10(v)));
    // log10 may be an ulp off at powers of ten: step until the bracket holds.
    while (roundStep(k) > v)
        --k;
    while (roundStep(k + 1) <= v)
        ++k;
    return k;
}

// The heights of the 3 x 3 window around (r, c), NaN where the grid has
// none.
struct Window {
    double z[3][3];
};

Window windowAround(const MapGrid& g, int r, int c)
{
    Window w;
    for (int dr = -1; dr <= 1; ++dr)
        for (int dc = -1; dc <= 1; ++dc) {
            const int rr = r + dr, cc = c + dc;
            const bool inside = rr >= 0 && rr < g.rows && cc >= 0 && cc < g.cols;
            w.z[dr + 1][dc + 1] = inside ? g.values[static_cast<std::size_t>(rr) * g.cols + cc] : NOT_A_NUMBER;
        }
    return w;
}

// The rise per cell along one line of three heights (a row of the window
// toward the east, or a column toward the north): the central difference
// where both ends exist, else the one-sided difference to the middle, NaN
// when the line holds no pair.
double riseAlong(double before, double middle, double after)
{
    if (!std::isnan(before) && !std::isnan(after))
        return (after - before) / 2;
    if (!std::isnan(after) && !std::isnan(middle))
        return after - middle;
    if (!std::isnan(before) && !std::isnan(middle))
        return middle - before;
    return NOT_A_NUMBER;
}

// Horn's weights 1, 2, 1 over the three lines, given to those that have a
// rise; 0 when none has.
double weightedRise(double a, double b, double c)
{
    double sum = 0, weight = 0;
    const double rises[] = {a, b, c}, weights[] = {1, 2, 1};
    for (int i = 0; i < 3; ++i)
        if (!std::isnan(rises[i])) {
            sum += weights[i] * rises[i];
            weight += weights[i];
        }
    return weight > 0 ? sum / weight : 0;
}

} // namespace

Rgb divergingColour(double v, double limit)
{
    if (std::isnan(v))
        return ABSENT_GREY;
    double t;
    if (!(limit > 0))
        t = v > 0 ? 1 : v < 0 ? -1 : 0; // no scale: only the sign is left to show
    else
        t = std::clamp(v / limit, -1.0, 1.0);
    return rampAt(t);
}

std::vector<float> hillshade(const MapGrid& heights)
{
    const std::size_t cells = static_cast<std::size_t>(std::max(heights.rows, 0)) * std::max(heights.cols, 0);
    std::vector<float> shade(cells, std::numeric_limits<float>::quiet_NaN());
    if (heights.values.size() < cells)
        return shade;

    // The sun at azimuth 315 degrees, 45 degrees above the horizon.
    const double zenith = 45 * model::RADIANS_PER_DEGREE;
    const double azimuth = 315 * model::RADIANS_PER_DEGREE;
    const double cosZenith = std::cos(zenith), sinZenith = std::sin(zenith);
    for (int r = 0; r < heights.rows; ++r)
        for (int c = 0; c < heights.cols; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * heights.cols + c;
            if (std::isnan(heights.values[i]))
                continue;
            const Window w = windowAround(heights, r, c);
            const auto& z = w.z;
            // Horn's gradient, rise per metre toward the east and the north,
            // as the mean of the rows' (columns') differences weighted 1, 2,
            // 1: on a full window exactly Horn's formula, and at the border
            // and beside holes it keeps a plane's slope.
            const double east = weightedRise(riseAlong(z[0][0], z[0][1], z[0][2]), riseAlong(z[1][0], z[1][1], z[1][2]),
                                             riseAlong(z[2][0], z[2][1], z[2][2])) /
                                heights.cellWidth;
            const double north =
                weightedRise(riseAlong(z[2][0], z[1][0], z[0][0]), riseAlong(z[2][1], z[1][1], z[0][1]),
                             riseAlong(z[2][2], z[1][2], z[0][2])) /
                heights.cellHeight;
            const double slope = std::atan(std::hypot(east, north));
            // The aspect is the way the ground falls, clockwise from north.
            const double aspect = std::atan2(-east, -north);
            // Lambert's law for the sun's direction against the ground's
            // normal: cos(zenith) cos(slope) + sin(zenith) sin(slope)
            // cos(azimuth - aspect).
            const double lit = cosZenith * std::cos(slope) + sinZenith * std::sin(slope) * std::cos(azimuth - aspect);
            shade[i] = static_cast<float>(std::clamp(lit, 0.0, 1.0));
        }
    return shade;
}

std::vector<double> niceTicks(double lo, double hi, int count)
{
    if (!std::isfinite(lo) || !std::isfinite(hi) || !std::isfinite(hi - lo))
        return {};
    if (hi < lo)
        std::swap(lo, hi);
    if (hi == lo) {
        const double half = lo != 0 ? std::fabs(lo) * 0.1 : 1;
        lo -= half;
        hi += half;
    }
    count = std::max(count, 2);

    // Of the round steps near (hi - lo) / count, the one whose ticks come
    // nearest `count`; a tie goes to the larger step.
    const int k0 = roundStepIndexBelow((hi - lo) / count);
    double best = 0;
    long long bestMiss = std::numeric_limits<long long>::max();
    for (int k = k0 - 2; k <= k0 + 3; ++k) {
        const double step = roundStep(k);
        const long long n = static_cast<long long>(std::ceil(hi / step - 1e-9) - std::floor(lo / step + 1e-9)) + 1;
        const long long miss = std::llabs(n - count);
        if (miss <= bestMiss) {
            bestMiss = miss;
            best = step;
        }
    }
    // Whole multiples of the step, each computed afresh so that no error
    // adds up along the axis; 1e-9 forgives a bound that is a tick already.
    const long long first = static_cast<long long>(std::floor(lo / best + 1e-9));
    const long long last = static_cast<long long>(std::ceil(hi / best - 1e-9));
    std::vector<double> ticks;
    for (long long i = first; i <= last; ++i)
        ticks.push_back(i == 0 ? 0.0 : static_cast<double>(i) * best);
    return ticks;
}

double scaleBarMetres(double maxMetres)
{
    if (!(maxMetres > 0) || !std::isfinite(maxMetres))
        return 0;
    return roundStep(roundStepIndexBelow(maxMetres));
}

Histogram histogramOf(const std::vector<double>& values, double lo, double hi, int bins)
{
    Histogram h;
    h.lo = lo;
    h.hi = hi;
    h.counts.assign(static_cast<std::size_t>(std::max(bins, 1)), 0);
    // The median and NMAD are the caller's: it has them from the
    // accuracy figures, and a second selection over millions of points
    // would cost more than the counting.
    h.median = h.nmad = NOT_A_NUMBER;
    const double width = (hi - lo) / static_cast<double>(h.counts.size());
    for (double v : values) {
        if (std::isnan(v))
            continue;
        if (v < lo) {
            ++h.below;
        } else if (v >= hi) {
            ++h.above;
        } else {
            // The quotient can round across an edge (a hair below hi even
            // into the bin past the last): the edges lo + i width, as the
            // chart draws them, decide.
            const std::size_t last = h.counts.size() - 1;
            auto bin = std::min(static_cast<std::size_t>((v - lo) / width), last);
            if (bin < last && v >= lo + static_cast<double>(bin + 1) * width)
                ++bin;
            else if (bin > 0 && v < lo + static_cast<double>(bin) * width)
                --bin;
            ++h.counts[bin];
        }
    }
    return h;
}

Cumulative cumulativeOf(std::vector<double> absDifferences, int samples, double le90, double le95)
{
    Cumulative out;
    out.le90 = le90;
    out.le95 = le95;
    std::vector<double>& d = absDifferences;
    d.erase(std::remove_if(d.begin(), d.end(), [](double v) { return std::isnan(v); }), d.end());
    for (double& v : d)
        v = std::fabs(v);
    if (d.empty() || samples < 2)
        return out;
    std::sort(d.begin(), d.end());

    // The curve starts at (0, 0); the other points are ranks spread evenly
    // from the first to the last, whose share is 1.
    const std::size_t n = d.size();
    const std::size_t ranks = std::min<std::size_t>(static_cast<std::size_t>(samples) - 1, n);
    out.x.push_back(0);
    out.share.push_back(0);
    for (std::size_t i = 0; i < ranks; ++i) {
        const std::size_t rank = ranks == 1 ? n - 1 : (i * (n - 1) + (ranks - 1) / 2) / (ranks - 1);
        out.x.push_back(d[rank]);
        out.share.push_back(static_cast<double>(rank + 1) / static_cast<double>(n));
    }
    return out;
}

std::vector<double> binMedians(const std::vector<float>& aspect, const std::vector<float>& y, double width)
{
    if (!(width > 0) || !std::isfinite(width))
        return {};
    const auto bins = static_cast<std::size_t>(std::ceil(360 / width - 1e-9));
    std::vector<std::vector<double>> values(bins);
    const std::size_t n = std::min(aspect.size(), y.size());
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(aspect[i]) || !std::isfinite(y[i]))
            continue;
        double a = std::fmod(static_cast<double>(aspect[i]), 360.0);
        if (a < 0)
            a += 360;
        const auto bin = std::min(static_cast<std::size_t>(a / width), bins - 1);
        values[bin].push_back(y[i]);
    }
    std::vector<double> medians(bins, NOT_A_NUMBER);
    for (std::size_t b = 0; b < bins; ++b)
        if (!values[b].empty())
            medians[b] = model::medianOf(values[b].data(), values[b].size());
    return medians;
}

Range fitPanelRange(const FitPanel& panel, const std::vector<double>& medians)
{
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (double m : medians)
        if (std::isfinite(m)) {
            lo = std::min(lo, m);
            hi = std::max(hi, m);
        }
    // north cos(a) + east sin(a) + c swings c +- hypot(north, east) over a
    // full turn.
    const double amplitude = std::hypot(panel.north, panel.east);
    if (std::isfinite(amplitude) && std::isfinite(panel.c)) {
        lo = std::min(lo, panel.c - amplitude);
        hi = std::max(hi, panel.c + amplitude);
    }
    if (!(lo <= hi))
        return {-1, 1};
    const double span = hi - lo;
    const double margin = span > 0 ? 0.15 * span : std::max(0.15 * std::fabs(hi), 1.0);
    return {lo - margin, hi + margin};
}

} // namespace orolith::report

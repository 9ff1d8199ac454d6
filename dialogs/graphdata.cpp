#include "dialogs/graphdata.h"

#include "dialogs/names.h"
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace orolith::ui {

namespace {

// The bins of arrangeDiff between bounds given in double, so that bounds
// at the float limit keep a finite width. Every bound and index comes from
// finite numbers only.
std::vector<int> binsBetween(double min, double max, const float* values, std::size_t count)
{
    std::vector<int> bins(NUM_BINS, 0);
    if (!std::isfinite(min) || !std::isfinite(max) || max < min)
        return bins;
    const double w = (max - min) / NUM_BINS;
    // Bin j holds (lower(j), lower(j + 1)].
    auto lower = [&](int j) { return min + j * w; };
    for (std::size_t k = 0; k < count; ++k) {
        const double v = values[k];
        if (!std::isfinite(v) || v > max)
            continue; // no bin stands for it
        const double q = w > 0 ? std::ceil((v - min) / w) - 1 : 0.0;
        int j = static_cast<int>(std::clamp(q, 0.0, NUM_BINS - 1.0));
        // The division may land one bin off a bound; the bounds decide.
        while (j > 0 && v <= lower(j))
            --j;
        while (j < NUM_BINS - 1 && v > lower(j + 1))
            ++j;
        ++bins[j];
    }
    return bins;
}

// The finite values' count and extremes, and how many are not finite.
struct FiniteExtremes {
    int finite = 0, notFinite = 0;
    float lo = 0, hi = 0;
};
FiniteExtremes finiteExtremes(const float* values, std::size_t count)
{
    FiniteExtremes e;
    for (std::size_t k = 0; k < count; ++k) {
        const float v = values[k];
        if (!std::isfinite(v)) {
            ++e.notFinite;
            continue;
        }
        e.lo = e.finite == 0 ? v : std::min(e.lo, v);
        e.hi = e.finite == 0 ? v : std::max(e.hi, v);
        ++e.finite;
    }
    return e;
}

Histogram binned(const FiniteExtremes& e, float min, float max, const float* values, std::size_t count)
{
    Histogram h;
    h.finite = e.finite;
    h.notFinite = e.notFinite;
    h.min = min;
    h.max = max;
    h.range = static_cast<double>(max) - min;
    h.bins = binsBetween(min, max, values, count);
    return h;
}

} // namespace

std::vector<int> arrangeDiff(int count, float max, float min, const float* values, float& range)
{
    range = max - min;
    return binsBetween(min, max, values, count > 0 ? static_cast<std::size_t>(count) : 0);
}

Histogram histogramOf(const float* values, std::size_t count)
{
    const FiniteExtremes e = finiteExtremes(values, count);
    return binned(e, e.lo, e.hi, values, count);
}

Histogram histogramFrom(float lowest, const float* values, std::size_t count)
{
    const FiniteExtremes e = finiteExtremes(values, count);
    if (!std::isfinite(lowest))
        return binned(e, e.lo, e.hi, values, count);
    return binned(e, lowest, e.finite > 0 ? std::max(e.hi, lowest) : lowest, values, count);
}

std::string notFiniteNote(int notFinite)
{
    if (notFinite <= 0)
        return "";
    if (notFinite == 1)
        return "1 value that is not finite is not shown";
    return std::to_string(notFinite) + " values that are not finite are not shown";
}

void findminmax(int& min, int& max, const std::vector<int>& bins)
{
    if (bins.empty())
        return;
    auto [lo, hi] = std::minmax_element(bins.begin(), bins.end());
    min = *lo;
    max = *hi;
}

void getInfo(int& max, int& min, int n, const int* counts)
{
    if (n <= 0)
        return;
    auto [lo, hi] = std::minmax_element(counts, counts + n);
    min = *lo;
    max = *hi;
}

std::vector<int> editClasses(int& newMax, const std::vector<int>& counts, bool& removed)
{
    newMax = 0;
    if (counts.empty())
        return {};
    long long sum = 0;
    for (int c : counts)
        sum += c;
    const long long avg = sum / static_cast<long long>(counts.size());
    const double threshold = 1.25 * static_cast<double>(avg);
    std::vector<int> edited(counts);
    for (int& c : edited) {
        if (c > 0 && c >= threshold) {
            c = 0;
            removed = true;
        } else {
            newMax = std::max(newMax, c);
        }
    }
    return edited;
}

BarCounts groupClasses(const std::vector<int>& counts)
{
    BarCounts bars;
    const int n = static_cast<int>(counts.size());
    if (n <= MAX_BARS) {
        bars.counts = counts;
        return bars;
    }
    bars.classesPerBar = (n + MAX_BARS - 1) / MAX_BARS;
    bars.counts.assign((n + bars.classesPerBar - 1) / bars.classesPerBar, 0);
    for (int i = 0; i < n; ++i)
        bars.counts[i / bars.classesPerBar] += counts[i];
    return bars;
}

int barWidth(int numBars)
{
    if (numBars <= NUM_BINS)
        return 6;
    return std::max(1, MAX_BARS / numBars);
}

int axisTop(int maxCount)
{
    if (maxCount <= 0)
        return 100;
    return maxCount % 100 == 0 ? maxCount : maxCount - maxCount % 100 + 100;
}

std::vector<Bar> barGeometry(const std::vector<int>& counts, int maxCount)
{
    const int b = barWidth(static_cast<int>(counts.size()));
    const double unitsPerCount = 150.0 / axisTop(maxCount);
    std::vector<Bar> bars;
    bars.reserve(counts.size());
    for (std::size_t i = 0; i < counts.size(); ++i) {
        const float x0 = 5.0f + static_cast<float>(i * b);
        const float height = counts[i] > 0 ? static_cast<float>(counts[i] * unitsPerCount) : 0.0f;
        bars.push_back({x0, x0 + b, 5.0f + height});
    }
    return bars;
}

std::vector<AxisLabel> yAxisLabels(int maxCount)
{
    const int step = axisTop(maxCount) / 10;
    std::vector<AxisLabel> labels;
    for (int v = 0, j = 0; v < maxCount; v += step, ++j)
        labels.push_back({static_cast<double>(v), 150 - 16 * j});
    return labels;
}

std::vector<AxisLabel> valueAxisLabels(double min, double range)
{
    std::vector<AxisLabel> labels;
    for (int i = 0, k = 0; i <= NUM_BINS; i += 5, ++k)
        labels.push_back({min + i * range / NUM_BINS, 47 + 30 * k});
    return labels;
}

std::vector<AxisLabel> classAxisLabels(int numBars, int classesPerBar)
{
    const int b = barWidth(numBars);
    int every = 5;
    while (every * b < 30)
        every += 5;
    std::vector<AxisLabel> labels;
    for (int bar = 0; bar <= numBars; bar += every)
        labels.push_back({static_cast<double>(bar * classesPerBar), 47 + bar * b});
    return labels;
}

std::string axisNumberText(double v)
{
    char buf[32];
    if (v == 0)
        v = 0; // no "-0"
    if ((v == std::floor(v) || std::fabs(v) >= 100) && std::fabs(v) < 1e7) {
        std::snprintf(buf, sizeof buf, "%.0f", v);
    } else if (std::fabs(v) >= 1e7) {
        // Two digits and a bare exponent ("3.4e38"): the C form, "3.4e+38",
        // is cut to "3.4e+3" by the next number, which reads as 3400.
        std::snprintf(buf, sizeof buf, "%.1e", v);
        std::string text = buf;
        const std::size_t e = text.find('e');
        std::size_t digits = e + 1;
        while (digits < text.size() && (text[digits] == '+' || text[digits] == '0'))
            ++digits;
        return text.substr(0, e + 1) + text.substr(digits);
    } else {
        std::snprintf(buf, sizeof buf, "%.3g", v);
    }
    return buf;
}

} // namespace orolith::ui

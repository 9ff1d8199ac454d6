#include "report/checkpointsection.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "model/dataset.h"
#include "report/names.h"

namespace orolith::report {

namespace {

// The differences of the points the DEM was sampled at, in the order given.
std::vector<double> usedDifferences(const CheckpointAssessment& a)
{
    std::vector<double> d;
    for (std::size_t i = 0; i < a.d.size(); ++i)
        if (a.fate[i] == model::PointFate::used)
            d.push_back(a.d[i]);
    return d;
}

Histogram pointHistogram(const std::vector<double>& d, const HistogramFrame& frame, const AccuracyFigures& f,
                         const std::string& label)
{
    Histogram h = histogramOf(d, frame.lo, frame.hi, frame.bins);
    h.median = f.median;
    h.nmad = f.nmad;
    h.label = label;
    return h;
}

} // namespace

int pointHistogramBins(std::size_t n)
{
    const double rice = 2 * std::cbrt(static_cast<double>(n));
    return std::clamp(static_cast<int>(std::ceil(rice)), 10, 60);
}

std::string pointImprovementText(const Coregistration& c)
{
    char buf[160];
    std::snprintf(buf, sizeof buf, "%s (NMAD %.3f before, %.3f after)%s", c.improved ? "yes" : "no", c.nmadBefore,
                  c.nmadAfter, c.improved ? "" : ": the points are kept as given");
    return buf;
}

CheckpointFacts checkpointFacts(const DataSet& d, int mapBlock)
{
    CheckpointFacts f;
    f.file = d.checkpointsName();
    f.given = d.checkpoints().size();
    f.classes = d.checkpointClasses();
    f.before = d.checkpointAssessment();
    f.limit = mapLimit(f.before.report.all);

    const std::vector<Checkpoint>& points = d.checkpoints();
    const double block = mapBlock > 0 ? mapBlock : 1;
    for (std::size_t i = 0; i < points.size() && i < f.before.fate.size(); ++i) {
        if (f.before.fate[i] != model::PointFate::used)
            continue;
        // Grid positions count from the first cell's centre, map places
        // from its north-west corner.
        const GridPosition at = gridPositionOf(d.header(), points[i].x, points[i].y);
        f.points.push_back({(at.col + 0.5) / block, (at.row + 0.5) / block, f.before.d[i]});
    }

    const std::vector<double> differences = usedDifferences(f.before);
    std::vector<double> magnitudes(differences.size());
    std::transform(differences.begin(), differences.end(), magnitudes.begin(), [](double v) { return std::fabs(v); });
    const HistogramFrame frame =
        histogramFrame(f.limit, differenceStep(magnitudes), pointHistogramBins(differences.size()));
    f.histogram = pointHistogram(differences, frame, f.before.report.all, "before");
    return f;
}

void addPointCoregistration(AccuracyDocument& doc, const DataSet& d, const PointCoregistration& c,
                            const ReportRequest& request)
{
    (void)request; // the points were classed by slope when they were assessed
    if (!c.shift.ok || !doc.checkpoints)
        return;
    CheckpointFacts& f = *doc.checkpoints;
    f.shift = shiftSummaryOf(c.shift, d.spacing(), pointImprovementText(c.shift));
    f.fits = fitPanelsOf(c.shift.fits);
    f.after = c.after;
    // The same bins as before the shift, so that the two overlay.
    const HistogramFrame frame{f.histogram.lo, f.histogram.hi, static_cast<int>(f.histogram.counts.size())};
    f.histogramAfter = pointHistogram(usedDifferences(f.after), frame, f.after.report.all, "after");
}

} // namespace orolith::report

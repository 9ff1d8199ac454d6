#include "report/accuracydocument.h"

#include <cmath>
#include <cstdio>
#include <ctime>

#include "model/align.h"
#include "model/blockmeans.h"
#include "model/cellmath.h"
#include "model/dataset.h"
#include "model/report.h"
#include "render/legend.h"
#include "render/viewimage.h"
#include "render/viewstate.h"
#include "report/checkpointsection.h"
#include "report/names.h"
#include "report/reporttext.h"

namespace orolith::report {

namespace {

// The cumulative curve is drawn from at most this many points, taken evenly
// over the grid: a curve of a million points already shows every step a
// page can.
constexpr std::size_t CUMULATIVE_SAMPLE = 1000000;
constexpr int HISTOGRAM_BINS = 60;
constexpr int CUMULATIVE_STEPS = 400;

std::string crsName(const CrsInfo& crs) { return crs.known && !crs.name.empty() ? crs.name : "none stated"; }

std::string kindName(ComparisonKind kind)
{
    switch (kind) {
    case ComparisonKind::sparse: return "spot heights";
    case ComparisonKind::contour: return "contours";
    case ComparisonKind::dem: break;
    }
    return "DEM";
}

// The size, corner, cell size and coordinate system a header gives.
void placeAs(FileFacts& f, const GridHeader& h)
{
    f.rows = h.rows;
    f.cols = h.cols;
    f.xllcorner = h.xllcorner;
    f.yllcorner = h.yllcorner;
    f.cellsizeX = h.cellsizeX;
    f.cellsizeY = h.cellsizeY;
    f.crs = crsName(h.crs);
}

FileFacts demFacts(const DataSet& d)
{
    const GridHeader& h = d.header();
    FileFacts f;
    f.role = "DEM";
    f.path = h.path;
    placeAs(f, h);
    f.kind = "DEM";
    f.alignment = "-";
    return f;
}

FileFacts comparisonFacts(const DataSet& d)
{
    const Comparison& c = d.comparison();
    const GridHeader& h = c.grid.header;
    const Alignment& a = c.alignment;
    FileFacts f;
    f.role = "Comparison";
    f.path = h.path;
    f.kind = kindName(c.kind);
    if (a.aligned) {
        f.rows = a.sourceRows;
        f.cols = a.sourceCols;
        f.xllcorner = a.sourceXll;
        f.yllcorner = a.sourceYll;
        f.cellsizeX = a.sourceCellX;
        f.cellsizeY = a.sourceCellY;
        f.crs = a.sourceCrs.empty() ? "none stated" : a.sourceCrs;
        f.alignment = alignmentText(a);
    } else {
        placeAs(f, h);
        f.alignment = "on the DEM's grid, compared cell by cell";
    }
    return f;
}

ReportMap differenceMap(const std::string& title, const GridView& dem, const GridView& comp, int block,
                        const GroundSpacing& spacing)
{
    BlockMeans m = blockMeansOfDifference(dem, comp, block);
    ReportMap map;
    map.title = title;
    map.grid.rows = m.rows;
    map.grid.cols = m.cols;
    map.grid.values = std::move(m.values);
    map.grid.cellWidth = spacing.x * block;
    map.grid.cellHeight = spacing.y * block;
    return map;
}

// DEM minus comparison wherever both are present, in row-major order.
std::vector<double> differencesOf(const GridView& dem, const GridView& comp, std::size_t count)
{
    std::vector<double> d;
    d.reserve(count);
    for (std::size_t i = 0; i < dem.cells(); ++i)
        if (dem.isPresent(i) && comp.isPresent(i))
            d.push_back(static_cast<double>(dem.heights[i]) - static_cast<double>(comp.heights[i]));
    return d;
}

Histogram histogramFor(const std::vector<double>& d, const HistogramFrame& frame, const model::AccuracyFigures& f,
                       const std::string& label)
{
    Histogram h = histogramOf(d, frame.lo, frame.hi, frame.bins);
    h.median = f.median;
    h.nmad = f.nmad;
    h.label = label;
    return h;
}

FileFacts checkpointFileFacts(const DataSet& d)
{
    FileFacts f;
    f.role = "Checkpoints";
    f.path = d.checkpointsName();
    f.points = d.checkpoints().size();
    f.crs = "the DEM's";
    f.kind = "points";
    f.alignment = "the DEM sampled bilinearly at each point";
    return f;
}

std::vector<std::uint8_t> stableAfterShift(const DataSet& d, const Coregistration& c)
{
    static const std::vector<std::uint8_t> noRules;
    return model::keptAfterShift(c.shifted.present, d.hasStableTerrain() ? d.stableTerrain().stable : noRules,
                                 static_cast<std::size_t>(d.rows()) * d.cols());
}

FitPanel panelOf(const model::FitRecord& r)
{
    FitPanel p;
    p.iteration = r.iteration;
    p.aspect = r.aspectDegrees;
    p.y = r.y;
    p.north = r.fit.north;
    p.east = r.fit.east;
    p.c = r.fit.c;
    p.points = r.points;
    return p;
}

// The picture --image draws with the elevation-difference scheme.
void drawView(const DataSet& d, const ReportRequest& request, AccuracyDocument& doc)
{
    ViewState view;
    view.drawColors = false;
    view.drawDiffColor = true;
    // The legend stands beside the picture, where the page has room for
    // its texts at the report's size.
    view.showLegend = false;
    std::vector<unsigned char> rgb;
    std::string why;
    // The picture is far smaller than a large grid: the level of detail of
    // a drag shows all it can.
    if (renderViewImage(d, view, request.viewWidth, request.viewHeight, rgb, why, true)) {
        doc.viewWidth = request.viewWidth;
        doc.viewHeight = request.viewHeight;
        doc.viewRgb = std::move(rgb);
    } else {
        doc.viewProblem = "The 3-D view could not be drawn: " + why;
    }
    doc.viewLegend = differenceClassLegend(request.differenceUnit, doc.unit);
}

} // namespace

void stampDocument(AccuracyDocument& doc, std::chrono::steady_clock::time_point start)
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char when[32];
    std::strftime(when, sizeof when, "%Y-%m-%d %H:%M", &local);
    doc.created = when;
    doc.runSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double differenceStep(const std::vector<double>& sample)
{
    if (sample.empty())
        return 0;
    for (double step : {1.0, 0.5, 0.1, 0.05, 0.01, 0.005, 0.001}) {
        // Heights in single precision differ from a multiple of the step by
        // their rounding error, far below a hundredth of the step.
        std::size_t off = 0;
        for (double v : sample) {
            const double steps = v / step;
            off += std::fabs(steps - std::round(steps)) > 0.01;
        }
        if (off * 1000 <= sample.size())
            return step;
    }
    return 0;
}

HistogramFrame histogramFrame(double limit, double step, int bins)
{
    HistogramFrame f;
    f.bins = bins < 1 ? 1 : bins;
    if (!(step > 0)) {
        f.lo = -limit;
        f.hi = limit;
        return f;
    }
    const double width = std::ceil(2 * limit / f.bins / step) * step;
    const int half = static_cast<int>(std::ceil((limit - step / 2) / width));
    f.lo = -half * width - step / 2;
    f.bins = 2 * half + 1;
    f.hi = f.lo + f.bins * width;
    return f;
}

double mapLimit(const model::AccuracyFigures& figures)
{
    if (figures.count == 0)
        return 1;
    const double limit = std::fabs(figures.median) + 3 * figures.nmad;
    return limit > 1e-6 ? limit : 1e-6 + std::fabs(figures.median);
}

std::vector<LegendEntry> differenceClassLegend(float unit, const std::string& heightUnit)
{
    // The viewer's legend of the classes, in the report's words: the
    // bounds are of |d|, and the ground's colour also marks points
    // without comparison.
    const std::vector<LegendSwatch> classes = differenceClassSwatches(unit, heightUnit);
    auto byte = [](float c) { return static_cast<unsigned char>(std::lround(c * 255)); };
    std::vector<LegendEntry> legend;
    legend.reserve(classes.size());
    for (const LegendSwatch& s : classes)
        legend.push_back({Rgb{byte(s.color.r), byte(s.color.g), byte(s.color.b)}, s.label});
    legend.front().text = "|d| " + legend.front().text;
    legend.back().text = "|d| " + legend.back().text + ", or no comparison";
    return legend;
}

namespace {

// The grid's parts: its figures, maps, histogram, curve, slope chart, 3-D
// view and the statistics text.
void addComparison(AccuracyDocument& doc, const DataSet& d, const ReportRequest& request)
{
    doc.hasComparison = true;
    if (d.hasStableTerrain()) {
        const StableTerrainCounts& counts = d.stableTerrain().counts;
        doc.stable = StableTerrainFacts{counts.paired, counts.kept, stableTerrainLines(d.stableRules(), counts)};
    }
    // Without rules the stable view is the whole comparison.
    const GridView dem = d.demView(), comp = d.stableComparisonView();
    const GroundSpacing& spacing = d.spacing();
    doc.before = accuracyReport(dem, comp, spacing, request.slopeBounds);

    doc.limit = mapLimit(doc.before.all);
    doc.differenceBefore = differenceMap("DEM minus comparison", dem, comp, doc.mapBlock, spacing);

    {
        std::vector<double> differences = differencesOf(dem, comp, doc.before.all.count);
        doc.differencePoints = differences.size();
        const std::size_t step = (differences.size() + CUMULATIVE_SAMPLE - 1) / CUMULATIVE_SAMPLE;
        std::vector<double> magnitudes;
        for (std::size_t i = 0; step && i < differences.size(); i += step)
            magnitudes.push_back(std::fabs(differences[i]));
        const HistogramFrame frame = histogramFrame(doc.limit, differenceStep(magnitudes), HISTOGRAM_BINS);
        doc.histogramBefore = histogramFor(differences, frame, doc.before.all, "before");
        doc.cumulativeSample = magnitudes.size();
        doc.cumulative =
            cumulativeOf(std::move(magnitudes), CUMULATIVE_STEPS, doc.before.all.le90, doc.before.all.le95);
    }

    for (const model::SlopeClassFigures& k : doc.before.classes)
        doc.slopeBars.push_back({k.from, k.to, k.figures.count, k.figures.median, k.figures.nmad});

    drawView(d, request, doc);

    // The statistics report is of the whole comparison; its accuracy
    // table, as every accuracy figure, of the stable terrain.
    const ReportValues values = reportValues(d, request.curvatureUnit, request.differenceUnit, true);
    std::string accuracy = accuracyTable(doc.before);
    if (doc.stable)
        accuracy = "Over the stable terrain only: " + std::to_string(doc.stable->kept) + " of " +
                   std::to_string(doc.stable->paired) + " points kept\n" + accuracy;
    doc.statisticsText =
        statisticsWindowText(statisticsReport(values), accuracy, alignmentText(d.comparison().alignment));
}

} // namespace

AccuracyDocument collectDocument(const DataSet& d, const ReportRequest& request)
{
    AccuracyDocument doc;
    doc.version = request.version;
    doc.unit = heightUnitName(d.header().crs);
    doc.files.push_back(demFacts(d));
    if (d.hasComparison())
        doc.files.push_back(comparisonFacts(d));
    if (d.hasCheckpoints())
        doc.files.push_back(checkpointFileFacts(d));

    const GroundSpacing& spacing = d.spacing();
    doc.mapBlock = model::blockSideFor(d.rows(), d.cols(), request.mapMaxSide);
    const BlockMeans heights = blockMeans(d.demView(), doc.mapBlock);
    doc.heights.title = "DEM, hillshade";
    doc.heights.grid = {heights.rows, heights.cols, heights.values, spacing.x * doc.mapBlock, spacing.y * doc.mapBlock};

    if (d.hasComparison())
        addComparison(doc, d, request);
    if (d.hasCheckpoints())
        doc.checkpoints = checkpointFacts(d, doc.mapBlock);
    return doc;
}

ShiftSummary shiftSummaryOf(const Coregistration& c, const GroundSpacing& spacing, const std::string& improvement)
{
    ShiftSummary s;
    s.east = c.shiftEast;
    s.north = c.shiftNorth;
    s.eastMetres = c.shiftEastMetres;
    s.northMetres = c.shiftNorthMetres;
    s.groundUnit = spacing.geographic ? "m" : "map units";
    s.bias = c.bias;
    s.iterations = c.iterations;
    s.converged = c.converged;
    s.improved = c.improved;
    s.nmadBefore = c.nmadBefore;
    s.nmadAfter = c.nmadAfter;
    s.improvement = improvement;
    return s;
}

std::vector<FitPanel> fitPanelsOf(const std::vector<model::FitRecord>& fits)
{
    std::vector<FitPanel> panels;
    if (!fits.empty()) {
        panels.push_back(panelOf(fits.front()));
        if (fits.size() > 1)
            panels.push_back(panelOf(fits.back()));
    }
    return panels;
}

void addCoregistration(AccuracyDocument& doc, const DataSet& d, const Coregistration& c, const ReportRequest& request)
{
    if (!c.ok || !d.hasComparison())
        return;
    const std::vector<std::uint8_t> present = stableAfterShift(d, c);
    const GridView dem = d.demView();
    const GridView moved{c.shifted.heights.data(), present.data(), d.rows(), d.cols()};
    const GroundSpacing& spacing = d.spacing();
    doc.after = accuracyReport(dem, moved, spacing, request.slopeBounds);
    doc.shift = shiftSummaryOf(c, spacing, improvementText(c));
    doc.fits = fitPanelsOf(c.fits);
    doc.differenceAfter = differenceMap("DEM minus comparison, after the shift", dem, moved, doc.mapBlock, spacing);
    // The same bins as before the shift, so that the two overlay.
    const Histogram& before = doc.histogramBefore;
    const HistogramFrame frame{before.lo, before.hi, static_cast<int>(before.counts.size())};
    doc.histogramAfter = histogramFor(differencesOf(dem, moved, doc.after.all.count), frame, doc.after.all, "after");
}

AccuracyDocument collectDocument(const DataSet& d, const Coregistration* coregistration, const ReportRequest& request)
{
    AccuracyDocument doc = collectDocument(d, request);
    if (coregistration)
        addCoregistration(doc, d, *coregistration, request);
    return doc;
}

} // namespace orolith::report

// Everything the accuracy report shows, gathered once from a loaded DEM with
// its comparison grid, its checkpoints or both (and their co-registrations,
// when there were some): the facts of the files, the figures, the maps, the
// histograms, the fits, the 3-D view, the checkpoints and the statistics
// text. The HTML page, the PDF and the JSON file are all written from this
// one value, so the three always agree.
#ifndef OROLITH_REPORT_ACCURACYDOCUMENT_H
#define OROLITH_REPORT_ACCURACYDOCUMENT_H

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "model/checkpoints.h"
#include "model/coregister.h"
#include "model/metrics.h"
#include "model/stableterrain.h"
#include "report/chartdata.h"

namespace orolith::model {
class DataSet;
struct PointCoregistration;
} // namespace orolith::model

namespace orolith::report {

using model::AccuracyReport;
using model::Coregistration;
using model::DataSet;
using model::PointCoregistration;

// One input file as the header lists it.
struct FileFacts {
    std::string role; // "DEM", "Comparison", "Checkpoints"
    std::string path;
    std::optional<std::size_t> points; // a file of points: how many; its grid facts stay 0
    int rows = 0, cols = 0;
    double xllcorner = 0, yllcorner = 0, cellsizeX = 0, cellsizeY = 0;
    std::string crs;       // the system's name, "none stated" without one
    std::string kind;      // "DEM", "spot heights", "contours", "points"
    std::string alignment; // how it came onto the DEM's grid
};

// The co-registration as the summary gives it.
struct ShiftSummary {
    double east = 0, north = 0;             // cells
    double eastMetres = 0, northMetres = 0; // ground units
    std::string groundUnit;                 // "m", "map units"
    double bias = 0;
    int iterations = 0;
    bool converged = false, improved = false;
    double nmadBefore = 0, nmadAfter = 0;
    std::string improvement; // improvementText
};

// A map of the DEM's grid with the block side it was averaged over.
struct ReportMap {
    std::string title;
    MapGrid grid;
};

// The stable-terrain rules in force: one line a rule with the points it
// removed of those present in both grids.
struct StableTerrainFacts {
    std::size_t paired = 0, kept = 0;
    std::vector<model::StableTerrainLine> lines;
};

// The checkpoints: what became of them, their figures, their map and
// histogram, before and (with a co-registration to them) after the shift.
struct CheckpointFacts {
    std::string file;
    std::size_t given = 0;
    model::CheckpointClasses classes;
    model::CheckpointAssessment before;
    // The used points on the DEM's map (the document's `heights`) with d
    // before the shift, on a diverging scale clipped at +-limit.
    std::vector<MapPoint> points;
    double limit = 1;
    Histogram histogram, histogramAfter; // after: empty without a shift

    std::optional<ShiftSummary> shift;
    std::vector<FitPanel> fits;
    model::CheckpointAssessment after; // only with a shift
};

struct AccuracyDocument {
    std::vector<FileFacts> files;
    std::string created; // local date and time, "2026-12-07 14:03"
    std::string version;
    double runSeconds = 0;
    std::string unit; // the heights' unit for labels: "m", "ft", or "units"

    // Without a comparison grid the document holds the files, the DEM's map
    // and the checkpoints, and none of the grid's parts below.
    bool hasComparison = false;
    // With rules, the grid's figures, maps and histograms are those of the
    // points they kept.
    std::optional<StableTerrainFacts> stable;

    AccuracyReport before;
    std::optional<ShiftSummary> shift;
    AccuracyReport after; // only with a shift

    // Maps: the differences before (and after) on one diverging scale
    // clipped at +-limit, the DEM's heights for its hillshade.
    ReportMap differenceBefore, differenceAfter, heights;
    int mapBlock = 1; // grid cells a map cell averages on a side
    double limit = 1;

    Histogram histogramBefore, histogramAfter; // after: empty without a shift
    Cumulative cumulative;
    std::size_t cumulativeSample = 0; // points the curve was drawn from
    std::size_t differencePoints = 0; // points with a difference

    std::vector<SlopeBar> slopeBars;
    std::vector<FitPanel> fits; // the first and the last iteration
    std::size_t fitSample = model::FIT_SAMPLE_POINTS;

    // The 3-D view coloured by the elevation-difference classes.
    int viewWidth = 0, viewHeight = 0;
    std::vector<unsigned char> viewRgb; // empty when it could not be drawn
    std::string viewProblem;
    std::vector<LegendEntry> viewLegend;

    std::string statisticsText;

    std::optional<CheckpointFacts> checkpoints;
};

struct ReportRequest {
    std::string version;
    std::vector<double> slopeBounds;
    float curvatureUnit = 1, differenceUnit = 1;
    int viewWidth = 900, viewHeight = 675;
    int mapMaxSide = 1500;
};

// The document of `d` (a DEM with comparison data on its grid, checkpoints
// or both) and, when given, the co-registration of its comparison grid.
// The run time and the date are the caller's.
AccuracyDocument collectDocument(const DataSet& d, const Coregistration* coregistration, const ReportRequest& request);

// The same in two steps, so that a caller can gather the figures before
// the shift while the co-registration still runs: the document without a
// shift, then the shift's figures, fits, map and histogram added to it (a
// co-registration that failed adds nothing).
AccuracyDocument collectDocument(const DataSet& d, const ReportRequest& request);
void addCoregistration(AccuracyDocument& doc, const DataSet& d, const Coregistration& c, const ReportRequest& request);

// The co-registration of the DEM to its checkpoints added to the
// document's checkpoints: the shift, its fits, the points' figures and
// histogram after it (report/checkpointsection.cpp). One that failed, or
// a document without checkpoints, adds nothing.
void addPointCoregistration(AccuracyDocument& doc, const DataSet& d, const PointCoregistration& c,
                            const ReportRequest& request);

// The summary of a co-registration that succeeded; `improvement` says
// whether it lowered the NMAD, in the words of what it moved.
ShiftSummary shiftSummaryOf(const Coregistration& c, const model::GroundSpacing& spacing,
                            const std::string& improvement);
// The first and the last of the fits, for their pictures.
std::vector<FitPanel> fitPanelsOf(const std::vector<model::FitRecord>& fits);

// The date and the run time since `start`, set just before the document
// is written.
void stampDocument(AccuracyDocument& doc, std::chrono::steady_clock::time_point start);

// "|median| + 3 NMAD" of the differences, at least a small positive value
// so that a scale always has a width.
double mapLimit(const model::AccuracyFigures& figures);

// The step the differences come in (heights written with one or two
// decimals differ by multiples of 0.1 or 0.01): the largest of 1, 0.5,
// 0.1, 0.05, 0.01, 0.005 and 0.001 that all but one in a thousand of
// `sample` are multiples of; 0 when none is.
double differenceStep(const std::vector<double>& sample);

// The histogram's range and bin count for differences within +-limit,
// about `bins` bins. With a step, each bin is a whole number of steps wide
// and its edges lie halfway between steps, so that no bin is empty only
// because no step falls in it.
struct HistogramFrame {
    double lo = 0, hi = 0;
    int bins = 1;
};
HistogramFrame histogramFrame(double limit, double step, int bins);

// The 3-D view's legend: the elevation-difference classes of |d| in
// `unit` (the difference unit), highest first.
std::vector<LegendEntry> differenceClassLegend(float unit, const std::string& heightUnit);

} // namespace orolith::report

#endif

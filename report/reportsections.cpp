#include "report/reportsections.h"

#include <cstdio>

#include "report/names.h"
#include "report/reporttables.h"

namespace orolith::report {

std::string madeByLine(const AccuracyDocument& doc)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", doc.runSeconds);
    const std::string minus = !doc.checkpoints    ? "the comparison height"
                              : doc.hasComparison ? "the comparison's (or the checkpoint's) height"
                                                  : "the checkpoint's height";
    return "Made by Orolith " + doc.version + " on " + doc.created + " in " + seconds +
           " s. d is the DEM height minus " + minus + ", in " + doc.unit + ".";
}

std::string mapsNote(const AccuracyDocument& doc)
{
    std::string note = "Plan view of the DEM's grid, north up. The differences are coloured from blue (DEM below the "
                       "comparison) through white (0) to red (DEM above), clipped at |median| + 3 NMAD = " +
                       fixed3(doc.limit) + " " + doc.unit + "; grey cells have no difference" +
                       (doc.stable ? " or were removed by the stable-terrain rules." : ".");
    if (doc.mapBlock > 1)
        note += " Each map cell is the mean of the present cells of a block of " + std::to_string(doc.mapBlock) +
                " x " + std::to_string(doc.mapBlock) + " grid cells.";
    return note;
}

std::string viewNote(const AccuracyDocument& doc)
{
    if (doc.viewRgb.empty())
        return doc.viewProblem;
    return "The surface as the viewer draws it, coloured by the classes of |d| (the elevation-difference classes).";
}

std::string distributionNote(const AccuracyDocument& doc)
{
    std::string note = "Histogram of all " + std::to_string(doc.differencePoints) + " differences";
    note += doc.stable ? " on stable terrain" : "";
    note += doc.shift ? ", before and after the shift," : "";
    note +=
        " between -" + fixed3(doc.limit) + " and " + fixed3(doc.limit) + " " + doc.unit + " (" +
        std::to_string(doc.histogramBefore.below + doc.histogramBefore.above) +
        " lie outside); the lines mark the median and the median +- NMAD. The cumulative curve of |d| is drawn from ";
    note += doc.cumulativeSample == doc.differencePoints
                ? std::string("all of them")
                : "every " + std::to_string((doc.differencePoints + doc.cumulativeSample - 1) / doc.cumulativeSample) +
                      "th difference (" + std::to_string(doc.cumulativeSample) + " points)";
    return note + "; LE90 and LE95 are those of all points.";
}

std::string slopeNote(const AccuracyDocument& doc)
{
    (void)doc;
    return "Slope of the DEM by Horn's method, in degrees; points whose 3 x 3 window is not wholly present, and the "
           "grid's border, count only in \"all\".";
}

std::string fitNote(const AccuracyDocument& doc)
{
    if (!doc.shift)
        return "";
    return "Differences divided by the tangent of the slope, against the aspect, on the DEM's points steeper than 3 "
           "degrees: an even sample of at most " +
           std::to_string(doc.fitSample) +
           " points of each fit, the medians of 10-degree bins and the fitted cosine. " +
           (doc.fits.size() > 1 ? "The first and the last of " + std::to_string(doc.shift->iterations) + " iterations."
                                : std::string("One iteration."));
}

std::string stableNote(const AccuracyDocument& doc)
{
    if (!doc.stable)
        return "";
    return "The rules are applied in the order listed, each to the points the one before kept. The figures, maps, "
           "histograms and charts of the comparison grid are those of the " +
           std::to_string(doc.stable->kept) +
           " points kept; the statistics report, but for its accuracy table, covers all points.";
}

std::string checkpointsNote(const CheckpointFacts& f)
{
    return "Checkpoints from " + f.file +
           ". d is the DEM's height at a point, interpolated bilinearly from its present cells, minus the point's. "
           "Points beyond the DEM's outermost cell centres, and those whose interpolation needs an absent cell, are "
           "left out. A point's slope is that of the DEM's grid point nearest to it.";
}

std::string checkpointPicturesNote(const CheckpointFacts& f, const std::string& unit)
{
    return "The DEM's hillshade with the points used, coloured by d from blue (DEM below the point) through white "
           "(0) to red (DEM above), clipped at |median| + 3 NMAD = " +
           fixed3(f.limit) + " " + unit + "; then the histogram of d" +
           (f.shift ? ", before and after the shift" : "") + ", the lines marking the median and the median +- NMAD.";
}

std::string pointShiftNote(const CheckpointFacts& f, std::size_t fitSample)
{
    if (!f.shift)
        return "";
    return "The horizontal shift and vertical bias between the checkpoints and the DEM, fitted as for two grids on "
           "the points where the DEM slopes more than 3 degrees; the points are moved back by the shift and "
           "assessed again. The fits: differences divided by the tangent of the slope against the aspect, an even "
           "sample of at most " +
           std::to_string(fitSample) + " points of each, the medians of 10-degree bins and the fitted cosine; " +
           (f.fits.size() > 1 ? "the first and the last of " + std::to_string(f.shift->iterations) + " iterations."
                              : std::string("one iteration."));
}

} // namespace orolith::report

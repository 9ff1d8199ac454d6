#include "app/cli_checkpoints.h"

#include <cstdio>
#include <ostream>

#include "app/cli.h"
#include "app/metricsjson.h"
#include "model/checkpointtext.h"
#include "model/pointcoregister.h"

namespace orolith::ui {

namespace {

std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// A point file in which no point lies on the DEM says nothing of it.
// When none is even near it, the likeliest cause is another coordinate
// system that the file does not name.
bool refuseWithoutPoints(const CliRun& run, const AccuracyOptions& o, const CheckpointAssessment& a)
{
    if (a.report.all.count > 0)
        return false;
    run.err << "ERROR: " << noCheckpointOnDemText(a);
    if (a.outside == a.fate.size() && o.points.pointsCrs.empty())
        run.err << " (if the points are in another coordinate system than the DEM, name theirs with --points-crs)";
    run.err << std::endl;
    return true;
}

// improvementText in the points' words.
std::string pointImprovementText(const Coregistration& c)
{
    return std::string(c.improved ? "yes" : "no") + " (NMAD " + fixed3(c.nmadBefore) + " before, " +
           fixed3(c.nmadAfter) + " after)" + (c.improved ? "" : ": the checkpoints are kept as they were");
}

} // namespace

bool readDemAndCheckpoints(const CliRun& run, const AccuracyOptions& o, Pair& dem, std::vector<Checkpoint>& points)
{
    // The points are read while the DEM's heights are: they need only its
    // coordinate system, from its header. A header that cannot be read
    // ends the run in readPair.
    GridHeader header;
    ModelError ignored;
    const std::string wkt = readGridHeader(o.files[0], header, ignored, run.io) ? header.projection : std::string();
    bool pointsRead = false;
    std::string error;
    if (!readPair(run, o.files[0], std::string(), {o.kind, o.geographic, false, o.method}, dem,
                  [&] { pointsRead = readCheckpointFile(o.files[1], wkt, o.points, points, error); }))
        return false;
    if (!pointsRead)
        run.err << "ERROR: " << error << std::endl;
    else if (wkt.empty() && !o.points.pointsCrs.empty())
        run.messages.notice("The DEM names no coordinate system, so --points-crs " + o.points.pointsCrs +
                            " cannot move the points: they are taken in the DEM's coordinates as they are");
    return pointsRead;
}

int checkpointMetrics(const CliRun& run, const AccuracyOptions& o)
{
    Pair p;
    std::vector<Checkpoint> points;
    if (!readDemAndCheckpoints(run, o, p, points))
        return EXIT_MISMATCH;
    const CheckpointAssessment a =
        assessCheckpoints(p.demView(), p.dem.header, p.spacing(), points, o.bounds, o.points.classes);
    if (refuseWithoutPoints(run, o, a) || !writeResidualsIfAsked(run, o.points, points, a, p.dem.header))
        return EXIT_MISMATCH;
    if (!o.json) {
        run.out << checkpointText(a, o.points.classes);
        return 0;
    }
    Json out = inputsJson(o.files[0], o.files[1]);
    addCheckpoints(out, a);
    run.out << jsonText(out);
    return 0;
}

int checkpointCoregistration(const CliRun& run, const AccuracyOptions& o)
{
    Pair p;
    std::vector<Checkpoint> points;
    if (!readDemAndCheckpoints(run, o, p, points))
        return EXIT_MISMATCH;
    const CheckpointAssessment before =
        assessCheckpoints(p.demView(), p.dem.header, p.spacing(), points, o.bounds, o.points.classes);
    if (refuseWithoutPoints(run, o, before))
        return EXIT_MISMATCH;
    const PointCoregistration pc =
        coregisterPoints(p.demView(), p.dem.header, p.spacing(), points, o.bounds, o.points.classes);
    const Coregistration& c = pc.shift;
    if (!c.ok) {
        run.err << "Cannot co-register the DEM to the checkpoints: " << c.why << std::endl;
        return EXIT_MISMATCH;
    }
    // The surveyed points with their differences after the shift.
    if (!writeResidualsIfAsked(run, o.points, points, pc.after, p.dem.header))
        return EXIT_MISMATCH;
    if (o.json) {
        Json out = inputsJson(o.files[0], o.files[1]);
        addShift(out, c);
        addCheckpoints(out["before"], before);
        addCheckpoints(out["after"], pc.after);
        run.out << jsonText(out);
        return 0;
    }
    const char* unit = p.spacing().geographic ? " m" : " map units";
    run.out << "shift east:  " << fixed3(c.shiftEast) << " cells (" << fixed3(c.shiftEastMetres) << unit
            << ")\nshift north: " << fixed3(c.shiftNorth) << " cells (" << fixed3(c.shiftNorthMetres) << unit
            << ")\nbias:        " << fixed3(c.bias) << "\niterations:  " << c.iterations
            << (c.converged ? "" : " (not converged: the last step moved 0.01 cell or more)")
            << "\nimproved:    " << pointImprovementText(c) << "\n\nbefore:\n"
            << checkpointText(before, o.points.classes)
            << (c.improved ? "\nafter (the checkpoints moved back by the shift):\n"
                           : "\nafter (the checkpoints as they were):\n")
            << checkpointText(pc.after, o.points.classes);
    return 0;
}

} // namespace orolith::ui

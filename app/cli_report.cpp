#include "app/cli_report.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <thread>

#include "app/accuracyoptions.h"
#include "app/cli.h"
#include "app/cli_points.h"
#include "app/cli_stable.h"
#include "app/optionvalue.h"
#include "app/slopebounds.h"
#include "dialogs/names.h"
#include "model/metrics.h"
#ifdef OROLITH_HAVE_REPORT
#include "app/cli_load.h"
#include "model/checkpointtext.h"
#include "model/coregister.h"
#include "model/pointcoregister.h"
#include "report/accuracydocument.h"
#include "report/reportfile.h"
#endif

namespace orolith::ui {

namespace {

struct ReportOptions {
    std::string output;
    bool coregister = false;
    AccuracyOptions accuracy;
};

// OUT first, then the DEM and the comparison, options anywhere. Empty on
// success, else the usage error.
std::string parseReportOptions(const std::vector<const char*>& args, ReportOptions& o)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        std::string error;
        if (arg == "--coregister") {
            o.coregister = true;
        } else if (takeAccuracyOption(args, i, o.accuracy, error)) {
            if (!error.empty())
                return error;
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for --accuracy-report";
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3)
        return "--accuracy-report takes the report's file (OUT.html or OUT.pdf), a DEM and a comparison grid or "
               "point file";
    o.output = positional[0];
#ifdef OROLITH_HAVE_REPORT
    ReportFormat format;
    if (!reportFormatOf(o.output, format))
        return "the report's file must end in .html or .pdf, not \"" + o.output + "\"";
#endif
    o.accuracy.files.assign(positional.begin() + 1, positional.end());
    return accuracyOptionsConflict(o.accuracy, "--accuracy-report");
}

#ifdef OROLITH_HAVE_REPORT
// The DEM with its checkpoints, and the co-registration to them when
// asked. False after the message.
// `residuals`, when asked for, writes them once the report is whole.
bool collectCheckpoints(const CliRun& run, const ReportOptions& o, AccuracyDocument& doc,
                        std::function<bool()>& residuals)
{
    const AccuracyOptions& a = o.accuracy;
    LoadRequest load;
    load.demPath = a.files[0];
    load.options.geographic = a.geographic;
    std::optional<DataSet> dataSet = loadForMode(run, load);
    std::vector<Checkpoint> points;
    std::string error;
    if (!dataSet)
        return false;
    if (!readCheckpointFile(a.files[1], dataSet->header().projection, a.points, points, error)) {
        run.err << "ERROR: " << error << std::endl;
        return false;
    }
    dataSet->setCheckpoints(points, a.files[1], a.points.classes, a.bounds);
    const CheckpointAssessment& assessment = dataSet->checkpointAssessment();
    if (assessment.report.all.count == 0) {
        run.err << "ERROR: " << noCheckpointOnDemText(assessment) << std::endl;
        return false;
    }
    ReportRequest request;
    request.version = OROLITH_VERSION;
    request.slopeBounds = a.bounds;
    doc = collectDocument(*dataSet, request);
    if (o.coregister) {
        const PointCoregistration pc = coregisterPoints(dataSet->demView(), dataSet->header(), dataSet->spacing(),
                                                        points, a.bounds, a.points.classes);
        if (!pc.shift.ok) {
            run.err << "Cannot co-register the DEM to the checkpoints: " << pc.shift.why << std::endl;
            return false;
        }
        addPointCoregistration(doc, *dataSet, pc, request);
        residuals = [&run, &a, points, after = pc.after, header = dataSet->header()] {
            return writeResidualsIfAsked(run, a.points, points, after, header);
        };
        return true;
    }
    residuals = [&run, &a, points, assessment, header = dataSet->header()] {
        return writeResidualsIfAsked(run, a.points, points, assessment, header);
    };
    return true;
}

// The pair on its stable terrain, and the co-registration when asked.
// False after the message.
bool collectGrids(const CliRun& run, const ReportOptions& o, AccuracyDocument& doc)
{
    const AccuracyOptions& a = o.accuracy;
    LoadRequest load;
    load.demPath = a.files[0];
    load.comparisonPath = a.files[1];
    load.options.kind = a.kind;
    load.options.geographic = a.geographic;
    load.options.align = a.align;
    load.options.method = a.method;
    std::optional<DataSet> dataSet = loadForMode(run, load);
    if (!dataSet)
        return false;
    if (a.stable.any()) {
        StableTerrainRules rules;
        std::string why;
        if (!stableRulesFor(run, a.stable, dataSet->header(), rules))
            return false;
        if (!dataSet->setStableTerrain(rules, why)) {
            run.err << "ERROR: " << why << std::endl;
            return false;
        }
    }
    ReportRequest request;
    request.version = OROLITH_VERSION;
    request.slopeBounds = a.bounds;
    // The co-registration runs beside the figures before the shift: both
    // only read the data set.
    std::optional<Coregistration> shift;
    std::thread fits;
    if (o.coregister)
        fits = std::thread([&] {
            shift =
                coregister(dataSet->demView(), dataSet->comparisonView(), dataSet->stableMask(), dataSet->spacing());
        });
    doc = collectDocument(*dataSet, request);
    if (fits.joinable())
        fits.join();
    if (shift) {
        if (!shift->ok) {
            run.err << "Cannot co-register the grids: " << shift->why << std::endl;
            return false;
        }
        addCoregistration(doc, *dataSet, *shift, request);
    }
    return true;
}
#endif

} // namespace

int accuracyReportMode(const CliRun& run, const std::vector<const char*>& args)
{
#ifdef OROLITH_HAVE_REPORT
    const auto start = std::chrono::steady_clock::now();
#endif
    ReportOptions o;
    const std::string why = parseReportOptions(args, o);
    if (!why.empty())
        return usageError(run, why);
#ifdef OROLITH_HAVE_REPORT
    AccuracyDocument doc;
    std::function<bool()> residuals;
    const bool collected =
        o.accuracy.withPoints() ? collectCheckpoints(run, o, doc, residuals) : collectGrids(run, o, doc);
    if (!collected)
        return EXIT_MISMATCH;
    stampDocument(doc, start);
    std::string error;
    if (!writeAccuracyReport(doc, o.output, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    run.err << "Wrote " << o.output << " and " << jsonPathBeside(o.output) << std::endl;
    return !residuals || residuals() ? 0 : EXIT_MISMATCH;
#else
    run.err << "ERROR: this build of Orolith has no viewer, so --accuracy-report cannot draw (build it with the viewer)"
            << std::endl;
    return EXIT_MISMATCH;
#endif
}

} // namespace orolith::ui

#include "app/cli_report.h"

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

#include "app/cli.h"
#include "app/optionvalue.h"
#include "app/slopebounds.h"
#include "dialogs/names.h"
#include "model/metrics.h"
#ifdef OROLITH_HAVE_REPORT
#include "app/cli_load.h"
#include "model/coregister.h"
#include "report/accuracydocument.h"
#include "report/reportfile.h"
#endif

namespace orolith::ui {

namespace {

struct ReportOptions {
    std::string output;
    bool coregister = false;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    ComparisonKind kind = ComparisonKind::dem;
    std::vector<double> bounds = defaultSlopeBounds();
    std::vector<std::string> files;
};

// OUT first, then the DEM and the comparison, options anywhere. Empty on
// success, else the usage error.
std::string parseReportOptions(const std::vector<const char*>& args, ReportOptions& o)
{
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        std::string value;
        if (arg == "--coregister") {
            o.coregister = true;
        } else if (arg == "--geographic") {
            o.geographic = true;
        } else if (alignOption(args, i, o.align, o.method, value)) {
            if (!value.empty())
                return value;
        } else if (isNamedOption(arg, "--kind") || isNamedOption(arg, "--slope-classes")) {
            const bool kind = isNamedOption(arg, "--kind");
            if (!optionValue(args, i, value))
                return arg + " needs a value";
            if (kind && !comparisonKindNamed(value, o.kind))
                return "--kind is dem, sparse or contour, not \"" + value + "\"";
            if (!kind) {
                std::string why = parseSlopeBounds(value, o.bounds);
                if (!why.empty())
                    return why;
            }
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for --accuracy-report";
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() != 3)
        return "--accuracy-report takes the report's file (OUT.html or OUT.pdf), a DEM and a comparison grid";
    o.output = positional[0];
#ifdef OROLITH_HAVE_REPORT
    ReportFormat format;
    if (!reportFormatOf(o.output, format))
        return "the report's file must end in .html or .pdf, not \"" + o.output + "\"";
#endif
    o.files.assign(positional.begin() + 1, positional.end());
    return "";
}

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
    LoadRequest load;
    load.demPath = o.files[0];
    load.comparisonPath = o.files[1];
    load.options.kind = o.kind;
    load.options.geographic = o.geographic;
    load.options.align = o.align;
    load.options.method = o.method;
    std::optional<DataSet> dataSet = loadForMode(run, load);
    if (!dataSet)
        return EXIT_MISMATCH;
    ReportRequest request;
    request.version = OROLITH_VERSION;
    request.slopeBounds = o.bounds;
    // The co-registration runs beside the figures before the shift: both
    // only read the data set.
    std::optional<Coregistration> shift;
    std::thread fits;
    if (o.coregister)
        fits =
            std::thread([&] { shift = coregister(dataSet->demView(), dataSet->comparisonView(), dataSet->spacing()); });
    AccuracyDocument doc = collectDocument(*dataSet, request);
    if (fits.joinable())
        fits.join();
    if (shift) {
        if (!shift->ok) {
            run.err << "Cannot co-register the grids: " << shift->why << std::endl;
            return EXIT_MISMATCH;
        }
        addCoregistration(doc, *dataSet, *shift, request);
    }
    stampDocument(doc, start);
    std::string error;
    if (!writeAccuracyReport(doc, o.output, error)) {
        run.err << "ERROR: " << error << std::endl;
        return EXIT_MISMATCH;
    }
    run.err << "Wrote " << o.output << " and " << jsonPathBeside(o.output) << std::endl;
    return 0;
#else
    run.err << "ERROR: this build of Orolith has no viewer, so --accuracy-report cannot draw (build it with the viewer)"
            << std::endl;
    return EXIT_MISMATCH;
#endif
}

} // namespace orolith::ui

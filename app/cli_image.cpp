#include "app/cli_image.h"

#include <ostream>
#include <string>

#include "app/cli.h"
#include "app/imageoptions.h"
#ifdef OROLITH_HAVE_OFFSCREEN
#include "app/cli_load.h"
#include "render/pngfile.h"
#include "render/viewimage.h"
#include "render/viewstate.h"
#endif
#include "dialogs/names.h"

namespace orolith::ui {

namespace {

#ifdef OROLITH_HAVE_OFFSCREEN
// The view a freshly opened data set gets (from straight above at the
// start distance, lit, nothing but the surface shown) is a ViewState as it
// starts; only the scheme's flags and the legend change.
ViewState viewOfScheme(const SchemeFlags& f, bool legend)
{
    ViewState view;
    view.showLegend = legend;
    view.drawColors = f.drawColors;
    view.colorSlope = f.colorSlope;
    view.drawCurveColor = f.drawCurveColor;
    view.drawDiffColor = f.drawDiffColor;
    view.drawCurveDiff = f.drawCurveDiff;
    view.colorHeightClasses = f.colorHeightClasses;
    return view;
}

// The load classified the data set in the view's units already; height
// classes are computed on demand, as the viewer's switch computes them,
// and listed on standard error. False (the model said why) without a
// contour interval.
bool classifyForScheme(DataSet& dataSet, const ViewState& view, const CliRun& run)
{
    return !view.colorHeightClasses || listHeightClasses(dataSet, run.err, run.messages);
}
#endif

} // namespace

int imageMode(const CliRun& run, const std::vector<const char*>& args)
{
    ImageRequest request;
    std::string message;
    if (!parseImageArgs(args, request, message))
        return usageError(run, message);
#ifdef OROLITH_HAVE_OFFSCREEN
    LoadRequest load;
    load.demPath = request.dem;
    load.comparisonPath = request.comparison;
    load.options.kind = request.kind;
    load.options.geographic = request.geographic;
    load.options.align = request.align;
    load.options.method = request.method;
    std::optional<DataSet> dataSet = loadForMode(run, load);
    if (!dataSet)
        return EXIT_MISMATCH;
    const ViewState view = viewOfScheme(request.scheme->flags, request.legend);
    if (!classifyForScheme(*dataSet, view, run))
        return EXIT_MISMATCH;
    std::vector<unsigned char> rgb;
    if (!renderViewImage(*dataSet, view, request.width, request.height, rgb, message)) {
        run.err << "ERROR: cannot draw the picture off screen: " << message << std::endl;
        return EXIT_MISMATCH;
    }
    if (!writePng(request.output, request.width, request.height, rgb, message)) {
        run.err << "ERROR: " << message << std::endl;
        return EXIT_MISMATCH;
    }
    return 0;
#else
    run.err << "ERROR: this build of Orolith has no viewer, so --image cannot draw (build it with the viewer)"
            << std::endl;
    return EXIT_MISMATCH;
#endif
}

} // namespace orolith::ui

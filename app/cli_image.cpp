#include "app/cli_image.h"

#include <iostream>
#include <string>

#include "app/cli.h"
#include "app/imageoptions.h"
#include "model/loading.h"
#include "model/mountain.h"
#ifdef OROLITH_HAVE_OFFSCREEN
#include "render/pngfile.h"
#include "render/viewimage.h"
#include "render/viewstate.h"
#endif

namespace {

#ifdef OROLITH_HAVE_OFFSCREEN
// The view a freshly opened data set gets (from straight above at the
// start distance, lit, nothing but the surface shown) is what the view-state
// globals hold at start; only the scheme's flags change, and their classes
// are computed as the viewer's switches compute them.
bool applyScheme(const SchemeFlags& f)
{
    drawColors = f.drawColors;
    colorSlope = f.colorSlope;
    drawCurveColor = f.drawCurveColor;
    drawDiffColor = f.drawDiffColor;
    drawCurveDiff = f.drawCurveDiff;
    colorHeightClasses = f.colorHeightClasses;
    if (f.drawCurveColor)
        mt.compute_curve_color();
    if (f.drawDiffColor)
        mt.compute_elev_diff_color();
    if (f.drawCurveDiff)
        mt.compute_curve_diff_color();
    // Without a contour interval there are no classes to show; the model
    // says why.
    return !f.colorHeightClasses || mt.computeHeightClasses();
}
#endif

} // namespace

int imageMode(const std::vector<const char*>& args)
{
    ImageRequest request;
    std::string message;
    if (!parseImageArgs(args, request, message)) {
        return usageError(message);
    }
#ifdef OROLITH_HAVE_OFFSCREEN
    LoadOptions options;
    options.kind = request.kind;
    options.geographic = request.geographic;
    options.align = request.align;
    options.method = request.method;
    LoadStatus s = loadDataSet(request.dem, request.comparison, 1, options);
    if (s.result == LoadResult::failed)
        error(s.error); // ends the program
    if (s.result == LoadResult::mismatch) {
        std::cerr << s.error.text() << std::endl;
        return EXIT_MISMATCH;
    }
    for (const std::string& note : s.notes)
        std::cerr << note << std::endl;
    if (!applyScheme(request.scheme->flags))
        return EXIT_MISMATCH;
    std::vector<unsigned char> rgb;
    if (!renderViewImage(request.width, request.height, rgb, message)) {
        std::cerr << "ERROR: cannot draw the picture off screen: " << message << std::endl;
        return EXIT_MISMATCH;
    }
    if (!writePng(request.output, request.width, request.height, rgb, message)) {
        std::cerr << "ERROR: " << message << std::endl;
        return EXIT_MISMATCH;
    }
    return 0;
#else
    std::cerr << "ERROR: this build of Orolith has no viewer, so --image cannot draw (build it with the viewer)"
              << std::endl;
    return EXIT_MISMATCH;
#endif
}

// What `orolith --image` was asked for: the file, the colour scheme, the
// picture's size and the grids. Plain decisions, no GL: cli_image acts on
// them.
#ifndef OROLITH_APP_IMAGEOPTIONS_H
#define OROLITH_APP_IMAGEOPTIONS_H

#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/align.h"
#include "model/gridview.h"

namespace orolith::ui {

// The view flags a scheme switches on, as the viewer's own switches do;
// every other colour flag stays off. The flags that show analysis classes
// also say which classes are computed first.
struct SchemeFlags {
    bool drawColors = false;
    bool colorSlope = false;
    bool drawCurveColor = false;
    bool drawDiffColor = false;
    bool drawCurveDiff = false;
    bool colorHeightClasses = false;
};

struct ImageScheme {
    const char* name;
    SchemeFlags flags;
    bool needsComparison;
};

// The scheme of that name, or null.
const ImageScheme* imageSchemeNamed(const std::string& name);

// The schemes' names, "base|ramp|...", for the usage text and messages.
std::string imageSchemeNames();

constexpr int IMAGE_MAX_SIDE = 8192;

struct ImageRequest {
    std::string output;
    const ImageScheme* scheme = nullptr;
    int width = 0, height = 0;
    std::string dem, comparison;
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    // The scheme's legend in the picture's corner; off, so that pictures
    // made before the legend existed stay as they were.
    bool legend = false;
};

// Reads the arguments after --image:
//   OUT.png [--scheme S] [--size W H] [--legend] [--kind K] [--align [M]] [--geographic] DEM [COMPARISON]
// with the options anywhere after OUT.png. False, with a message for the
// user, when they do not make a request: the caller reports a usage error.
bool parseImageArgs(const std::vector<const char*>& args, ImageRequest& request, std::string& error);

} // namespace orolith::ui

#endif

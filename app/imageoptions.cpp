#include "app/imageoptions.h"
#include "app/optionvalue.h"

#include <cctype>

#include "dialogs/names.h"
#include "model/tokens.h"
#include "render/viewstate.h"

namespace orolith::ui {

namespace {

// The viewer's own switches: the ramp (Colors), slope and aspect
// (slopeVis), the curvature classes (cerr), the elevation and curvature
// difference classes (lerr, curverr) and the height classes (heights).
const ImageScheme SCHEMES[] = {
    {"base", {}, false},
    {"ramp", {true, false, false, false, false, false}, false},
    {"aspect", {false, true, false, false, false, false}, false},
    {"curvature", {false, false, true, false, false, false}, false},
    {"elevdiff", {false, false, false, true, false, false}, true},
    {"curvediff", {false, false, false, false, true, false}, true},
    {"heights", {false, false, false, false, false, true}, true},
};

bool endsWithPng(const std::string& path)
{
    if (path.size() < 5)
        return false; // a name before the suffix
    std::string tail = path.substr(path.size() - 4);
    for (char& c : tail)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail == ".png";
}

bool side(const char* text, int& value) { return parseInt(text, value) && value >= 1 && value <= IMAGE_MAX_SIDE; }

} // namespace

const ImageScheme* imageSchemeNamed(const std::string& name)
{
    for (const ImageScheme& s : SCHEMES)
        if (name == s.name)
            return &s;
    return nullptr;
}

std::string imageSchemeNames()
{
    std::string names;
    for (const ImageScheme& s : SCHEMES)
        names += (names.empty() ? "" : "|") + std::string(s.name);
    return names;
}

bool parseImageArgs(const std::vector<const char*>& args, ImageRequest& request, std::string& error)
{
    request = ImageRequest{};
    request.scheme = imageSchemeNamed("base");
    request.width = request.height = MAX; // the viewer's viewport
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string arg = args[i];
        if (isNamedOption(arg, "--scheme")) {
            std::string name;
            if (!optionValue(args, i, name)) {
                error = "--scheme needs one of " + imageSchemeNames();
                return false;
            }
            request.scheme = imageSchemeNamed(name);
            if (!request.scheme) {
                error = "--scheme must be one of " + imageSchemeNames() + ", not \"" + name + "\"";
                return false;
            }
        } else if (arg == "--size") {
            if (i + 2 >= args.size() || !side(args[i + 1], request.width) || !side(args[i + 2], request.height)) {
                error = "--size takes a width and a height in pixels, each from 1 to " + std::to_string(IMAGE_MAX_SIDE);
                return false;
            }
            i += 2;
        } else if (alignOption(args, i, request.align, request.method, error)) {
            if (!error.empty())
                return false;
        } else if (isNamedOption(arg, "--kind")) {
            std::string name;
            if (!optionValue(args, i, name) || !comparisonKindNamed(name, request.kind)) {
                error = "--kind is dem, sparse or contour, not \"" + name + "\"";
                return false;
            }
        } else if (arg == "--geographic") {
            request.geographic = true;
        } else if (arg == "--legend") {
            request.legend = true;
        } else if (isOption(arg.c_str())) {
            error = "unknown option " + arg + " for --image";
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() < 2 || files.size() > 3) {
        error = "--image takes the PNG file to write, a DEM and at most one comparison grid";
        return false;
    }
    if (!endsWithPng(files[0])) {
        error = "the output of --image is a PNG file, ending in .png, not \"" + files[0] + "\"";
        return false;
    }
    request.output = files[0];
    request.dem = files[1];
    request.comparison = files.size() == 3 ? files[2] : std::string();
    if (request.scheme->needsComparison && request.comparison.empty()) {
        error = std::string("the ") + request.scheme->name + " scheme needs a comparison grid";
        return false;
    }
    return true;
}

} // namespace orolith::ui

#include "app/cli_metrics.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>
#include <string>

#include "app/cli.h"
#include "app/clipair.h"
#include "app/optionvalue.h"
#include "dialogs/names.h"
#include "model/coregister.h"
#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/loadnotes.h"
#include "model/metrics.h"
#include "model/pairing.h"

namespace orolith::ui {

namespace {

struct Options {
    bool json = false;
    std::vector<double> bounds = defaultSlopeBounds();
    ComparisonKind kind = ComparisonKind::dem;
    bool geographic = false;
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    std::vector<std::string> files;
};

bool parseNumber(const std::string& text, double& v)
{
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    return ec == std::errc() && ptr == end && std::isfinite(v);
}

// "0,5,10,25,45": the classes' lower bounds in degrees, ascending; a last
// bound of 90 only closes the last class. Empty on success, else why not.
std::string parseSlopeBounds(const std::string& text, std::vector<double>& bounds)
{
    bounds.clear();
    std::size_t begin = 0;
    for (;;) {
        std::size_t comma = text.find(',', begin);
        std::string item = text.substr(begin, comma == std::string::npos ? std::string::npos : comma - begin);
        double v;
        if (!parseNumber(item, v) || v < 0 || v > 90)
            return "--slope-classes takes degrees from 0 to 90 separated by commas, not \"" + item + "\"";
        if (!bounds.empty() && !(v > bounds.back()))
            return "--slope-classes needs ascending bounds";
        bounds.push_back(v);
        if (comma == std::string::npos)
            break;
        begin = comma + 1;
    }
    if (bounds.back() == 90)
        bounds.pop_back();
    if (bounds.empty())
        return "--slope-classes needs a bound below 90";
    if (bounds.size() > 90)
        return "--slope-classes takes at most 90 classes";
    return "";
}

// The options of both modes, then exactly a DEM and a comparison grid.
// Empty on success, else the usage error.
std::string parseOptions(const std::vector<const char*>& args, const std::string& mode, Options& o)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i], value;
        bool format = isNamedOption(arg, "--format");
        bool classes = isNamedOption(arg, "--slope-classes");
        bool kind = isNamedOption(arg, "--kind");
        if (arg == "--geographic") {
            o.geographic = true;
        } else if (alignOption(args, i, o.align, o.method, value)) {
            if (!value.empty())
                return value;
        } else if (format || classes || kind) {
            if (!optionValue(args, i, value))
                return arg + " needs a value";
            if (format) {
                if (value != "json" && value != "text")
                    return "--format is json or text, not \"" + value + "\"";
                o.json = value == "json";
            } else if (kind) {
                if (!comparisonKindNamed(value, o.kind))
                    return "--kind is dem, sparse or contour, not \"" + value + "\"";
            } else {
                std::string why = parseSlopeBounds(value, o.bounds);
                if (!why.empty())
                    return why;
            }
        } else if (isOption(arg.c_str())) {
            return "unknown option " + arg + " for " + mode;
        } else {
            o.files.push_back(arg);
        }
    }
    if (o.files.size() != 2)
        return mode + " takes a DEM and a comparison grid";
    return "";
}

AccuracyReport reportOf(const Pair& p, const GridView& comp, const Options& o)
{
    return accuracyReport(p.demView(), comp, p.spacing(), o.bounds);
}

// Three decimals, without the sign of a value that rounds to 0.
std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// --- JSON --------------------------------------------------------------------

// The shortest text that reads back as the same double.
std::string number(double v)
{
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    return ec == std::errc() ? std::string(buf, end) : "null";
}

std::string figuresJson(const AccuracyFigures& f)
{
    std::string out = "\"count\": " + std::to_string(f.count);
    const std::pair<const char*, double> values[] = {{"mean", f.mean}, {"std", f.std},   {"rmse", f.rmse},
                                                     {"min", f.min},   {"max", f.max},   {"median", f.median},
                                                     {"nmad", f.nmad}, {"le90", f.le90}, {"le95", f.le95}};
    for (const auto& [name, v] : values)
        out += std::string(", \"") + name + "\": " + (f.count ? number(v) : "null");
    return out;
}

// {"all": M, "slope_classes": [...]}, its lines indented by `indent`.
// A JSON string: quotes, backslashes and control characters escaped.
std::string quotedJson(const std::string& text)
{
    std::string out = "\"";
    for (char ch : text) {
        if (ch == '"' || ch == '\\') {
            out += '\\';
            out += ch;
        } else if (static_cast<unsigned char>(ch) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", ch);
            out += buf;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

// "alignment": how the comparison came onto the DEM's grid, when it was
// resampled; nothing otherwise. Ends with a comma and a line break.
std::string alignmentJson(const Alignment& a, const std::string& indent)
{
    if (!a.aligned && a.heightUnit.empty())
        return "";
    return indent + "\"alignment\": {\"aligned\": " + (a.aligned ? "true" : "false") +
           ", \"method\": " + quotedJson(alignMethodName(a.method)) + ", \"source_crs\": " + quotedJson(a.sourceCrs) +
           ", \"coverage\": " + number(a.coverage) + ", \"heights_converted\": " + quotedJson(a.heightUnit) + "},\n";
}

std::string reportJson(const AccuracyReport& r, const std::string& indent, const std::string& before = "")
{
    std::string out =
        "{\n" + before + indent + "  \"all\": {" + figuresJson(r.all) + "},\n" + indent + "  \"slope_classes\": [";
    for (std::size_t k = 0; k < r.classes.size(); ++k)
        out += std::string(k ? "," : "") + "\n" + indent + "    {\"from\": " + number(r.classes[k].from) +
               ", \"to\": " + number(r.classes[k].to) + ", " + figuresJson(r.classes[k].figures) + "}";
    return out + "\n" + indent + "  ]\n" + indent + "}";
}

} // namespace

int metricsMode(const CliRun& run, const std::vector<const char*>& args)
{
    Options o;
    std::string why = parseOptions(args, "--metrics", o);
    if (!why.empty())
        return usageError(run, why);
    Pair p;
    if (!readPair(run, o.files[0], o.files[1], {o.kind, o.geographic, o.align, o.method}, p))
        return EXIT_MISMATCH;
    AccuracyReport report = reportOf(p, p.compView(), o);
    run.out << (o.json ? reportJson(report, "", alignmentJson(p.comp.alignment, "  ")) + "\n" : accuracyTable(report));
    return 0;
}

int coregisterMode(const CliRun& run, const std::vector<const char*>& args)
{
    Options o;
    std::string why = parseOptions(args, "--coregister", o);
    if (!why.empty())
        return usageError(run, why);
    Pair p;
    if (!readPair(run, o.files[0], o.files[1], {o.kind, o.geographic, o.align, o.method}, p))
        return EXIT_MISMATCH;
    const GroundSpacing spacing = p.spacing();
    Coregistration c = coregister(p.demView(), p.compView(), spacing);
    if (!c.ok) {
        run.err << "Cannot co-register the grids: " << c.why << std::endl;
        return EXIT_MISMATCH;
    }
    AccuracyReport before = reportOf(p, p.compView(), o);
    AccuracyReport after = reportOf(p, c.shifted.view(p.dem.header.rows, p.dem.header.cols), o);
    if (o.json) {
        run.out << "{\n"
                << alignmentJson(p.comp.alignment, "  ") << "  \"shift_east\": " << number(c.shiftEast)
                << ",\n  \"shift_north\": " << number(c.shiftNorth)
                << ",\n  \"shift_east_metres\": " << number(c.shiftEastMetres)
                << ",\n  \"shift_north_metres\": " << number(c.shiftNorthMetres) << ",\n  \"bias\": " << number(c.bias)
                << ",\n  \"iterations\": " << c.iterations << ",\n  \"converged\": " << (c.converged ? "true" : "false")
                << ",\n  \"improved\": " << (c.improved ? "true" : "false")
                << ",\n  \"nmad_before\": " << number(c.nmadBefore) << ",\n  \"nmad_after\": " << number(c.nmadAfter)
                << ",\n  \"before\": " << reportJson(before, "  ") << ",\n  \"after\": " << reportJson(after, "  ")
                << "\n}\n";
        return 0;
    }
    const char* unit = spacing.geographic ? " m" : " map units";
    run.out << "shift east:  " << fixed3(c.shiftEast) << " cells (" << fixed3(c.shiftEastMetres) << unit
            << ")\nshift north: " << fixed3(c.shiftNorth) << " cells (" << fixed3(c.shiftNorthMetres) << unit
            << ")\nbias:        " << fixed3(c.bias) << "\niterations:  " << c.iterations
            << (c.converged ? "" : " (not converged: the last step moved 0.01 cell or more)")
            << "\nimproved:    " << improvementText(c) << "\n\nbefore:\n"
            << accuracyTable(before)
            << (c.improved ? "\nafter (the comparison grid moved back by the shift):\n"
                           : "\nafter (the comparison grid as it was):\n")
            << accuracyTable(after);
    return 0;
}

} // namespace orolith::ui

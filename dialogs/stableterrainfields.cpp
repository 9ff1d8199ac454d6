#include "dialogs/stableterrainfields.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace orolith::ui {

namespace {

std::string trimmed(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// A number typed whole; false for anything else ("12 deg", "nan", "").
bool numberOf(const std::string& text, double& v)
{
    if (text.empty())
        return false;
    errno = 0;
    char* end = nullptr;
    v = std::strtod(text.c_str(), &end);
    return errno == 0 && end == text.c_str() + text.size() && std::isfinite(v);
}

// An optional number of degrees from 0 to 90; empty on success.
std::string slopeOf(const std::string& typed, const char* name, std::optional<double>& out)
{
    const std::string t = trimmed(typed);
    out.reset();
    if (t.empty())
        return "";
    double v = 0;
    if (!numberOf(t, v) || v < 0 || v > 90)
        return std::string("The ") + name + " \"" + t + "\" is not a number of degrees from 0 to 90.";
    out = v;
    return "";
}

std::string shortNumber(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

} // namespace

std::string stableTerrainChoiceOf(const StableTerrainFields& fields, StableTerrainChoice& choice)
{
    StableTerrainChoice c;
    c.mask.path = trimmed(fields.maskPath);
    c.mask.keepInside = fields.keepInside;
    c.rules.maskName = c.mask.path;
    if (std::string why = slopeOf(fields.minSlope, "minimum slope", c.rules.minSlope); !why.empty())
        return why;
    if (std::string why = slopeOf(fields.maxSlope, "maximum slope", c.rules.maxSlope); !why.empty())
        return why;
    if (c.rules.minSlope && c.rules.maxSlope && *c.rules.minSlope > *c.rules.maxSlope)
        return "The minimum slope (" + shortNumber(*c.rules.minSlope) + " degrees) is above the maximum slope (" +
               shortNumber(*c.rules.maxSlope) + " degrees).";
    const std::string k = trimmed(fields.outliers);
    if (!k.empty()) {
        double v = 0;
        if (!numberOf(k, v) || v <= 0)
            return "The outlier limit \"" + k + "\" is not a number of NMADs above 0.";
        c.rules.outlierNmads = v;
    }
    if (c.mask.path.empty() && !c.rules.minSlope && !c.rules.maxSlope && !c.rules.outlierNmads)
        return "No rule to apply: name a mask file, or give a slope or an outlier limit.";
    choice = std::move(c);
    return "";
}

StableTerrainFields fieldsOf(const StableTerrainChoice& choice)
{
    StableTerrainFields f;
    f.maskPath = choice.mask.path;
    f.keepInside = choice.mask.keepInside;
    auto text = [](const std::optional<double>& v) { return v ? shortNumber(*v) : std::string(); };
    f.minSlope = text(choice.rules.minSlope);
    f.maxSlope = text(choice.rules.maxSlope);
    f.outliers = text(choice.rules.outlierNmads);
    return f;
}

std::string stableTerrainCountsText(const StableTerrainRules& rules, const StableTerrainCounts& counts)
{
    std::string text = "Present in both grids: " + std::to_string(counts.paired) + "\n";
    for (const StableTerrainLine& line : stableTerrainLines(rules, counts))
        text += line.rule + ": " + std::to_string(line.removed) + " removed\n";
    return text + "Kept as stable: " + std::to_string(counts.kept);
}

std::string noStableTerrainText() { return "No rule in force: every point present in both grids is used."; }

} // namespace orolith::ui

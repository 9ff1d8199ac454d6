#include "report/reporttext.h"

#include "report/names.h"

#include <cstdio>

namespace orolith::report {

namespace {

// Three decimals, without the sign of a value that rounds to 0.
std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// A shift in cells and in ground units, the numbers' points in one column.
std::string shiftLine(const char* name, double cells, double ground, const char* unit)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%-13s%8s cells, %s %s\n", name, fixed3(cells).c_str(), fixed3(ground).c_str(),
                  unit);
    return buf;
}

} // namespace

std::string statisticsWindowText(const std::string& report, const std::string& accuracyTable,
                                 const std::string& alignment)
{
    if (accuracyTable.empty())
        return report;
    std::string text = report;
    // The comparison report ends on its RMSE line, without a line break.
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    if (!alignment.empty())
        text += "\nThe comparison grid: " + alignment + ".\n";
    return text + "\nAccuracy against the comparison grid (DEM minus comparison, where both have a height):\n" +
           accuracyTable;
}

std::string coregistrationText(const Coregistration& c, bool geographic, const std::string& before,
                               const std::string& after)
{
    // comparison(x, y) ~ DEM(x - east, y - north) + bias
    const char* unit = geographic ? "m" : "map units";
    std::string text = shiftLine("Shift east:", c.shiftEast, c.shiftEastMetres, unit);
    text += shiftLine("Shift north:", c.shiftNorth, c.shiftNorthMetres, unit);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%-13s%8s", "Bias:", fixed3(c.bias).c_str());
    text += std::string(buf) + " (comparison minus DEM, the median after the shift)\n";
    std::snprintf(buf, sizeof buf, "%-13s%8d", "Iterations:", c.iterations);
    text +=
        std::string(buf) + (c.converged ? ", converged\n" : ", not converged: the last step moved 0.01 cell or more\n");
    text += std::string("Improved:    ") + improvementText(c) + "\n";
    text += "\nBefore (DEM minus comparison, where both have a height):\n" + before;
    text += c.improved ? "\nAfter (DEM minus the comparison grid moved back by the shift):\n" + after
                       : "\nAfter (the comparison grid as it was):\n" + before;
    return text;
}

} // namespace orolith::report

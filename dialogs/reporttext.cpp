#include "dialogs/reporttext.h"

#include <cstdio>

namespace {

// Three decimals, without the sign of a value that rounds to 0.
std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

// A shift in cells and in map units, the numbers' points in one column.
std::string shiftLine(const char* name, double cells, double cellsize)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%-13s%8s cells, %s map units\n", name, fixed3(cells).c_str(),
                  fixed3(cells * cellsize).c_str());
    return buf;
}

} // namespace

std::string statisticsWindowText(const std::string& report, const std::string& accuracyTable)
{
    if (accuracyTable.empty())
        return report;
    std::string text = report;
    // The comparison report ends on its RMSE line, without a line break.
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text + "\nAccuracy against the comparison grid (DEM minus comparison, where the comparison is above 0):\n" +
           accuracyTable;
}

std::string coregistrationText(const Coregistration& c, double cellsize, const std::string& before,
                               const std::string& after)
{
    // comparison(x, y) ~ DEM(x - east, y - north) + bias
    std::string text = shiftLine("Shift east:", c.shiftEast, cellsize);
    text += shiftLine("Shift north:", c.shiftNorth, cellsize);
    char buf[64];
    std::snprintf(buf, sizeof buf, "%-13s%8s", "Bias:", fixed3(c.bias).c_str());
    text += std::string(buf) + " (comparison minus DEM, the median after the shift)\n";
    std::snprintf(buf, sizeof buf, "%-13s%8d", "Iterations:", c.iterations);
    text += std::string(buf) +
            (c.converged ? ", converged\n" : ", not converged: the last step moved 0.01 cell or more\n");
    text += "\nBefore (DEM minus comparison, where the comparison is above 0):\n" + before;
    text += "\nAfter (DEM minus the comparison grid moved back by the shift):\n" + after;
    return text;
}

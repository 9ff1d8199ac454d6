#include "model/asciiheader.h"

#include <charconv>

namespace orolith::model {

std::string exactNumber(double v)
{
    // Map coordinates read better without an exponent ("5100000", not
    // "5.1e+06"); only the very small and the very large keep one.
    const double size = v < 0 ? -v : v;
    const bool plain = v == 0 || (size >= 1e-5 && size < 1e15);
    char buffer[64];
    auto [end, ec] = plain ? std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed)
                           : std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc() ? std::string(buffer, end) : std::string("0");
}

std::string asciiHeader(int rows, int cols, double xll, double yll, double cellsizeX, double cellsizeY, bool withNodata,
                        double nodata)
{
    std::string text = "ncols " + std::to_string(cols) + "\nnrows " + std::to_string(rows) + "\nxllcorner " +
                       exactNumber(xll) + "\nyllcorner " + exactNumber(yll) + "\n";
    if (cellsizeX == cellsizeY)
        text += "cellsize " + exactNumber(cellsizeX) + "\n";
    else
        text += "dx " + exactNumber(cellsizeX) + "\ndy " + exactNumber(cellsizeY) + "\n";
    if (withNodata)
        text += "NODATA_value " + exactNumber(nodata) + "\n";
    return text;
}

} // namespace orolith::model

#include "model/asciiheader.h"

#include <cstdio>

std::string asciiHeader(int rows, int cols, double xll, double yll, double cellsize, bool withNodata, double nodata)
{
    char buffer[256];
    int n = std::snprintf(buffer, sizeof buffer, "ncols %d\nnrows %d\nxllcorner %.10g\nyllcorner %.10g\ncellsize %.10g\n",
                          cols, rows, xll, yll, cellsize);
    std::string text(buffer, static_cast<std::size_t>(n));
    if (withNodata) {
        n = std::snprintf(buffer, sizeof buffer, "NODATA_value %.10g\n", nodata);
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

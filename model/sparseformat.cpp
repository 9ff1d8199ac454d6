#include "model/sparseformat.h"

#include <cstdio>

namespace orolith::model {

std::string formatRaster(const std::vector<float>& raster, int rows, int cols)
{
    std::string text;
    text.reserve(raster.size() * 2);
    char buffer[32];
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            int len = std::snprintf(buffer, sizeof buffer, "%g ",
                                    static_cast<double>(raster[static_cast<std::size_t>(r) * cols + c]));
            text.append(buffer, len);
        }
        text += '\n';
    }
    return text;
}

std::size_t spotHeightCount(const std::vector<float>& raster)
{
    std::size_t n = 0;
    for (float v : raster)
        n += v > 0;
    return n;
}

} // namespace orolith::model

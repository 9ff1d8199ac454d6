#include "model/mosaicvrt.h"

#include <cstdio>

namespace orolith::model {

namespace {

std::string xmlEscaped(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

// Every digit a double holds: the corner must not move.
std::string exact(double v)
{
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string mosaicVrt(const GridHeader& g, float nodata, const std::vector<MosaicPart>& parts)
{
    const std::string cols = std::to_string(g.cols);
    std::string x = "<VRTDataset rasterXSize=\"" + cols + "\" rasterYSize=\"" + std::to_string(g.rows) + "\">\n";
    if (!g.projection.empty())
        x += "  <SRS>" + xmlEscaped(g.projection) + "</SRS>\n";
    x += "  <GeoTransform>" + exact(g.xllcorner) + ", " + exact(g.cellsizeX) + ", 0, " +
         exact(g.yllcorner + g.rows * g.cellsizeY) + ", 0, " + exact(-g.cellsizeY) + "</GeoTransform>\n";
    x += "  <VRTRasterBand dataType=\"Float32\" band=\"1\">\n";
    x += "    <NoDataValue>" + exact(nodata) + "</NoDataValue>\n";
    for (const MosaicPart& p : parts) {
        const std::string rows = std::to_string(p.rows);
        x += "    <SimpleSource>\n";
        x += "      <SourceFilename relativeToVRT=\"1\">" + xmlEscaped(baseName(p.file)) + "</SourceFilename>\n";
        x += "      <SourceBand>1</SourceBand>\n";
        x += "      <SrcRect xOff=\"0\" yOff=\"0\" xSize=\"" + cols + "\" ySize=\"" + rows + "\"/>\n";
        x += "      <DstRect xOff=\"0\" yOff=\"" + std::to_string(p.first) + "\" xSize=\"" + cols + "\" ySize=\"" +
             rows + "\"/>\n";
        x += "    </SimpleSource>\n";
    }
    x += "  </VRTRasterBand>\n</VRTDataset>\n";
    return x;
}

std::string mosaicPartPath(const std::string& vrtPath, int rank)
{
    return vrtPath.substr(0, vrtPath.size() - 4) + "_" + std::to_string(rank) + ".tif";
}

} // namespace orolith::model

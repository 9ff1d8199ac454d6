#include "render/profilecsv.h"

#include <charconv>

#include "render/modelaccess.h"

namespace {

void appendNumber(std::string& out, float v)
{
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v);
    if (ec == std::errc())
        out.append(buf, end);
}

} // namespace

std::string profileCsv(const float* dem, const float* comp, int cols, float cellsize, const SectionCells& cells)
{
    std::string out = "distance,dem,comparison\n";
    for (int k = 0; k < cells.count; ++k) {
        const std::size_t at = static_cast<std::size_t>(cells.row(k)) * cols + cells.col(k);
        appendNumber(out, static_cast<float>(static_cast<double>(cellsize) * k));
        out += ',';
        appendNumber(out, dem[at]);
        out += ',';
        if (comp && comp[at] > 0)
            appendNumber(out, comp[at]);
        out += '\n';
    }
    return out;
}

std::string shownProfileCsv()
{
    if (!haveDem())
        return profileCsv(nullptr, nullptr, 0, 0, SectionCells{});
    const ProfilePlacement p = placeProfile(meshFrame(mt), profileYpos, profileXpos);
    const SectionCells cells = sectionCells(profView, p, mt.getRows(), mt.getCols());
    return profileCsv(mt.heights(), haveComparison() ? rd.heights() : nullptr, mt.getCols(), mt.getCellsize(),
                      cells);
}

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

std::string profileCsv(const GridView& dem, const GridView& comp, double step, const SectionCells& cells)
{
    std::string out = "distance,dem,comparison\n";
    for (int k = 0; k < cells.count; ++k) {
        const std::size_t at = dem.index(cells.row(k), cells.col(k));
        appendNumber(out, static_cast<float>(step * k));
        out += ',';
        if (dem.isPresent(at))
            appendNumber(out, dem.heights[at]);
        out += ',';
        if (comp.heights && comp.isPresent(at))
            appendNumber(out, comp.heights[at]);
        out += '\n';
    }
    return out;
}

std::string shownProfileCsv()
{
    if (!haveDem())
        return profileCsv(GridView{}, GridView{}, 0, SectionCells{});
    const ProfilePlacement p = placeProfile(meshFrame(mt), profileYpos, profileXpos);
    const SectionCells cells = sectionCells(profView, p, mt.getRows(), mt.getCols());
    const double step = cells.alongRow ? mt.spacing().x : mt.spacing().y;
    return profileCsv(mt.view(), haveComparison() ? rd.view() : GridView{}, step, cells);
}

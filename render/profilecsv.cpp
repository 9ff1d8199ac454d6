#include "render/profilecsv.h"

#include <charconv>

#include "model/dataset.h"
#include "render/names.h"

namespace orolith::render {

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

std::string shownProfileCsv(const DataSet& d, const ViewState& view)
{
    if (!d.loaded())
        return profileCsv(GridView{}, GridView{}, 0, SectionCells{});
    const ProfilePlacement p = placeProfile(d.mesh(), view.profileYpos, view.profileXpos);
    const SectionCells cells = sectionCells(view.profView, p, d.rows(), d.cols());
    const double step = cells.alongRow ? d.spacing().x : d.spacing().y;
    return profileCsv(d.demView(), d.comparisonView(), step, cells);
}

} // namespace orolith::render

#include "model/rasterpairrows.h"

#include <cmath>

namespace orolith::model {

std::unique_ptr<RasterPairRows> RasterPairRows::open(const RasterRowReader& reader, const GridHeader& dem,
                                                     const GridHeader& comp, ComparisonKind kind, double compFactor,
                                                     ModelError& err)
{
    std::unique_ptr<RasterPairRows> p(new RasterPairRows(reader, kind, compFactor));
    p->dem_.header = dem;
    p->comp_.header = comp;
    p->dem_.rows = reader.open(dem, err);
    if (!p->dem_.rows)
        return nullptr;
    if (comp.path.empty())
        return p; // the DEM alone
    p->comp_.rows = reader.open(comp, err);
    if (!p->comp_.rows)
        return nullptr;
    return p;
}

RasterPairRows::~RasterPairRows()
{
    for (Side* s : {&dem_, &comp_})
        if (s->rows)
            reader_.close(s->rows);
}

bool RasterPairRows::readSide(Side& side, int first, int count, std::string& error)
{
    const GridHeader& h = side.header;
    const std::size_t cells = static_cast<std::size_t>(count) * static_cast<std::size_t>(h.cols);
    side.heights.resize(cells);
    side.present.resize(cells);
    ModelError err;
    if (!reader_.read(side.rows, first, count, side.heights.data(), err)) {
        error = err.detail;
        return false;
    }
    for (std::size_t i = 0; i < cells; ++i) {
        const float v = side.heights[i];
        side.present[i] = !std::isnan(v) && !(h.hasNodata && v == h.nodata);
    }
    return true;
}

bool RasterPairRows::read(int first, int last, PairStrip& strip, std::string& error)
{
    const int count = last - first;
    strip.first = first;
    if (!readSide(dem_, first, count, error))
        return false;
    strip.dem = {dem_.heights.data(), dem_.present.data(), count, cols()};
    if (!comp_.rows) {
        strip.comp = {nullptr, nullptr, count, cols()};
        return true;
    }
    if (!readSide(comp_, first, count, error))
        return false;
    for (std::size_t i = 0; i < comp_.heights.size(); ++i) {
        if (!comp_.present[i])
            continue;
        float& v = comp_.heights[i];
        if (factor_ != 1)
            v = static_cast<float>(v * factor_);
        if (kind_ != ComparisonKind::dem && !(v > 0))
            comp_.present[i] = 0;
    }
    strip.comp = {comp_.heights.data(), comp_.present.data(), count, cols()};
    return true;
}

} // namespace orolith::model

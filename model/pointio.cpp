#include "model/pointio.h"

#include <algorithm>
#include <cctype>

namespace orolith::model {

std::vector<ResidualRow> residualRows(const std::vector<Checkpoint>& points, const CheckpointAssessment& a)
{
    std::vector<ResidualRow> rows;
    for (std::size_t i = 0; i < points.size() && i < a.fate.size(); ++i) {
        if (a.fate[i] != PointFate::used)
            continue;
        const Checkpoint& p = points[i];
        rows.push_back({p.x, p.y, p.z, a.demHeight[i], a.d[i], a.slope[i], p.pointClass});
    }
    return rows;
}

std::vector<std::string> classList(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        std::size_t comma = text.find(',', from);
        if (comma == std::string::npos)
            comma = text.size();
        std::string name = text.substr(from, comma - from);
        const std::size_t first = name.find_first_not_of(" \t");
        if (first != std::string::npos)
            out.push_back(name.substr(first, name.find_last_not_of(" \t") - first + 1));
        from = comma + 1;
    }
    return out;
}

bool isPointFileName(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string ext = path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const char* known : {".csv", ".tsv", ".gpkg", ".geojson", ".json", ".shp", ".fgb", ".gml", ".kml"})
        if (ext == known)
            return true;
    return false;
}

} // namespace orolith::model

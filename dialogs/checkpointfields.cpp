#include "dialogs/checkpointfields.h"

namespace orolith::ui {

namespace {

std::string trimmed(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::string orDefault(const std::string& typed, const char* usual)
{
    const std::string t = trimmed(typed);
    return t.empty() ? usual : t;
}

} // namespace

std::string checkpointChoiceOf(const CheckpointFields& fields, CheckpointChoice& choice)
{
    const std::string path = trimmed(fields.path);
    if (path.empty())
        return "Name the file of checkpoints.";
    const PointColumns usual;
    CheckpointChoice c;
    c.source.path = path;
    c.source.columns.x = orDefault(fields.x, usual.x.c_str());
    c.source.columns.y = orDefault(fields.y, usual.y.c_str());
    c.source.columns.z = orDefault(fields.z, usual.z.c_str());
    c.source.columns.pointClass = orDefault(fields.pointClass, usual.pointClass.c_str());
    c.source.pointsCrs = trimmed(fields.crs);
    c.classes.open = classList(fields.open);
    c.classes.vegetated = classList(fields.vegetated);
    choice = std::move(c);
    return "";
}

const char* pointFilePattern()
{
    return "Points (*.{csv,gpkg,geojson,json,shp})\tCSV tables (*.csv)\tGeoPackage (*.gpkg)\t"
           "GeoJSON (*.{geojson,json})\tShapefiles (*.shp)";
}

} // namespace orolith::ui

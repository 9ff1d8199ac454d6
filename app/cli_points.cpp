#include "app/cli_points.h"

#include <algorithm>
#include <cctype>
#include <ostream>

#include "app/optionvalue.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif

namespace orolith::ui {

namespace {

std::string trimmed(const std::string& s)
{
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> commaParts(const std::string& text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        parts.push_back(trimmed(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            return parts;
        start = comma + 1;
    }
}

} // namespace

bool PointOptions::any() const
{
    return columnsGiven || !pointsCrs.empty() || !classes.open.empty() || !classes.vegetated.empty() ||
           !residuals.empty();
}

std::string parseColumns(const std::string& text, PointColumns& columns)
{
    const std::vector<std::string> parts = commaParts(text);
    bool blank = false;
    for (const std::string& p : parts)
        blank = blank || p.empty();
    if ((parts.size() != 3 && parts.size() != 4) || blank)
        return "--columns takes the names of the x, y and z columns and optionally the class column, as "
               "x,y,z[,class], not \"" +
               text + "\"";
    columns.x = parts[0];
    columns.y = parts[1];
    columns.z = parts[2];
    // Without a class column named, the default one is read when present.
    if (parts.size() == 4)
        columns.pointClass = parts[3];
    return "";
}

bool takePointOption(const std::vector<const char*>& args, std::size_t& i, PointOptions& o, std::string& error)
{
    const std::string arg = args[i];
    const char* const names[] = {"--columns", "--points-crs", "--open-classes", "--vegetated-classes", "--residuals"};
    const char* name = nullptr;
    for (const char* n : names)
        if (isNamedOption(arg, n))
            name = n;
    if (!name)
        return false;
    std::string value;
    if (!optionValue(args, i, value) || value.empty()) {
        error = std::string(name) + " needs a value";
        return true;
    }
    const std::string n = name;
    if (n == "--columns") {
        error = parseColumns(value, o.columns);
        o.columnsGiven = true;
    } else if (n == "--points-crs") {
        o.pointsCrs = value;
    } else if (n == "--open-classes") {
        o.classes.open = classList(value);
    } else if (n == "--vegetated-classes") {
        o.classes.vegetated = classList(value);
    } else {
        const std::size_t dot = value.rfind('.');
        std::string ext = dot == std::string::npos ? std::string() : value.substr(dot);
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext != ".csv" && ext != ".gpkg")
            error = "--residuals writes OUT.csv or OUT.gpkg, not \"" + value + "\"";
        o.residuals = value;
    }
    return true;
}

bool readCheckpointFile(const std::string& path, const std::string& demWkt, const PointOptions& o,
                        std::vector<Checkpoint>& points, std::string& error)
{
#ifdef OROLITH_HAVE_GDAL
    return readPointsOnDemand({path, o.columns, o.pointsCrs, demWkt}, points, error);
#else
    (void)demWkt;
    (void)o;
    (void)points;
    error = "file \"" + path + "\": this build of Orolith reads no point file (it was built without GDAL)";
    return false;
#endif
}

bool writeResidualsIfAsked(const CliRun& run, const PointOptions& o, const std::vector<Checkpoint>& points,
                           const CheckpointAssessment& a, const GridHeader& dem)
{
    if (o.residuals.empty())
        return true;
    std::string error;
#ifdef OROLITH_HAVE_GDAL
    if (writeResidualsOnDemand(o.residuals, residualRows(points, a), dem.projection, error)) {
        run.err << "Wrote the residuals of " << a.report.all.count << " checkpoints to " << o.residuals << std::endl;
        return true;
    }
#else
    (void)points;
    (void)a;
    (void)dem;
    error = "this build of Orolith writes no residuals (it was built without GDAL)";
#endif
    run.err << "ERROR: " << error << std::endl;
    return false;
}

} // namespace orolith::ui

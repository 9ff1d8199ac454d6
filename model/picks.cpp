#include "model/picks.h"

#include <cstdio>

namespace orolith::model {

namespace {

std::string formatted(const char* format, double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string unitText(double v) { return formatted("%g", v); }

std::string orEmpty(const std::optional<double>& v, const char* format) { return v ? formatted(format, *v) : ""; }

std::string coordinate(double v, bool geographic) { return formatted(geographic ? "%.8f" : "%.3f", v); }

std::string csvField(const std::string& s)
{
    if (s.find_first_of(",\"\n") == std::string::npos)
        return s;
    std::string q = "\"";
    for (char ch : s) {
        if (ch == '"')
            q += '"';
        q += ch;
    }
    return q + "\"";
}

std::string jsonString(const std::string& s)
{
    std::string q = "\"";
    for (char ch : s) {
        if (ch == '"' || ch == '\\')
            q += '\\';
        q += ch;
    }
    return q + "\"";
}

} // namespace

const Pick& PickList::add(Pick pick)
{
    pick.number = next_++;
    picks_.push_back(pick);
    return picks_.back();
}

bool PickList::remove(std::size_t index)
{
    if (index >= picks_.size())
        return false;
    picks_.erase(picks_.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

void PickList::clear()
{
    picks_.clear();
    next_ = 1;
}

std::string classLabel(const ClassAt& k)
{
    const int top = k.count - 1; // bounds at u, 2u, ..., top u
    if (k.index <= 0)
        return "> " + unitText(top * static_cast<double>(k.unit));
    if (k.index >= top)
        return "<= " + unitText(k.unit);
    const int upper = k.count - k.index;
    return "(" + unitText((upper - 1) * static_cast<double>(k.unit)) + "," +
           unitText(upper * static_cast<double>(k.unit)) + "]";
}

std::vector<std::string> pickColumns()
{
    return {"number",
            "x",
            "y",
            "lon",
            "lat",
            "row",
            "col",
            "dem",
            "comparison",
            "difference",
            "slope",
            "aspect",
            "curvature",
            "curvature_class",
            "difference_class",
            "curvature_difference_class"};
}

std::vector<std::string> pickCells(const Pick& p, bool geographic)
{
    const CellReadout& r = p.at;
    auto cls = [](const std::optional<ClassAt>& k) { return k ? classLabel(*k) : std::string(); };
    return {std::to_string(p.number),
            coordinate(r.x, geographic),
            coordinate(r.y, geographic),
            p.lonLat ? formatted("%.8f", p.lonLat->lon) : "",
            p.lonLat ? formatted("%.8f", p.lonLat->lat) : "",
            std::to_string(r.row),
            std::to_string(r.col),
            orEmpty(r.dem, "%.3f"),
            orEmpty(r.comparison, "%.3f"),
            orEmpty(r.difference, "%.3f"),
            orEmpty(r.slope, "%.2f"),
            orEmpty(r.aspect, "%.1f"),
            orEmpty(r.curvature, "%.6g"),
            cls(r.curvatureClass),
            cls(r.differenceClass),
            cls(r.curvatureDifferenceClass)};
}

std::string readoutLine(const CellReadout& r, const std::optional<LonLat>& lonLat, bool geographic)
{
    auto value = [](const std::optional<double>& v, const char* format) {
        return v ? formatted(format, *v) : std::string("n/a");
    };
    auto cls = [](const std::optional<ClassAt>& k) { return k ? classLabel(*k) : std::string("n/a"); };
    std::string line = "x " + coordinate(r.x, geographic) + "  y " + coordinate(r.y, geographic);
    if (lonLat)
        line += "  lon " + formatted("%.6f", lonLat->lon) + "  lat " + formatted("%.6f", lonLat->lat);
    line += "  row " + std::to_string(r.row) + "  col " + std::to_string(r.col);
    line += "  DEM " + value(r.dem, "%.2f") + "  comp. " + value(r.comparison, "%.2f") + "  diff. " +
            value(r.difference, "%.2f");
    line += "\nslope " + value(r.slope, "%.1f") + "\xC2\xB0  aspect " + value(r.aspect, "%.0f") + "\xC2\xB0";
    line += "  curv. " + value(r.curvature, "%.4g");
    line += "  classes: curv. " + cls(r.curvatureClass) + "  diff. " + cls(r.differenceClass) + "  curv. diff. " +
            cls(r.curvatureDifferenceClass);
    return line;
}

std::string picksCsv(const std::vector<Pick>& picks, bool geographic)
{
    std::string out;
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i)
            out += (i ? "," : "") + csvField(cells[i]);
        out += "\n";
    };
    line(pickColumns());
    for (const Pick& p : picks)
        line(pickCells(p, geographic));
    return out;
}

std::string picksGeoJson(const std::vector<Pick>& picks, bool geographic)
{
    bool allLonLat = !picks.empty();
    for (const Pick& p : picks)
        allLonLat = allLonLat && p.lonLat.has_value();
    const std::vector<std::string> names = pickColumns();
    // Numbers stay numbers; the class labels are strings.
    auto isText = [](const std::string& name) { return name.find("_class") != std::string::npos; };
    std::string out = "{\n\"type\": \"FeatureCollection\",\n\"features\": [";
    for (std::size_t i = 0; i < picks.size(); ++i) {
        const Pick& p = picks[i];
        const std::vector<std::string> cells = pickCells(p, geographic);
        const std::string px = allLonLat ? formatted("%.8f", p.lonLat->lon) : coordinate(p.at.x, geographic);
        const std::string py = allLonLat ? formatted("%.8f", p.lonLat->lat) : coordinate(p.at.y, geographic);
        out += i ? ",\n" : "\n";
        out += "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Point\", \"coordinates\": [" + px + ", " + py;
        if (p.at.dem)
            out += ", " + formatted("%.3f", *p.at.dem);
        out += "]}, \"properties\": {";
        for (std::size_t k = 0; k < names.size(); ++k) {
            out += (k ? ", " : "") + jsonString(names[k]) + ": ";
            if (cells[k].empty())
                out += "null";
            else
                out += isText(names[k]) ? jsonString(cells[k]) : cells[k];
        }
        out += "}}";
    }
    out += "\n]\n}\n";
    return out;
}

} // namespace orolith::model

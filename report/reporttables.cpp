#include "report/reporttables.h"

#include <cstdio>

#include "report/names.h"

namespace orolith::report {

namespace {

std::string bound(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

std::string whole(std::size_t n) { return std::to_string(n); }

std::string sizeText(int rows, int cols) { return std::to_string(cols) + " x " + std::to_string(rows); }

std::string cornerText(double x, double y)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "%.3f, %.3f", x, y);
    return buf;
}

std::string cellText(double x, double y)
{
    char buf[96];
    if (x == y)
        std::snprintf(buf, sizeof buf, "%.10g", x);
    else
        std::snprintf(buf, sizeof buf, "%.10g x %.10g", x, y);
    return buf;
}

} // namespace

std::vector<std::string> figureCells(const model::AccuracyFigures& f)
{
    std::vector<std::string> cells{whole(f.count)};
    const double values[] = {f.mean, f.std, f.rmse, f.min, f.max, f.median, f.nmad, f.le90, f.le95};
    for (double v : values)
        cells.push_back(f.count ? fixed3(v) : "n/a");
    return cells;
}

std::vector<std::string> figuresHeader(const std::string& first)
{
    return {first, "count", "mean", "std", "rmse", "min", "max", "median", "nmad", "le90", "le95"};
}

std::string fixed3(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.3f", v);
    return std::string(buf) == "-0.000" ? "0.000" : buf;
}

std::string slopeClassLabel(double from, double to, bool last)
{
    return "[" + bound(from) + ", " + bound(to) + (last ? "]" : ")");
}

Table filesTable(const AccuracyDocument& doc)
{
    Table t;
    t.header = {"", "file", "size (columns x rows)", "lower-left corner", "cell size", "CRS", "kind", "alignment"};
    for (const FileFacts& f : doc.files) {
        if (f.points)
            t.rows.push_back({f.role, f.path, whole(*f.points) + " points", "-", "-", f.crs, f.kind, f.alignment});
        else
            t.rows.push_back({f.role, f.path, sizeText(f.rows, f.cols), cornerText(f.xllcorner, f.yllcorner),
                              cellText(f.cellsizeX, f.cellsizeY), f.crs, f.kind, f.alignment});
    }
    return t;
}

Table summaryTable(const AccuracyDocument& doc)
{
    Table t;
    t.header = {"", doc.shift ? "before" : "DEM minus comparison"};
    if (doc.shift)
        t.header.push_back("after the shift");
    const char* names[] = {"count", "mean", "std", "RMSE", "min", "max", "median", "NMAD", "LE90", "LE95"};
    const std::vector<std::string> before = figureCells(doc.before.all);
    const std::vector<std::string> after = doc.shift ? figureCells(doc.after.all) : std::vector<std::string>{};
    for (std::size_t k = 0; k < before.size(); ++k) {
        std::vector<std::string> row{names[k], before[k]};
        if (doc.shift)
            row.push_back(after[k]);
        t.rows.push_back(row);
    }
    return t;
}

Table stableTerrainTable(const StableTerrainFacts& s)
{
    Table t;
    t.header = {"", "points"};
    t.rows.push_back({"present in both grids", whole(s.paired)});
    for (const model::StableTerrainLine& line : s.lines)
        t.rows.push_back({"removed by " + line.rule, whole(line.removed)});
    t.rows.push_back({"kept", whole(s.kept)});
    return t;
}

Table shiftTable(const ShiftSummary& s)
{
    Table t;
    t.header = {"", "cells", s.groundUnit};
    t.rows.push_back({"shift east", fixed3(s.east), fixed3(s.eastMetres)});
    t.rows.push_back({"shift north", fixed3(s.north), fixed3(s.northMetres)});
    t.rows.push_back({"bias", fixed3(s.bias), ""});
    t.rows.push_back({"iterations", std::to_string(s.iterations), s.converged ? "converged" : "not converged"});
    t.rows.push_back({"improved", s.improvement, ""});
    return t;
}

Table slopeTable(const AccuracyReport& report)
{
    Table t;
    t.header = figuresHeader("slope (deg)");
    for (const model::SlopeClassFigures& k : report.classes) {
        std::vector<std::string> row{slopeClassLabel(k.from, k.to, &k == &report.classes.back())};
        for (const std::string& cell : figureCells(k.figures))
            row.push_back(cell);
        t.rows.push_back(row);
    }
    std::vector<std::string> all{"all"};
    for (const std::string& cell : figureCells(report.all))
        all.push_back(cell);
    t.rows.push_back(all);
    return t;
}

} // namespace orolith::report

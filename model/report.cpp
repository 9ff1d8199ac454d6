#include "model/report.h"

#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <utility>

#include <nlohmann/json.hpp>

#include "model/dataset.h"

namespace orolith::model {

namespace {
template <typename T>
void appendf(std::string& out, const char* format, T value)
{
    char buffer[64];
    int len = std::snprintf(buffer, sizeof buffer, format, value);
    if (len >= static_cast<int>(sizeof buffer)) {
        std::string big(len + 1, '\0');
        std::snprintf(big.data(), big.size(), format, value);
        out.append(big.data(), len);
    } else if (len > 0) {
        out.append(buffer, len);
    }
}

// One class line: the lead ("   >  " or "   <= ", after a newline where
// given), the bound in five characters and the count in ten.
void classLine(std::string& out, const char* lead, double bound, int count)
{
    out += lead;
    appendf(out, "%5.1f", bound);
    appendf(out, "%10d", count);
}
} // namespace

std::string statisticsReport(const ReportValues& v)
{
    std::string out = "\t ----- STATISTICS -----\n\n";
    out += "Gridsize: ";
    appendf(out, "%d", v.rows);
    out += " x ";
    appendf(out, "%d", v.cols);
    out += "\n\n";
    out += "\t ----- DEM STATISTICS -----\nTotal Squared Curvature:";
    appendf(out, "%12.2f\n", static_cast<double>(v.totalSq));
    out += "Maximum Curvature      :";
    appendf(out, "%12.2f\n", static_cast<double>(v.maxCurve));
    out += "Average Curvature      :";
    int cells = v.rows * v.cols;
    if (cells > 0) {
        float average = v.totalSq / cells; // float division, as the statistics are kept
        appendf(out, "%12.2f\n\n", static_cast<double>(average));
    } else {
        appendf(out, "%12s\n\n", "n/a"); // nothing loaded: no average to give
    }
    out += "Curvature class counts:\n";
    const double u = v.curveUnit;
    classLine(out, "   >  ", 3 * u, v.c15);
    classLine(out, "\n   >  ", 2 * u, v.c10);
    classLine(out, "\n   >  ", u, v.c5);
    classLine(out, "\n   <= ", u, v.c);
    out += "\n";
    if (!v.comparison)
        return out;

    const double d = v.diffUnit;
    out += "\n\t ----- COMPARISON STATISTCS -----\n";
    out += "Contour interval:   ";
    appendf(out, "%d", v.contourInterval);
    out += "\nElevation difference class counts:\n";
    classLine(out, "   >  ", 4 * d, v.d20);
    classLine(out, "\n   >  ", 3 * d, v.d15);
    classLine(out, "\n   >  ", 2 * d, v.d10);
    classLine(out, "\n   >  ", d, v.d5);
    classLine(out, "\n   <= ", d, v.d);
    out += "\n\nCurvature difference class counts:\n";
    classLine(out, "   >  ", 4 * d, v.cd20);
    classLine(out, "\n   >  ", 3 * d, v.cd15);
    classLine(out, "\n   >  ", 2 * d, v.cd10);
    classLine(out, "\n   >  ", d, v.cd5);
    classLine(out, "\n   <= ", d, v.cd);
    out += "\n\nRMSE: ";
    if (v.rmse)
        appendf(out, "%.3f", static_cast<double>(*v.rmse));
    else
        out += "n/a";
    return out;
}

ReportValues reportValues(const DataSet& ds, double curveUnit, double diffUnit, bool comparison)
{
    ReportValues v;
    v.rows = ds.rows();
    v.cols = ds.cols();
    v.curveUnit = curveUnit;
    v.diffUnit = diffUnit;
    comparison = comparison && ds.hasComparison();
    v.comparison = comparison;
    if (!ds.loaded())
        return v;
    v.maxCurve = ds.curvature().peak;
    v.totalSq = ds.curvature().totalSquared;
    // The counts of the classes shown, when they are in the units printed;
    // counted anew otherwise.
    const float u = static_cast<float>(curveUnit), d = static_cast<float>(diffUnit);
    const std::array<int, 5> curve = ds.curvatureClasses().unit == u
                                         ? ds.curvatureClasses().counts
                                         : curvatureCounts(ds.curvature(), v.rows, v.cols, u);
    v.c15 = curve[0];
    v.c10 = curve[1];
    v.c5 = curve[2];
    v.c = curve[3];
    if (!comparison)
        return v;
    v.contourInterval = ds.contourInterval();
    const std::array<int, 5> elev = ds.elevationClasses().unit == d
                                        ? ds.elevationClasses().counts
                                        : elevationCounts(ds.elevation(), v.rows, v.cols, d);
    v.d20 = elev[0];
    v.d15 = elev[1];
    v.d10 = elev[2];
    v.d5 = elev[3];
    v.d = elev[4];
    const std::array<int, 5> cd = ds.curvatureDifferenceClasses().unit == d
                                      ? ds.curvatureDifferenceClasses().counts
                                      : curvatureDifferenceCounts(ds.curvatureDifference(), v.rows, v.cols, d);
    v.cd20 = cd[0];
    v.cd15 = cd[1];
    v.cd10 = cd[2];
    v.cd5 = cd[3];
    v.cd = cd[4];
    v.rmse = reportRmse(ds.demView(), GridView{ds.comparison().grid.heights.data(), nullptr, v.rows, v.cols});
    return v;
}

namespace {
using Json = nlohmann::ordered_json;

// The statistics are kept in floats: each goes out as the shortest text
// that reads back to the same float (0.1f as 0.1), read as a double.
Json floatNumber(float v)
{
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    double asDouble = v;
    if (ec == std::errc())
        std::from_chars(buffer, end, asDouble);
    return asDouble;
}

// Class lines as objects: the bound ("above" or "at_most") and the count.
Json classes(std::initializer_list<std::pair<double, int>> above, double atMost, int rest)
{
    Json out = Json::array();
    for (const auto& [bound, count] : above)
        out.push_back(Json{{"above", bound}, {"count", count}});
    out.push_back(Json{{"at_most", atMost}, {"count", rest}});
    return out;
}
} // namespace

std::string statisticsJson(const ReportValues& v)
{
    const double u = v.curveUnit, d = v.diffUnit;
    const int cells = v.rows * v.cols;
    Json curvature;
    curvature["unit"] = u;
    curvature["total_squared"] = floatNumber(v.totalSq);
    curvature["maximum"] = floatNumber(v.maxCurve);
    curvature["average"] = cells > 0 ? floatNumber(v.totalSq / cells) : Json(nullptr);
    curvature["classes"] = classes({{3 * u, v.c15}, {2 * u, v.c10}, {u, v.c5}}, u, v.c);
    Json comparison(nullptr);
    if (v.comparison) {
        comparison["unit"] = d;
        comparison["contour_interval"] = v.contourInterval;
        comparison["elevation_difference_classes"] =
            classes({{4 * d, v.d20}, {3 * d, v.d15}, {2 * d, v.d10}, {d, v.d5}}, d, v.d);
        comparison["curvature_difference_classes"] =
            classes({{4 * d, v.cd20}, {3 * d, v.cd15}, {2 * d, v.cd10}, {d, v.cd5}}, d, v.cd);
        comparison["rmse"] = v.rmse ? floatNumber(*v.rmse) : Json(nullptr);
    }
    Json out;
    out["rows"] = v.rows;
    out["cols"] = v.cols;
    out["curvature"] = std::move(curvature);
    out["comparison"] = std::move(comparison);
    return out.dump(2);
}

} // namespace orolith::model

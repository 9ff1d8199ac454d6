#include "report/reportjson.h"

#include <nlohmann/json.hpp>

#include "report/names.h"

namespace orolith::report {

namespace {

using Json = nlohmann::ordered_json;

// As --metrics --format json gives them: null for the values of an empty set.
Json figuresJson(const model::AccuracyFigures& f)
{
    Json j;
    j["count"] = f.count;
    const std::pair<const char*, double> values[] = {{"mean", f.mean}, {"std", f.std},   {"rmse", f.rmse},
                                                     {"min", f.min},   {"max", f.max},   {"median", f.median},
                                                     {"nmad", f.nmad}, {"le90", f.le90}, {"le95", f.le95}};
    for (const auto& [name, v] : values)
        j[name] = f.count ? Json(v) : Json(nullptr);
    return j;
}

Json reportJson(const AccuracyReport& r)
{
    Json j;
    j["all"] = figuresJson(r.all);
    j["slope_classes"] = Json::array();
    for (const model::SlopeClassFigures& k : r.classes) {
        Json c;
        c["from"] = k.from;
        c["to"] = k.to;
        const Json figures = figuresJson(k.figures);
        for (const auto& [key, value] : figures.items())
            c[key] = value;
        j["slope_classes"].push_back(c);
    }
    return j;
}

Json filesJson(const AccuracyDocument& doc)
{
    Json files = Json::array();
    for (const FileFacts& f : doc.files) {
        if (f.points) {
            files.push_back({{"role", f.role},
                             {"path", f.path},
                             {"points", *f.points},
                             {"crs", f.crs},
                             {"kind", f.kind},
                             {"alignment", f.alignment}});
            continue;
        }
        files.push_back({{"role", f.role},
                         {"path", f.path},
                         {"rows", f.rows},
                         {"cols", f.cols},
                         {"xllcorner", f.xllcorner},
                         {"yllcorner", f.yllcorner},
                         {"cellsize_x", f.cellsizeX},
                         {"cellsize_y", f.cellsizeY},
                         {"crs", f.crs},
                         {"kind", f.kind},
                         {"alignment", f.alignment}});
    }
    return files;
}

Json histogramJson(const Histogram& h)
{
    return {{"lo", h.lo},       {"hi", h.hi},         {"counts", h.counts}, {"below", h.below},
            {"above", h.above}, {"median", h.median}, {"nmad", h.nmad}};
}

Json shiftJson(const std::optional<ShiftSummary>& shift, const std::vector<FitPanel>& fits)
{
    if (!shift)
        return nullptr;
    const ShiftSummary& s = *shift;
    Json j = {{"shift_east", s.east},
              {"shift_north", s.north},
              {"shift_east_metres", s.eastMetres},
              {"shift_north_metres", s.northMetres},
              {"ground_unit", s.groundUnit},
              {"bias", s.bias},
              {"iterations", s.iterations},
              {"converged", s.converged},
              {"improved", s.improved},
              {"nmad_before", s.nmadBefore},
              {"nmad_after", s.nmadAfter}};
    j["fits"] = Json::array();
    for (const FitPanel& p : fits)
        j["fits"].push_back({{"iteration", p.iteration},
                             {"north", p.north},
                             {"east", p.east},
                             {"c", p.c},
                             {"points", p.points},
                             {"sample", p.y.size()},
                             {"bin_medians", binMedians(p.aspect, p.y, 10)}});
    return j;
}

Json stableJson(const AccuracyDocument& doc)
{
    if (!doc.stable)
        return nullptr;
    Json j = {{"paired", doc.stable->paired}, {"kept", doc.stable->kept}};
    j["rules"] = Json::array();
    for (const model::StableTerrainLine& line : doc.stable->lines)
        j["rules"].push_back({{"rule", line.rule}, {"removed", line.removed}});
    return j;
}

Json valueOrNull(std::size_t count, double v) { return count ? Json(v) : Json(nullptr); }

// What became of the points and their figures, one assessment's.
Json assessmentJson(const CheckpointAssessment& a, std::size_t given)
{
    Json j;
    j["given"] = given;
    j["used"] = a.report.all.count;
    j["skipped"] = a.outside + a.nextToAbsent;
    j["outside"] = a.outside;
    j["next_to_absent"] = a.nextToAbsent;
    const Json report = reportJson(a.report);
    for (const auto& [key, value] : report.items())
        j[key] = value;
    j["point_classes"] = Json::array();
    for (const model::PointClassFigures& k : a.classes) {
        Json c;
        c["class"] = k.pointClass;
        const Json figures = figuresJson(k.figures);
        for (const auto& [key, value] : figures.items())
            c[key] = value;
        j["point_classes"].push_back(c);
    }
    j["nva"] = {{"count", a.nva.count},
                {"rmse", valueOrNull(a.nva.count, a.nva.rmse)},
                {"accuracy95", valueOrNull(a.nva.count, a.nva.accuracy95)}};
    j["vva"] = {{"count", a.vva.count}, {"p95", valueOrNull(a.vva.count, a.vva.p95)}};
    return j;
}

Json checkpointsJson(const AccuracyDocument& doc)
{
    if (!doc.checkpoints)
        return nullptr;
    const CheckpointFacts& f = *doc.checkpoints;
    Json j;
    j["file"] = f.file;
    const Json before = assessmentJson(f.before, f.given);
    for (const auto& [key, value] : before.items())
        j[key] = value;
    j["classes"] = {{"open", f.classes.open}, {"vegetated", f.classes.vegetated}};
    j["limit"] = f.limit;
    j["histogram"] = histogramJson(f.histogram);
    j["histogram_after"] = f.shift ? histogramJson(f.histogramAfter) : Json(nullptr);
    j["coregistration"] = shiftJson(f.shift, f.fits);
    j["after"] = f.shift ? assessmentJson(f.after, f.given) : Json(nullptr);
    return j;
}

} // namespace

std::string documentJson(const AccuracyDocument& doc)
{
    Json j;
    j["program"] = {{"name", "orolith"}, {"version", doc.version}};
    j["created"] = doc.created;
    j["run_seconds"] = doc.runSeconds;
    j["unit"] = doc.unit;
    j["files"] = filesJson(doc);
    // Without a comparison grid its parts are null, so that a reader finds
    // the same keys in every report.
    j["stable_terrain"] = stableJson(doc);
    j["before"] = nullptr;
    j["coregistration"] = nullptr;
    j["after"] = nullptr;
    j["maps"] = nullptr;
    j["histograms"] = nullptr;
    j["cumulative"] = nullptr;
    j["view"] = nullptr;
    j["statistics_text"] = nullptr;
    if (doc.hasComparison) {
        j["before"] = reportJson(doc.before);
        j["coregistration"] = shiftJson(doc.shift, doc.fits);
        j["after"] = doc.shift ? reportJson(doc.after) : Json(nullptr);
        j["maps"] = {{"block", doc.mapBlock},
                     {"rows", doc.differenceBefore.grid.rows},
                     {"cols", doc.differenceBefore.grid.cols},
                     {"limit", doc.limit}};
        j["histograms"] = {{"points", doc.differencePoints},
                           {"before", histogramJson(doc.histogramBefore)},
                           {"after", doc.shift ? histogramJson(doc.histogramAfter) : Json(nullptr)}};
        j["cumulative"] = {
            {"sample", doc.cumulativeSample}, {"le90", doc.cumulative.le90}, {"le95", doc.cumulative.le95}};
        j["view"] = {{"width", doc.viewWidth}, {"height", doc.viewHeight}, {"problem", doc.viewProblem}};
        j["view"]["legend"] = Json::array();
        for (const LegendEntry& e : doc.viewLegend)
            j["view"]["legend"].push_back({{"rgb", {e.colour.r, e.colour.g, e.colour.b}}, {"text", e.text}});
        j["statistics_text"] = doc.statisticsText;
    }
    j["checkpoints"] = checkpointsJson(doc);
    // NaN has no JSON form: a bin without points is null.
    return j.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

} // namespace orolith::report

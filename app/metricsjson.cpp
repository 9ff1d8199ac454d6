#include "app/metricsjson.h"

#include <utility>

namespace orolith::ui {

Json inputsJson(const std::string& dem, const std::string& comparison)
{
    Json out;
    out["dem"] = dem;
    out["comparison"] = comparison;
    return out;
}

void addFigures(Json& out, const AccuracyFigures& f)
{
    out["count"] = f.count;
    const std::pair<const char*, double> values[] = {{"mean", f.mean}, {"std", f.std},   {"rmse", f.rmse},
                                                     {"min", f.min},   {"max", f.max},   {"median", f.median},
                                                     {"nmad", f.nmad}, {"le90", f.le90}, {"le95", f.le95}};
    for (const auto& [name, v] : values)
        out[name] = f.count ? Json(v) : Json(nullptr);
}

void addAlignment(Json& out, const Alignment& a)
{
    if (!a.aligned && a.heightUnit.empty())
        return;
    Json& alignment = out["alignment"];
    alignment["aligned"] = a.aligned;
    alignment["method"] = alignMethodName(a.method);
    alignment["source_crs"] = a.sourceCrs;
    alignment["coverage"] = a.coverage;
    alignment["heights_converted"] = a.heightUnit;
}

void addReport(Json& out, const AccuracyReport& r)
{
    addFigures(out["all"], r.all);
    Json classes = Json::array();
    for (const SlopeClassFigures& c : r.classes) {
        Json figures;
        figures["from"] = c.from;
        figures["to"] = c.to;
        addFigures(figures, c.figures);
        classes.push_back(std::move(figures));
    }
    out["slope_classes"] = std::move(classes);
}

Json reportJson(const AccuracyReport& r)
{
    Json out;
    addReport(out, r);
    return out;
}

void addStableTerrain(Json& out, const StableTerrainRules& rules, const StableTerrainCounts& counts)
{
    Json& stable = out["stable_terrain"];
    stable["paired"] = counts.paired;
    stable["kept"] = counts.kept;
    Json lines = Json::array();
    for (const StableTerrainLine& line : stableTerrainLines(rules, counts)) {
        Json l;
        l["rule"] = line.rule;
        l["removed"] = line.removed;
        lines.push_back(std::move(l));
    }
    stable["rules"] = std::move(lines);
}

void addCheckpoints(Json& out, const CheckpointAssessment& a)
{
    out["given"] = a.fate.size();
    out["skipped"] = a.outside + a.nextToAbsent;
    out["outside"] = a.outside;
    out["next_to_absent"] = a.nextToAbsent;
    addReport(out, a.report);
    Json classes = Json::array();
    for (const PointClassFigures& c : a.classes) {
        Json figures;
        figures["class"] = c.pointClass;
        addFigures(figures, c.figures);
        classes.push_back(std::move(figures));
    }
    out["point_classes"] = std::move(classes);
    Json& nva = out["nva"];
    nva["count"] = a.nva.count;
    nva["rmse"] = a.nva.count ? Json(a.nva.rmse) : Json(nullptr);
    nva["accuracy95"] = a.nva.count ? Json(a.nva.accuracy95) : Json(nullptr);
    Json& vva = out["vva"];
    vva["count"] = a.vva.count;
    vva["p95"] = a.vva.count ? Json(a.vva.p95) : Json(nullptr);
}

void addShift(Json& out, const Coregistration& c)
{
    out["shift_east"] = c.shiftEast;
    out["shift_north"] = c.shiftNorth;
    out["shift_east_metres"] = c.shiftEastMetres;
    out["shift_north_metres"] = c.shiftNorthMetres;
    out["bias"] = c.bias;
    out["iterations"] = c.iterations;
    out["converged"] = c.converged;
    out["improved"] = c.improved;
    out["nmad_before"] = c.nmadBefore;
    out["nmad_after"] = c.nmadAfter;
}

std::string jsonText(const Json& j) { return j.dump(2, ' ', false, Json::error_handler_t::replace) + "\n"; }

} // namespace orolith::ui

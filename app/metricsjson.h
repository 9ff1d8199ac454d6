// The JSON of the accuracy modes: the figures, the slope classes, the
// alignment, stable terrain and checkpoints under the keys every mode and
// the accuracy report's JSON share.
#ifndef OROLITH_APP_METRICSJSON_H
#define OROLITH_APP_METRICSJSON_H

#include <string>

#include <nlohmann/json.hpp>

#include "dialogs/names.h"
#include "model/checkpoints.h"
#include "model/coregister.h"
#include "model/metrics.h"
#include "model/pairing.h"
#include "model/stableterrain.h"

namespace orolith::ui {

using Json = nlohmann::ordered_json;

// "dem" and "comparison" as given on the command line: the first keys.
Json inputsJson(const std::string& dem, const std::string& comparison);

// The figures after `out`'s keys; those of an empty set null, as the
// table's n/a.
void addFigures(Json& out, const AccuracyFigures& f);

// "alignment": how the comparison came onto the DEM's grid, when it was
// resampled; nothing otherwise.
void addAlignment(Json& out, const Alignment& a);

// "all" and "slope_classes" after `out`'s keys.
void addReport(Json& out, const AccuracyReport& r);
Json reportJson(const AccuracyReport& r);

// "stable_terrain": the points present in both, those kept, and a line a
// rule with the points it removed.
void addStableTerrain(Json& out, const StableTerrainRules& rules, const StableTerrainCounts& counts);

// The checkpoints' keys: "given", "skipped", "outside", "next_to_absent",
// "all", "slope_classes", "point_classes", "nva", "vva".
void addCheckpoints(Json& out, const CheckpointAssessment& a);

// The shift's keys, from "shift_east" to "nmad_after".
void addShift(Json& out, const Coregistration& c);

// Indented, with a newline; bytes that are not UTF-8 (file names need not
// be) go out as U+FFFD rather than stopping the output.
std::string jsonText(const Json& j);

} // namespace orolith::ui

#endif

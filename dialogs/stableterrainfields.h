// Analysis > "Stable terrain...": the dialog's fields made into the rules
// that pick the stable points, and the counts it shows once they are
// applied.
#ifndef OROLITH_DIALOGS_STABLETERRAINFIELDS_H
#define OROLITH_DIALOGS_STABLETERRAINFIELDS_H

#include <string>

#include "dialogs/names.h"
#include "model/pointio.h"
#include "model/stableterrain.h"

namespace orolith::ui {

// The fields as typed; an empty number is no limit.
struct StableTerrainFields {
    std::string maskPath;
    bool keepInside = false;
    std::string minSlope, maxSlope; // degrees
    std::string outliers;           // K, in NMADs
};

// What the session applies: the mask file to put on the DEM's grid (no
// path: no mask) and the other rules. `rules.mask` stays empty: the
// session fills it from the file.
struct StableTerrainChoice {
    MaskSource mask;
    StableTerrainRules rules;
};

// The choice of the fields. Empty on success, else why not: a slope that
// is not a number of degrees from 0 to 90, a minimum above the maximum, a
// K that is not a number above 0, or no rule at all.
std::string stableTerrainChoiceOf(const StableTerrainFields& fields, StableTerrainChoice& choice);

// The fields that give a choice back, for a dialog opened while it is in
// force.
StableTerrainFields fieldsOf(const StableTerrainChoice& choice);

// The counts shown after Apply: the points present in both grids, each
// rule's line with what it removed, and the points kept.
std::string stableTerrainCountsText(const StableTerrainRules& rules, const StableTerrainCounts& counts);

// Shown while no rule is in force.
std::string noStableTerrainText();

} // namespace orolith::ui

#endif

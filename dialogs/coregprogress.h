// What the status row's bar says while "Co-register..." runs: the fit
// under way out of the most the co-registration makes, so that a user of
// a large pair sees it move and knows how much is left at worst.
#ifndef OROLITH_DIALOGS_COREGPROGRESS_H
#define OROLITH_DIALOGS_COREGPROGRESS_H

#include "dialogs/names.h"
#include <string>

namespace orolith::ui {

// Until the first fit: the DEM's sloping points are being gathered.
std::string coregStartLabel();

// Before fit `iteration` (1 to COREGISTER_MAX_ITERATIONS):
// "Co-registering: iteration 3 of at most 10".
std::string coregProgressLabel(int iteration);

// The share of the bar filled before fit `iteration`: the fits done out of
// the most there can be, 0 before the first; clamped to 0 to 1.
double coregProgressFraction(int iteration);

// After the last fit: the accuracy tables before and after the shift.
std::string coregTablesLabel();

} // namespace orolith::ui

#endif

// How the status row shows the numbers an open writes into it, and the
// progress of a load.
#ifndef OROLITH_DIALOGS_STATUSROW_H
#define OROLITH_DIALOGS_STATUSROW_H

#include <string>

// Decimals for a corner coordinate or cell size in a narrow number field:
// -1 keeps the toolkit's shortest form, which is right for small numbers
// but turns a map coordinate such as 5100000 into "5.1e+06"; from a
// million up the value is shown whole (a fraction of a map unit does not
// matter in the status row).
int statusDecimals(double value);

// The label of the status row's bar while a data set loads: the stage and
// the share of the load done, in whole percent rounded down, so that 100 %
// appears only when the load is complete: "Reading 40 %".
std::string progressLabel(const std::string& stage, double fraction);

#endif

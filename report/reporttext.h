// The texts of the report windows, made from the model's texts and
// figures: what "Statistics" and "Co-registration" show and save.
#ifndef OROLITH_REPORT_REPORTTEXT_H
#define OROLITH_REPORT_REPORTTEXT_H

#include <string>

#include "report/names.h"

#include "model/coregister.h"

namespace orolith::report {

// The statistics report as it is, then, when an accuracy table is given (a
// comparison grid is loaded), a blank line, its heading and the table.
// `alignment` (alignmentText of the comparison in use), when not empty,
// goes on a line of its own before the table's heading.
std::string statisticsWindowText(const std::string& report, const std::string& accuracyTable,
                                 const std::string& alignment = "");

// What the "Co-registration" window says of a co-registration that
// succeeded: the shift in cells and in ground units (metres for a
// geographic grid, `geographic`, else map units), the bias, the iterations
// and whether they converged, whether the shift improved the fit, then the
// accuracy tables before and after moving the comparison grid back.
std::string coregistrationText(const Coregistration& c, bool geographic, const std::string& before,
                               const std::string& after);

} // namespace orolith::report

#endif

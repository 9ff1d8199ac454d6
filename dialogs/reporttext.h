// The texts of the report windows, made from the model's texts and
// figures: what "Statistics" and "Co-registration" show and save.
#ifndef OROLITH_DIALOGS_REPORTTEXT_H
#define OROLITH_DIALOGS_REPORTTEXT_H

#include <string>

// The statistics report as it is, then, when an accuracy table is given (a
// comparison grid is loaded), a blank line, its heading and the table.
std::string statisticsWindowText(const std::string& report, const std::string& accuracyTable);

#endif

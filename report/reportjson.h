// Every number of the accuracy report as JSON, for the file written beside
// the page (OUT.json): the same figures the page shows, at full precision.
#ifndef OROLITH_REPORT_REPORTJSON_H
#define OROLITH_REPORT_REPORTJSON_H

#include <string>

#include "report/accuracydocument.h"

namespace orolith::report {

// The document as JSON text, two spaces an indent, ending with a newline.
// Paths that are not valid UTF-8 have their bad bytes replaced.
std::string documentJson(const AccuracyDocument& doc);

} // namespace orolith::report

#endif

// The accuracy report as one HTML page: its pictures embedded as PNG data
// URIs and its style inline, so that the file alone is the whole report,
// to be mailed, archived or opened offline.
#ifndef OROLITH_REPORT_REPORTHTML_H
#define OROLITH_REPORT_REPORTHTML_H

#include <string>

#include "report/accuracydocument.h"

namespace orolith::report {

std::string htmlPage(const AccuracyDocument& doc);

// Text made safe for HTML: & < > " and ' as entities.
std::string escapeHtml(const std::string& text);

// RFC 4648 base64 of the bytes, no line breaks.
std::string base64(const std::vector<unsigned char>& bytes);

} // namespace orolith::report

#endif

// Writing the accuracy report: the page (HTML) or the document (PDF) that
// the file name asks for, and its numbers as JSON beside it. Both are
// written under temporary names in the same folder and renamed only when
// both are whole, so that a failure leaves no half-written file and an
// earlier report of that name stays as it was.
#ifndef OROLITH_REPORT_REPORTFILE_H
#define OROLITH_REPORT_REPORTFILE_H

#include <string>

#include "report/accuracydocument.h"

namespace orolith::report {

enum class ReportFormat { html, pdf };

// By the name's extension, .html, .htm or .pdf in any case; false for any
// other name.
bool reportFormatOf(const std::string& path, ReportFormat& format);

// "out.json" beside "out.html".
std::string jsonPathBeside(const std::string& reportPath);

// False, with a message naming the file, when either cannot be written.
bool writeAccuracyReport(const AccuracyDocument& doc, const std::string& path, std::string& error);

} // namespace orolith::report

#endif

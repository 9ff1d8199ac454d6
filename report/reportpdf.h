// The accuracy report as a PDF: A4 pages, vector pictures, selectable
// text, each section starting on a page of its own where it fits.
#ifndef OROLITH_REPORT_REPORTPDF_H
#define OROLITH_REPORT_REPORTPDF_H

#include <string>

#include "report/accuracydocument.h"

namespace orolith::report {

// Writes the PDF to `path`; false, with cairo's reason, when it cannot.
bool writePdf(const AccuracyDocument& doc, const std::string& path, std::string& error);

} // namespace orolith::report

#endif

// The report's tables as texts, shared by the HTML page and the PDF:
// figures to three decimals as --metrics prints them, "n/a" where a set
// has no point.
#ifndef OROLITH_REPORT_REPORTTABLES_H
#define OROLITH_REPORT_REPORTTABLES_H

#include <string>
#include <vector>

#include "report/accuracydocument.h"

namespace orolith::report {

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// 1.234, "0.000" for a value that rounds to 0 from below.
std::string fixed3(double v);

// The figures of one set as table cells: the count, then mean, std, rmse,
// min, max, median, nmad, le90 and le95 ("n/a" for an empty set).
std::vector<std::string> figureCells(const model::AccuracyFigures& f);
// The header of a table of such rows, `first` over the rows' labels.
std::vector<std::string> figuresHeader(const std::string& first);

// Name, size, lower-left corner, cell size, CRS, kind and alignment of each file.
Table filesTable(const AccuracyDocument& doc);

// count, mean, std, RMSE, median, NMAD, LE90, LE95 (and min, max): a column
// for the figures before and, with a shift, one after.
Table summaryTable(const AccuracyDocument& doc);

// The points present in both grids, those each stable-terrain rule
// removed, and those kept.
Table stableTerrainTable(const StableTerrainFacts& stable);

// The shift in cells and ground units, bias, iterations, improvement.
Table shiftTable(const ShiftSummary& shift);

// A row per slope class and one for all points, as accuracyTable has them.
Table slopeTable(const AccuracyReport& report);

// "[0, 5)", "[45, 90]": the label of class k of n.
std::string slopeClassLabel(double from, double to, bool last);

} // namespace orolith::report

#endif

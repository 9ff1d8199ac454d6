// The statistics report: values in, text out. The report window and the
// command line both show this text.
#ifndef OROLITH_MODEL_REPORT_H
#define OROLITH_MODEL_REPORT_H

#include <optional>
#include <string>

namespace orolith::model {

struct ReportValues {
    float maxCurve = 0, totalSq = 0;
    int c15 = 0, c10 = 0, c5 = 0, c = 0;
    int rows = 0, cols = 0;
    double curveUnit = 1.0; // u: bounds of the curvature classes
    double diffUnit = 1.0;  // d: bounds of both difference sections
    // The comparison section is written exactly when this is set.
    bool comparison = false;
    int contourInterval = 0;
    int d20 = 0, d15 = 0, d10 = 0, d5 = 0, d = 0;
    int cd20 = 0, cd15 = 0, cd10 = 0, cd5 = 0, cd = 0;
    // Empty when the comparison grid has no present point: "RMSE: n/a".
    std::optional<float> rmse;
};

std::string statisticsReport(const ReportValues& v);

// The same values as one JSON object, for scripts: numbers as numbers
// (floats with the fewest digits that read back to them), null where the
// text says n/a, "comparison" null without a comparison grid.
std::string statisticsJson(const ReportValues& v);

class DataSet;

// The values of a data set, its counts in the units given. The comparison
// section (and the RMSE) only when `comparison` is true and the data set
// has comparison data.
ReportValues reportValues(const DataSet& dataSet, double curveUnit, double diffUnit, bool comparison);

} // namespace orolith::model

#endif

#include "dialogs/reporttext.h"

std::string statisticsWindowText(const std::string& report, const std::string& accuracyTable)
{
    if (accuracyTable.empty())
        return report;
    std::string text = report;
    // The comparison report ends on its RMSE line, without a line break.
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text + "\nAccuracy against the comparison grid (DEM minus comparison, where the comparison is above 0):\n" +
           accuracyTable;
}

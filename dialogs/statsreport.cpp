#include "dialogs/statsreport.h"

#include <FL/Fl_Counter.H>
#include <FL/Fl_Multiline_Output.H>

#include "dialogs/checkpointtext.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/names.h"
#include "dialogs/paths.h"
#include "dialogs/reportsave.h"
#include "dialogs/saveoutputs.h"
#include "dialogs/stableterrainfields.h"
#include "dialogs/textwindow.h"
#include "model/metrics.h"
#include "model/report.h"
#include "report/reporttext.h"

namespace orolith::ui {

Fl_Window* statsWin = nullptr;

namespace {

class ReportWindow : public TextWindow {
public:
    // At least the 450 x 600 the report alone always had.
    ReportWindow(SessionPort& p, const std::string& report) : TextWindow("Statistics", report, 450, 600), port(p) {}
    ~ReportWindow() override
    {
        if (statsWin == this)
            statsWin = nullptr;
    }
    SessionPort& port;
};

// "Save...": the text as the window shows it.
void saveReport(Fl_Widget* w, void*)
{
    auto* win = dynamic_cast<ReportWindow*>(w->window());
    if (!win)
        return;
    const std::string path =
        chooseSavePath("Save Statistics", "Text files (*.txt)",
                       outputPathBeside(win->port.files().dem, "_statistics.txt", "statistics.txt"));
    if (!path.empty() && !writeTextFile(path, win->text->value()))
        errorMessage("Cannot write the report to \"" + path + "\".", win);
}

// "Save Report...": the accuracy report of the pair in use.
void saveAccuracyReportOf(Fl_Widget* w, void*)
{
    if (auto* win = dynamic_cast<ReportWindow*>(w->window()))
        saveAccuracyReport(win->port, nullptr, win);
}

// The accuracy of the DEM against the comparison grid in use, over the
// stable terrain when rules are in force (said above the table); empty
// without a comparison grid.
std::string accuracyOfPair(const DataSet& d)
{
    if (!d.hasComparison())
        return "";
    std::string table =
        accuracyTable(accuracyReport(d.demView(), d.stableComparisonView(), d.spacing(), defaultSlopeBounds()));
    if (!d.hasStableTerrain())
        return table;
    return "Over the stable terrain only:\n" + stableTerrainCountsText(d.stableRules(), d.stableTerrain().counts) +
           "\n" + table;
}

// The report, then the checkpoints' part when there are checkpoints.
std::string withCheckpoints(std::string text, const DataSet& d)
{
    const std::string points = checkpointText(d);
    if (points.empty())
        return text;
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text + "\n" + points;
}

} // namespace

void showStatistics(SessionPort& port)
{
    // The comparison section belongs to a comparison grid that is loaded,
    // not to the dialog last used.
    const DataSet& d = port.dataSet();
    const bool comparison = d.hasComparison();
    auto* win = new ReportWindow(
        port,
        withCheckpoints(statisticsWindowText(
                            statisticsReport(reportValues(d, port.curvatureUnit(), port.differenceUnit(), comparison)),
                            accuracyOfPair(d), comparison ? alignmentText(d.comparison().alignment) : std::string()),
                        d));
    win->addButton(70, "Save...", saveReport);
    if (comparison || d.hasCheckpoints())
        win->addButton(110, "Save Report...", saveAccuracyReportOf);
    win->show();
    statsWin = win;
    port.focusViewer();
}

} // namespace orolith::ui

#include "dialogs/statsreport.h"

#include <FL/Fl_Counter.H>
#include <FL/Fl_Multiline_Output.H>

#include "app/glviewerGUI.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/openfile.h"
#include "dialogs/paths.h"
#include "dialogs/reporttext.h"
#include "dialogs/saveoutputs.h"
#include "dialogs/textwindow.h"
#include "model/metrics.h"
#include "model/report.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"

Fl_Window* statsWin = nullptr;

namespace {

class ReportWindow : public TextWindow {
public:
    // At least the 450 x 600 the report alone always had.
    explicit ReportWindow(const std::string& text) : TextWindow("Statistics", text, 450, 600) {}
    ~ReportWindow() override
    {
        if (statsWin == this)
            statsWin = nullptr;
    }
};

// "Save...": the text as the window shows it.
void saveReport(Fl_Widget* w, void*)
{
    auto* win = dynamic_cast<ReportWindow*>(w->window());
    if (!win)
        return;
    const std::string path = chooseSavePath("Save Statistics", "Text files (*.txt)",
                                            outputPathBeside(demInUse(), "_statistics.txt", "statistics.txt"));
    if (!path.empty() && !writeTextFile(path, win->text->value()))
        errorMessage("Cannot write the report to \"" + path + "\".", win);
}

// The accuracy of the DEM against the comparison grid in use, empty without one.
std::string accuracyOfPair()
{
    if (!haveComparison())
        return "";
    return accuracyTable(accuracyReport(mt.view(), rd.view(), mt.spacing(), defaultSlopeBounds()));
}

} // namespace

void stats(Fl_Widget*, void*)
{
    // The comparison section belongs to a comparison grid that is loaded,
    // not to the dialog last used.
    auto* win = new ReportWindow(statisticsWindowText(
        statisticsReport(currentReportValues(unitSliderGUI->value(), unitSliderldGUI->value(), haveComparison())),
        accuracyOfPair(), haveComparison() ? alignmentText(rd.alignment()) : std::string()));
    win->addButton(70, "Save...", saveReport);
    win->show();
    statsWin = win;
    gl->take_focus();
}

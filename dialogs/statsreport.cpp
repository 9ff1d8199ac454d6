#include "dialogs/statsreport.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>

#include "app/glviewerGUI.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/openfile.h"
#include "dialogs/paths.h"
#include "dialogs/reporttext.h"
#include "dialogs/saveoutputs.h"
#include "model/metrics.h"
#include "model/report.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"

Fl_Window* statsWin = nullptr;

namespace {

// Fixed-width, so that the columns of the class counts and of the accuracy
// table line up; small enough that the table's eleven columns fit a screen.
constexpr Fl_Font TEXT_FONT = FL_COURIER_BOLD;
constexpr int TEXT_SIZE = 12;
// Room around the text inside the field's frame, and the row of the button.
constexpr int MARGIN = 20, BUTTON_ROW = 35;

class ReportWindow : public Fl_Window {
public:
    ReportWindow(int w, int h) : Fl_Window(0, 0, w, h, "Statistics") {}
    ~ReportWindow() override
    {
        if (statsWin == this)
            statsWin = nullptr;
    }
    Fl_Multiline_Output* text = nullptr;
};

void closeReport(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

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
    return accuracyTable(accuracyReport(mt.heights(), rd.heights(), mt.getRows(), mt.getCols(), mt.getCellsize(),
                                        defaultSlopeBounds()));
}

} // namespace

void stats(Fl_Widget*, void*)
{
    // The comparison section belongs to a comparison grid that is loaded,
    // not to the dialog last used.
    const std::string text = statisticsWindowText(
        statisticsReport(currentReportValues(unitSliderGUI->value(), unitSliderldGUI->value(), haveComparison())),
        accuracyOfPair());

    // As wide and high as the text (at least the report's old 450 x 600),
    // as the field draws it: tabs to the next multiple of 8 characters.
    fl_open_display();
    fl_font(TEXT_FONT, TEXT_SIZE);
    int textW = 0, textH = 0;
    fl_measure(text.c_str(), textW, textH, 0);
    const int w = std::max(450, textW + 2 * MARGIN);
    const int fieldH = std::max(600 - BUTTON_ROW, textH + 2 * MARGIN);

    auto* win = new ReportWindow(w, fieldH + BUTTON_ROW);
    win->text = new Fl_Multiline_Output(0, 0, w, fieldH);
    win->text->textfont(TEXT_FONT);
    win->text->textsize(TEXT_SIZE);
    win->text->cursor_color(FL_WHITE);
    win->text->value(text.c_str());
    (new Fl_Button(w - 80, fieldH + 5, 70, 25, "Save..."))->callback(saveReport);
    win->end();
    win->callback(closeReport);
    win->show();
    statsWin = win;
    gl->take_focus();
}

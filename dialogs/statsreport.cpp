#include "dialogs/statsreport.h"

#include <FL/Fl.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>

#include "app/glviewerGUI.h"
#include "model/report.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"

Fl_Window* statsWin = nullptr;

namespace {

class ReportWindow : public Fl_Window {
public:
    ReportWindow() : Fl_Window(0, 0, 450, 600, "Statistics") {}
    ~ReportWindow() override
    {
        if (statsWin == this)
            statsWin = nullptr;
    }
};

void closeReport(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

} // namespace

void stats(Fl_Widget*, void*)
{
    auto* win = new ReportWindow;
    auto* text = new Fl_Multiline_Output(0, 0, 450, 600);
    text->textfont(FL_COURIER_BOLD);
    text->cursor_color(FL_WHITE);
    // The comparison section belongs to a comparison grid that is loaded,
    // not to the dialog last used.
    text->value(statisticsReport(
                    currentReportValues(unitSliderGUI->value(), unitSliderldGUI->value(), haveComparison()))
                    .c_str());
    win->end();
    win->callback(closeReport);
    win->show();
    statsWin = win;
    gl->take_focus();
}

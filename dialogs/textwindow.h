// The report windows' frame ("Statistics", "Co-registration"): a read-only
// text field in a fixed-width font, as large as its text so that nothing
// is cut, and a row for buttons below it. Shown at the screen's top-left
// corner, where the statistics report has always opened.
#ifndef OROLITH_DIALOGS_TEXTWINDOW_H
#define OROLITH_DIALOGS_TEXTWINDOW_H

#include <FL/Fl_Window.H>

#include "dialogs/names.h"
#include <string>

class Fl_Button;
class Fl_Multiline_Output;

namespace orolith::ui {

class TextWindow : public Fl_Window {
public:
    // At least minW x minH with its button row. The window is left open for
    // the caller's buttons (addButton), then ended and shown by show().
    TextWindow(const char* title, const std::string& text, int minW, int minH);

    // A button of width w in the button row: the first at the right edge,
    // each further one left of those added before.
    Fl_Button* addButton(int w, const char* label, Fl_Callback* cb);
    void show() override;

    Fl_Multiline_Output* text = nullptr;

private:
    int buttonsLeft_ = 0; // left edge of the buttons added so far
};

} // namespace orolith::ui

#endif

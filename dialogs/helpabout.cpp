#include "dialogs/helpabout.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <string>

#include "dialogs/names.h"
#include "dialogs/version.h"

namespace orolith::ui {

namespace {

// Room around the text inside the field's frame, and the button row.
constexpr int MARGIN = 16, BUTTON_ROW = 35, BUTTON_W = 70;

void closeWindow(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

void closeButton(Fl_Widget* b, void*) { closeWindow(b->window(), nullptr); }

// A read-only field as large as its text as the field draws it, so that
// none of it is cut, with a "Close" button below; over the middle of the
// main window, kept on the screen.
void showTextWindow(const std::string& title, const std::string& text, Fl_Font font, int size, Fl_Window* over)
{
    fl_open_display();
    fl_font(font, size);
    int textW = 0, textH = 0;
    fl_measure(text.c_str(), textW, textH, 0);
    const int w = std::max(textW + 2 * MARGIN, 240), h = textH + 2 * MARGIN + BUTTON_ROW;

    auto* window = new Fl_Window(w, h);
    window->copy_label(title.c_str());
    auto* field = new Fl_Multiline_Output(0, 0, w, h - BUTTON_ROW);
    field->textfont(font);
    field->textsize(size);
    field->cursor_color(FL_WHITE);
    field->value(text.c_str());
    (new Fl_Button(w - BUTTON_W - 10, h - BUTTON_ROW + 5, BUTTON_W, 25, "Close"))->callback(closeButton);
    window->end();
    window->callback(closeWindow);
    if (over && over->shown()) {
        const int x = over->x() + (over->w() - w) / 2, y = over->y() + (over->h() - h) / 2;
        window->position(std::clamp(x, 0, std::max(0, Fl::w() - w)), std::clamp(y, 0, std::max(0, Fl::h() - h)));
    }
    window->show();
}

} // namespace

void showAbout(Fl_Window* over) { showTextWindow("About", aboutText(programVersion()), FL_HELVETICA, 14, over); }

// Fixed-width, so that the key table's columns line up.
void showHelp(Fl_Window* over) { showTextWindow("Help", helpText(), FL_COURIER, 12, over); }

void showSectionHelp(PanelSection section, Fl_Window* over)
{
    showTextWindow(std::string("Help: ") + sectionTitle(section), sectionHelp(section), FL_COURIER, 12, over);
}

} // namespace orolith::ui

#include "dialogs/textwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/fl_draw.H>

#include "dialogs/names.h"
#include <algorithm>

namespace orolith::ui {

namespace {

// Fixed-width, so that the columns of the class counts and of the accuracy
// tables line up; small enough that a table's eleven columns fit a screen.
constexpr Fl_Font TEXT_FONT = FL_COURIER_BOLD;
constexpr int TEXT_SIZE = 12;
// Room around the text inside the field's frame, and the button row.
constexpr int MARGIN = 20, BUTTON_ROW = 35;

struct Size {
    int w, h;
};

// The window's size for the text as the field draws it (tabs to the next
// multiple of 8 characters, as fl_measure expands them).
Size sizeFor(const std::string& text, int minW, int minH)
{
    fl_open_display();
    fl_font(TEXT_FONT, TEXT_SIZE);
    int textW = 0, textH = 0;
    fl_measure(text.c_str(), textW, textH, 0);
    return {std::max(minW, textW + 2 * MARGIN), std::max(minH, textH + 2 * MARGIN + BUTTON_ROW)};
}

void closeWindow(Fl_Widget* w, void*)
{
    w->hide();
    Fl::delete_widget(w);
}

} // namespace

TextWindow::TextWindow(const char* title, const std::string& content, int minW, int minH)
    : Fl_Window(0, 0, sizeFor(content, minW, minH).w, sizeFor(content, minW, minH).h, title)
{
    this->text = new Fl_Multiline_Output(0, 0, w(), h() - BUTTON_ROW);
    this->text->textfont(TEXT_FONT);
    this->text->textsize(TEXT_SIZE);
    this->text->cursor_color(FL_WHITE);
    this->text->value(content.c_str());
    callback(closeWindow);
}

Fl_Button* TextWindow::addButton(int bw, const char* label, Fl_Callback* cb)
{
    if (buttonsLeft_ == 0)
        buttonsLeft_ = w();
    buttonsLeft_ -= bw + 10;
    auto* b = new Fl_Button(buttonsLeft_, h() - BUTTON_ROW + 5, bw, 25, label);
    b->callback(cb);
    return b;
}

void TextWindow::show()
{
    end();
    Fl_Window::show();
}

} // namespace orolith::ui

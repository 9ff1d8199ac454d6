#include "dialogs/errorwindow.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Window.H>
#include <FL/fl_draw.H>
#include <FL/x.H>

#include "dialogs/messagelayout.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"

namespace orolith::ui {

Fl_Window* errorWin = nullptr;

namespace {

// Forgets itself as the window built last when it is deleted.
class MessageWindow : public Fl_Window {
public:
    MessageWindow(int w, int h, const char* title) : Fl_Window(w, h) { copy_label(title); }
    ~MessageWindow() override
    {
        if (errorWin == this)
            errorWin = nullptr;
    }
};

void closeWindow(Fl_Window* w)
{
    w->hide();
    Fl::delete_widget(w);
}

void closeByFrame(Fl_Widget* w, void*) { closeWindow(static_cast<Fl_Window*>(w)); }

} // namespace

Fl_Window* messageWindow(const char* title, const std::string& text, Fl_Window* over)
{
    // Measure as the box will draw its label: normal font and size, lines
    // wrapped at blanks. Measuring needs the display's fonts.
    fl_open_display();
    fl_font(FL_HELVETICA, FL_NORMAL_SIZE);
    int textW = MESSAGE_WRAP_WIDTH, textH = 0;
    fl_measure(text.c_str(), textW, textH, 0);
    const MessageLayout m = messageLayout(textW, textH);

    auto* win = new MessageWindow(m.w, m.h, title);
    auto* box = new Fl_Box(m.text.x, m.text.y, m.text.w, m.text.h);
    box->copy_label(text.c_str());
    box->align(FL_ALIGN_CENTER | FL_ALIGN_INSIDE | FL_ALIGN_WRAP);
    auto* ok = new Fl_Button(m.ok.x, m.ok.y, m.ok.w, m.ok.h, "OK");
    ok->callback(closeErr);
    win->end();
    win->callback(closeByFrame);
    if (over && over->shown())
        win->position(over->x() + (over->w() - m.w) / 2, over->y() + (over->h() - m.h) / 2);
    win->show();
    errorWin = win;
    return win;
}

void errorMessage(const std::string& text, Fl_Window* over) { messageWindow("File Error", text, over); }

void errorMessage(int code, Fl_Window* over) { errorMessage(dialogErrorText(code), over); }

void closeErr(Fl_Widget* w, void*) { closeWindow(w->window()); }

} // namespace orolith::ui

// Set-up of the dialog tests: the main window built (not shown), windows
// found by their titles, a window's picture saved for a person to look at,
// and every dialog window closed again after each test.
#ifndef OROLITH_TESTS_GUI_DIALOG_FIXTURES_H
#define OROLITH_TESTS_GUI_DIALOG_FIXTURES_H

#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Output.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Value_Output.H>

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/names.h"
#include "dialogs/openfile.h"
#include "model/fields.h"
#include "tests/gui/gui_fixtures.h"
#include "tests/gui/window_helpers.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {

// Answers the save chooser in the user's place while it lives: records what
// it was asked and picks `answer` ("" cancels).
struct SaveChooserAnswer {
    struct Question {
        std::string title, pattern, proposed;
    };
    static inline std::string answer;
    static inline Question asked;
    decltype(chooseSavePath) real = chooseSavePath;

    explicit SaveChooserAnswer(std::string pick)
    {
        answer = std::move(pick);
        asked = {};
        chooseSavePath = [](const char* title, const char* pattern, const std::string& proposed) {
            asked = {title, pattern, proposed};
            return answer;
        };
    }
    ~SaveChooserAnswer() { chooseSavePath = real; }
};

// Saves the window as the user sees it (widgets drawn off screen, so that
// windows of tests running beside it cannot cover it) under the build
// directory's screenshots/ folder, as PPM. Without settling first when
// taken from inside the event loop (a check callback).
void saveShot(Fl_Window* w, const std::string& name, bool settleFirst = true);

// The size of a text as the toolkit draws it, lines wrapped at w pixels
// (0: not wrapped).
void measureText(const std::string& text, Fl_Font font, int size, int& w, int& h);

// The X window of a shown window (0 while it is not shown), for the tools
// that look at it as the window manager would (xprop).
unsigned long windowId(Fl_Window* w);

// Every widget and its label lie inside the window, no label is wider
// than its button, and no two widgets overlap: a user would see text cut
// off or one widget cover another.
inline void expectTidy(Fl_Window* w, const char* dialog)
{
    for (int i = 0; i < w->children(); ++i) {
        Fl_Widget* a = w->child(i);
        if (a->label() && *a->label()) {
            int lw = 0, lh = 0;
            measureText(a->label(), a->labelfont(), a->labelsize(), lw, lh);
            const Fl_Align align = a->align();
            const bool outside = !(align & FL_ALIGN_INSIDE) &&
                                 (align & (FL_ALIGN_LEFT | FL_ALIGN_RIGHT | FL_ALIGN_TOP | FL_ALIGN_BOTTOM));
            const bool beside = outside && !(align & (FL_ALIGN_TOP | FL_ALIGN_BOTTOM));
            int left = align & FL_ALIGN_LEFT ? a->x() : a->x() + (a->w() - lw) / 2;
            if (beside)
                left = align & FL_ALIGN_LEFT ? a->x() - lw : a->x() + a->w();
            if (dynamic_cast<Fl_Button*>(a) && !dynamic_cast<Fl_Check_Button*>(a)) {
                EXPECT_LE(lw, a->w() - 4) << dialog << ": \"" << a->label() << "\" does not fit its button";
            }
            EXPECT_TRUE(left >= 0 && left + lw <= w->w()) << dialog << ": \"" << a->label() << "\" cut by the window";
        }
        EXPECT_TRUE(a->x() >= 0 && a->y() >= 0 && a->x() + a->w() <= w->w() && a->y() + a->h() <= w->h())
            << dialog << ": widget " << i << " (" << (a->label() ? a->label() : "") << ") runs out of the window";
        for (int j = i + 1; j < w->children(); ++j) {
            Fl_Widget* b = w->child(j);
            const bool apart = a->x() + a->w() <= b->x() || b->x() + b->w() <= a->x() || a->y() + a->h() <= b->y() ||
                               b->y() + b->h() <= a->y();
            EXPECT_TRUE(apart) << dialog << ": widgets " << i << " and " << j << " overlap";
        }
    }
}

// The text of the window's read-only text field (reports, help).
inline std::string fieldText(Fl_Window* w)
{
    auto* field = childOf<Fl_Multiline_Output>(w);
    return field ? field->value() : "";
}

// Tabs as the text field draws them: to the next multiple of 8 characters.
inline std::string expandTabs(const std::string& text)
{
    std::string out;
    int column = 0;
    for (char ch : text) {
        if (ch == '\t') {
            do
                out += ' ';
            while (++column % 8);
        } else {
            out += ch;
            column = ch == '\n' ? 0 : column + 1;
        }
    }
    return out;
}

// The whole text is inside the field and the field inside its window.
inline void expectTextFits(Fl_Window* w, const char* what)
{
    auto* field = childOf<Fl_Multiline_Output>(w);
    ASSERT_NE(field, nullptr) << what << ": no text field";
    EXPECT_TRUE(field->x() >= 0 && field->y() >= 0 && field->x() + field->w() <= w->w() &&
                field->y() + field->h() <= w->h())
        << what << ": the field runs out of its window";
    int tw = 0, th = 0;
    measureText(expandTabs(field->value()), field->textfont(), field->textsize(), tw, th);
    EXPECT_LE(tw, field->w() - 6) << what << ": text cut at the right";
    EXPECT_LE(th, field->h() - 6) << what << ": text cut at the bottom";
}

// The RMSE the statistics report gives the data set; NaN without a
// comparison point, where 0 would read as a perfect fit.
inline float rmseOf(const DataSet& d)
{
    const std::optional<float> rmse = d.hasComparison() ? reportRmse(d.demView(), d.comparisonView()) : std::nullopt;
    return rmse ? *rmse : NAN;
}

// The main window built as at start-up, nothing loaded; every window a
// test opened is closed and deleted afterwards.
class DialogTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        closeDialogWindows();
        MainWindowTest::TearDown();
    }

    // The menu entry of a path chosen, as a click on it would.
    void choose(const char* path) { entry(path).do_callback(win().menuBar()); }

    // Opens files through the dialog as a user would: fields typed, kind
    // ticked, Open pressed. Returns the dialog (closed on success).
    OpenDialog* openThroughDialog(const std::string& dem, const std::string& comp = "",
                                  Fl_Check_Button* OpenDialog::*kind = nullptr, bool align = true)
    {
        comp.empty() ? openDemDialog(*session) : openPairDialog(*session);
        OpenDialog* d = openwin;
        d->finput->value(dem.c_str());
        if (!comp.empty())
            d->finput2->value(comp.c_str());
        if (kind)
            tick(d->*kind, true);
        if (d->alignBox && !align)
            tick(d->alignBox, false);
        click(childOf<Fl_Button>(d, "Open"));
        return d;
    }
};

} // namespace gui_test

#endif

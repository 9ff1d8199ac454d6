// The main window as a user first sees it: every widget where the layout
// puts it, with its label, look, starting value and whether it can be used.
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Value_Output.H>

#include <cstring>
#include <set>
#include <sstream>
#include <vector>

#include "app/callbacks.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/statsreport.h"
#include "mainwindow_fixtures.h"

namespace {

using mainwindow_test::MainWindowTest;

// What kind of thing a child of the main window is, as far as its look goes.
enum class Role {
    Menubar, Viewer, StatusText, StatusNumber, Counter, Push, SmallPush, Check, Round, Frame,
    Title, Plain, LegendValue, Swatch, Block
};

struct Row {
    Role role;
    int x, y, w, h;
    const char* label;      // nullptr: no label
    Fl_Callback* callback;  // nullptr: the toolkit's default
    bool active;
    Fl_Widget* global;      // the global that must point at it, or nullptr
    double value = 0;       // counters, number fields, check boxes (0/1)
    const char* text = nullptr; // text of titles
    Fl_Color colour = 0;    // swatches
};

Row widget(Role role, int x, int y, int w, int h, const char* label, Fl_Callback* cb,
           Fl_Widget* global = nullptr, bool active = true)
{
    return Row{role, x, y, w, h, label, cb, active, global};
}
Row push(int x, int y, int w, int h, const char* label, Fl_Callback* cb, Fl_Widget* global = nullptr,
         bool active = true)
{
    return widget(Role::Push, x, y, w, h, label, cb, global, active);
}
Row help(int x, int y) { return push(x, y, 15, 20, "?", popup); }
Row check(int x, int y, const char* label, Fl_Callback* cb, Fl_Widget* global, double on = 0)
{
    Row r = widget(Role::Check, x, y, 13, 13, label, cb, global, false);
    r.value = on;
    return r;
}
Row round(int x, int y, const char* label, Fl_Callback* cb, Fl_Widget* global, double on)
{
    Row r = widget(Role::Round, x, y, 13, 13, label, cb, global);
    r.value = on;
    return r;
}
Row counterRow(int x, int y, int w, int h, const char* label, Fl_Callback* cb, Fl_Widget* global,
               double value, bool active = true)
{
    Row r = widget(Role::Counter, x, y, w, h, label, cb, global, active);
    r.value = value;
    return r;
}
Row frame(int x, int y, int w, int h) { return widget(Role::Frame, x, y, w, h, nullptr, nullptr); }
Row title(int x, int y, int w, int h, const char* text)
{
    Row r = widget(Role::Title, x, y, w, h, nullptr, nullptr);
    r.text = text;
    return r;
}
Row plain(int x, int y, int w, int h, const char* label)
{
    return widget(Role::Plain, x, y, w, h, label, nullptr);
}
Row legend(int x, int y, int w, int h, double value, Fl_Widget* global)
{
    Row r = widget(Role::LegendValue, x, y, w, h, nullptr, nullptr, global);
    r.value = value;
    return r;
}
Row swatchRow(int x, int y, uchar red, uchar green, uchar blue, Fl_Widget* global = nullptr)
{
    Row r = widget(Role::Swatch, x, y, 10, 10, ">       ", nullptr, global);
    r.colour = fl_rgb_color(red, green, blue);
    return r;
}

// Every child of the main window in creation (and drawing) order.
std::vector<Row> expectedLayout()
{
    return {
        widget(Role::Menubar, 0, 0, 1050, 25, nullptr, nullptr, menubar),
        widget(Role::Viewer, 0, 25, 650, 625, "", nullptr, gl),

        // Status row.
        widget(Role::StatusText, 60, 650, 200, 20, "DEM file:", nullptr, file1Label, false),
        widget(Role::StatusText, 400, 650, 200, 20, "Comparison file:", nullptr, file2Label, false),
        widget(Role::StatusNumber, 60, 675, 50, 20, "X-corner:", nullptr, xcornerLabel),
        widget(Role::StatusNumber, 200, 675, 50, 20, "Y-corner:", nullptr, ycornerLabel),
        widget(Role::StatusNumber, 300, 675, 20, 20, "Cellsize:", nullptr, cellsizeLabel),
        counterRow(400, 680, 70, 15, "Vertical Exageration:", vChange, vdisplay, 1),

        // Curvature error section.
        help(834, 340),
        counterRow(700, 410, 100, 15, "Curvature Error Units", updateUnitGUI, unitSliderGUI, 1,
                   false),
        frame(670, 330, 160, 100),
        title(705, 321, 90, 20, "Curvature Error"),
        check(680, 337, "Display", Cerrfn, Cerr),
        legend(700, 380, 20, 20, 1, cerrLabel),
        swatchRow(730, 385, 255, 255, 178, curveYLabel),
        legend(700, 365, 20, 20, 2, cerr2Label),
        swatchRow(730, 370, 254, 204, 92, curveOLabel),
        legend(700, 350, 20, 20, 3, cerr3Label),
        swatchRow(730, 355, 253, 141, 60, curveRLabel),
        push(765, 365, 40, 15, "Graph", graphCurve, graphCButton, false),

        // Local difference error section.
        help(834, 449),
        frame(670, 440, 160, 120),
        title(690, 430, 125, 20, "Local Difference Error"),
        swatchRow(730, 469, 227, 26, 28),
        swatchRow(730, 483, 253, 141, 60),
        swatchRow(730, 496, 254, 204, 92),
        swatchRow(730, 510, 255, 255, 178),
        push(765, 490, 40, 15, "Graph", graphDiff, graphDButton, false),
        counterRow(700, 539, 100, 15, "Difference Error Units", updateUnitldGUI, unitSliderldGUI,
                   1, false),
        check(680, 449, "Elev.", lerrfn, lerr),
        check(730, 449, "Curv.", curverrfn, curverr),
        check(780, 449, "Slope", nullptr, sloperr),
        legend(700, 510, 30, 10, 1, lderrLabel),
        legend(700, 496, 30, 10, 2, lderr2Label),
        legend(700, 483, 30, 10, 3, lderr3Label),
        legend(700, 469, 30, 10, 4, lderr4Label),

        // Display section.
        help(834, 45),
        frame(670, 35, 160, 290),
        title(730, 26, 45, 20, "Display"),
        plain(700, 45, 40, 20, "Zoom"),
        push(750, 45, 20, 20, "In", ZoomInButton_callback),
        push(780, 45, 20, 20, "Out", ZoomOutButton_callback),
        check(710, 70, "Show Axes", axesfn, axes),
        plain(680, 85, 145, 20, "Rotate 90 Degrees about"),
        plain(710, 105, 30, 20, "Horizontal axis"),
        push(770, 105, 15, 20, "+", XPlus90Button_callback),
        push(800, 105, 15, 20, "-", XMinus90Button_callback),
        plain(710, 125, 45, 20, "Vertical axis"),
        push(770, 125, 15, 20, "+", ZPlus90Button_callback),
        push(800, 125, 15, 20, "-", ZMinus90Button_callback),
        plain(695, 150, 40, 20, "View"),
        push(730, 150, 30, 20, "Top", TopButton_callback),
        push(775, 150, 30, 20, "Side", SideButton_callback),
        push(730, 170, 75, 20, "Reset View", ResetButton_callback),
        widget(Role::SmallPush, 755, 225, 25, 15, "East", sunPlusFN),
        widget(Role::SmallPush, 725, 225, 25, 15, "West", sunMinusFN),
        title(690, 205, 130, 20, "Move sun through ellipse "),
        check(710, 195, "Display Sun", sunCall, sun),
        check(685, 245, "Magnifier", drawMagnifier, mag),
        check(685, 260, "Contours/Ref. Data", contfn, cont),
        check(685, 275, "Shaded Relief", lightfn, light, 1),
        check(685, 290, "Height Colors", colorfn, colors),
        check(685, 305, "Aspect Colors", slopeFn, slope),

        push(520, 675, 60, 20, "Statistics", stats),

        // Profile section.
        help(834, 575),
        frame(670, 570, 160, 60),
        title(715, 560, 75, 20, "Profile View"),
        check(680, 575, "Display", proffn, prof),
        check(760, 575, "Glyphs", glyphfn, glyph),
        round(680, 595, "Y-Axis", profV, profVert, 1),
        round(680, 610, "X-Axis", profH, profHoriz, 0),
        counterRow(735, 605, 90, 15, "Row/Column:", pChange, pdisplay, 1),

        // Height classes section.
        frame(670, 639, 160, 50),
        title(710, 630, 90, 20, "Height Classes"),
        help(834, 650),
        push(725, 670, 40, 15, "Graph", graphClass, graphButton, false),
        check(680, 650, "Color Height Classes", heights, col),

        widget(Role::Block, 650, 650, 850, 700, "", nullptr, block, false),
    };
}

std::string describe(const Row& r, int index)
{
    std::ostringstream s;
    s << "child #" << index << " (";
    if (r.label && *r.label)
        s << '"' << r.label << '"';
    else if (r.text)
        s << "title \"" << r.text << '"';
    else
        s << "unlabelled";
    s << " at " << r.x << ',' << r.y << ')';
    return s.str();
}

bool sameLabel(const char* actual, const char* expected)
{
    if (!expected)
        return actual == nullptr;
    return actual && std::strcmp(actual, expected) == 0;
}

// The look every widget of a role shares.
void checkRole(Fl_Widget* w, const Row& r, const std::string& who)
{
    switch (r.role) {
    case Role::Menubar:
        EXPECT_NE(dynamic_cast<Fl_Menu_Bar*>(w), nullptr) << who << " is not a menu bar";
        EXPECT_EQ(w->box(), FL_PLASTIC_UP_BOX) << who << ": menu bar is not drawn in plastic";
        break;
    case Role::Viewer:
        EXPECT_NE(dynamic_cast<MyWindow*>(w), nullptr) << who << " is not the GL viewer";
        break;
    case Role::StatusText:
    case Role::StatusNumber: {
        auto* in = dynamic_cast<Fl_Input_*>(w);
        auto* num = dynamic_cast<Fl_Value_Output*>(w);
        if (r.role == Role::StatusText)
            ASSERT_NE(dynamic_cast<Fl_Output*>(w), nullptr) << who << " is not a text field";
        else
            ASSERT_NE(num, nullptr) << who << " is not a number field";
        EXPECT_EQ(w->box(), FL_FLAT_BOX) << who << ": status field has a border";
        EXPECT_EQ(w->color(), FL_BACKGROUND_COLOR) << who << ": status field is not window grey";
        EXPECT_EQ(w->labelsize(), 10) << who << ": status label in the wrong size";
        EXPECT_EQ(w->align(), FL_ALIGN_LEFT) << who << ": label not left of the field";
        if (in) {
            EXPECT_EQ(in->textsize(), 11) << who << ": file name text in the wrong size";
        }
        if (num) {
            EXPECT_EQ(num->textsize(), 10) << who << ": number in the wrong size";
            EXPECT_EQ(num->value(), 0) << who << ": does not show 0 before a file is open";
        }
        break;
    }
    case Role::Counter: {
        auto* c = dynamic_cast<Fl_Counter*>(w);
        ASSERT_NE(c, nullptr) << who << " is not a counter";
        EXPECT_EQ(w->box(), FL_PLASTIC_UP_BOX) << who << ": counter not drawn in plastic";
        EXPECT_EQ(w->align(), FL_ALIGN_TOP) << who << ": counter label not above it";
        EXPECT_EQ(w->labelsize(), 11) << who << ": label in the wrong size";
        EXPECT_EQ(c->value(), r.value) << who << ": counter starts at the wrong value";
        break;
    }
    case Role::Push:
    case Role::SmallPush:
        EXPECT_EQ(dynamic_cast<Fl_Light_Button*>(w), nullptr) << who << " is a toggle, not a button";
        ASSERT_NE(dynamic_cast<Fl_Button*>(w), nullptr) << who << " is not a push button";
        EXPECT_EQ(w->box(), FL_PLASTIC_UP_BOX) << who << ": button not drawn in plastic";
        EXPECT_EQ(w->labelsize(), r.role == Role::SmallPush ? 9 : 11)
            << who << ": button label in the wrong size";
        break;
    case Role::Check:
    case Role::Round: {
        auto* b = dynamic_cast<Fl_Button*>(w);
        if (r.role == Role::Check)
            EXPECT_NE(dynamic_cast<Fl_Check_Button*>(w), nullptr) << who << " is not a check box";
        else
            EXPECT_NE(dynamic_cast<Fl_Round_Button*>(w), nullptr) << who << " is not a round button";
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(w->align(), FL_ALIGN_RIGHT) << who << ": label not to the right of the box";
        EXPECT_EQ(w->labelsize(), 11) << who << ": label in the wrong size";
        EXPECT_EQ(b->type(), FL_TOGGLE_BUTTON) << who << ": not a plain on/off button";
        EXPECT_EQ(b->value(), r.value) << who << (r.value ? ": starts off" : ": starts ticked");
        break;
    }
    case Role::Frame:
        EXPECT_NE(dynamic_cast<Fl_Box*>(w), nullptr) << who << " is not a frame box";
        EXPECT_EQ(w->box(), FL_ROUNDED_FRAME) << who << ": section frame not rounded";
        EXPECT_EQ(w->color(), 46u) << who << ": section frame in the wrong grey";
        break;
    case Role::Title:
    case Role::LegendValue: {
        EXPECT_EQ(w->box(), FL_FLAT_BOX) << who << ": field has a border";
        EXPECT_EQ(w->color(), FL_BACKGROUND_COLOR) << who << ": field is not window grey";
        if (r.role == Role::Title) {
            auto* o = dynamic_cast<Fl_Output*>(w);
            ASSERT_NE(o, nullptr) << who << " is not a read-only text";
            EXPECT_STREQ(o->value(), r.text) << who << ": shows the wrong text";
            const int size = std::strcmp(r.text, "Move sun through ellipse ") == 0 ? 10 : 11;
            EXPECT_EQ(o->textsize(), size) << who << ": text in the wrong size";
            EXPECT_EQ(o->position(), 0) << who << ": text scrolled, its start hidden";
        } else {
            auto* v = dynamic_cast<Fl_Value_Output*>(w);
            ASSERT_NE(v, nullptr) << who << " is not a number field";
            EXPECT_EQ(v->value(), r.value) << who << ": legend shows the wrong number of units";
            EXPECT_EQ(v->textsize(), 11) << who << ": legend number in the wrong size";
        }
        break;
    }
    case Role::Plain:
        EXPECT_NE(dynamic_cast<Fl_Box*>(w), nullptr) << who << " is not a plain label";
        EXPECT_EQ(w->box(), FL_NO_BOX) << who << ": plain label has a box";
        EXPECT_EQ(w->align(), FL_ALIGN_CENTER) << who << ": plain label not centred";
        EXPECT_EQ(w->labelsize(), 11) << who << ": label in the wrong size";
        break;
    case Role::Swatch:
        EXPECT_NE(dynamic_cast<Fl_Button*>(w), nullptr) << who << " is not a swatch button";
        EXPECT_EQ(w->box(), FL_FLAT_BOX) << who << ": swatch has a border";
        EXPECT_EQ(w->align(), FL_ALIGN_LEFT) << who << ": the '>' is not left of the swatch";
        EXPECT_EQ(w->color(), r.colour) << who << ": swatch in the wrong colour";
        break;
    case Role::Block:
        EXPECT_NE(dynamic_cast<Fl_Button*>(w), nullptr) << who << " is not the cover button";
        EXPECT_EQ(w->box(), FL_FLAT_BOX) << who << ": the cover has a border";
        EXPECT_EQ(w->color(), FL_BACKGROUND_COLOR) << who << ": the cover is not window grey";
        EXPECT_FALSE(w->visible()) << "the blank cover hides part of the panel at start";
        break;
    }
}

TEST_F(MainWindowTest, WindowHasTitleAndSize)
{
    EXPECT_STREQ(win->label(), "Orolith: Landwarden (v1.2)") << "wrong window title";
    EXPECT_EQ(win->x(), 0) << "window not at the screen's left edge";
    EXPECT_EQ(win->y(), 0) << "window not at the screen's top edge";
    EXPECT_EQ(win->w(), 850) << "window width";
    EXPECT_EQ(win->h(), 700) << "window height";
    EXPECT_EQ(gl->parent(), win) << "viewer is not inside the main window";
    EXPECT_EQ(win->resizable(), gl) << "resizing the window would not resize the viewer";
    EXPECT_EQ(Fl_Group::current(), nullptr)
        << "the main window's child list is left open: later windows would land inside it";
}

TEST_F(MainWindowTest, EveryWidgetInItsPlaceWithItsLook)
{
    const std::vector<Row> rows = expectedLayout();
    ASSERT_EQ(win->children(), static_cast<int>(rows.size()))
        << "the main window has a different number of widgets than its layout";
    for (int i = 0; i < win->children(); ++i) {
        Fl_Widget* w = win->child(i);
        const Row& r = rows[i];
        const std::string who = describe(r, i);
        EXPECT_TRUE(sameLabel(w->label(), r.label))
            << who << ": label reads \"" << (w->label() ? w->label() : "(none)") << '"';
        EXPECT_EQ(w->x(), r.x) << who << ": x";
        EXPECT_EQ(w->y(), r.y) << who << ": y";
        EXPECT_EQ(w->w(), r.w) << who << ": width";
        EXPECT_EQ(w->h(), r.h) << who << ": height";
        if (r.role != Role::Viewer && r.role != Role::Menubar) {
            Fl_Callback* expected = r.callback ? r.callback : &Fl_Widget::default_callback;
            EXPECT_EQ(w->callback(), expected) << who << ": does the wrong thing when used";
            EXPECT_EQ(w->user_data(), nullptr) << who << ": carries user data";
        }
        EXPECT_EQ(w->active() != 0, r.active)
            << who << (r.active ? ": greyed out at start" : ": usable before any data is loaded");
        if (r.global) {
            EXPECT_EQ(w, r.global) << who << ": not reachable through its global";
        }
        checkRole(w, r, who);
    }
}

TEST_F(MainWindowTest, GlobalsPointAtDistinctWidgets)
{
    const std::vector<Row> rows = expectedLayout();
    std::set<Fl_Widget*> seen;
    for (const Row& r : rows) {
        if (r.global) {
            EXPECT_TRUE(seen.insert(r.global).second) << "two layout rows share one global";
        }
    }
    EXPECT_EQ(seen.size(), 41u) << "every named widget has its own global";
}

TEST_F(MainWindowTest, CountersHaveTheirRangesAndSteps)
{
    struct Expect {
        Fl_Counter* c;
        const char* name;
        double min, max, step;
    };
    const Expect expects[] = {
        {vdisplay, "Vertical Exageration", 0, 10, 1},
        {unitSliderGUI, "Curvature Error Units", 0.5, 5, 0.1},
        {unitSliderldGUI, "Difference Error Units", 0, 10, 0.1},
        {pdisplay, "Row/Column", 1, 20000, 1},
    };
    for (const Expect& e : expects) {
        EXPECT_EQ(e.c->minimum(), e.min) << e.name << ": lowest value";
        EXPECT_EQ(e.c->maximum(), e.max) << e.name << ": highest value";
        EXPECT_DOUBLE_EQ(e.c->step(), e.step) << e.name << ": single-arrow step";
    }
    EXPECT_EQ(cerrLabel->minimum(), 0.5) << "curvature legend range";
    EXPECT_EQ(cerrLabel->maximum(), 5) << "curvature legend range";
    EXPECT_EQ(lderrLabel->minimum(), 0) << "difference legend range";
    EXPECT_EQ(lderrLabel->maximum(), 10) << "difference legend range";
}

// The large step has no getter: press each counter's right double arrow as
// a user would and see where it lands.
TEST_F(MainWindowTest, DoubleArrowsTakeTheLargeStep)
{
    struct Expect {
        Fl_Counter* c;
        const char* name;
        double after;
    };
    const Expect expects[] = {
        {unitSliderGUI, "Curvature Error Units", 1.5},
        {unitSliderldGUI, "Difference Error Units", 1.5},
        {pdisplay, "Row/Column", 11},
        // Fires vChange with nothing loaded: the empty model must cope.
        {vdisplay, "Vertical Exageration", 3},
    };
    for (const Expect& e : expects) {
        e.c->activate(); // a greyed-out counter ignores the mouse
        Fl::e_x = e.c->x() + e.c->w() - 2;
        Fl::e_y = e.c->y() + e.c->h() / 2;
        e.c->handle(FL_PUSH);
        e.c->handle(FL_RELEASE);
        EXPECT_DOUBLE_EQ(e.c->value(), e.after) << e.name << ": right double arrow from 1";
    }
}

TEST_F(MainWindowTest, StatusRowFileNamesAreBlackLabelledAndEmpty)
{
    EXPECT_EQ(file1Label->labelcolor(), FL_BLACK) << "\"DEM file:\" label colour";
    EXPECT_STREQ(file1Label->value(), "") << "a DEM name shows before any file is open";
    EXPECT_STREQ(file2Label->value(), "") << "a comparison name shows before any file is open";
}

TEST_F(MainWindowTest, ResizingTheWindowResizesTheViewer)
{
    win->resize(0, 0, 1050, 800);
    EXPECT_EQ(gl->x(), 0) << "viewer left edge after growing the window";
    EXPECT_EQ(gl->y(), 25) << "viewer top edge after growing the window";
    EXPECT_EQ(gl->w(), 850) << "viewer did not take up the extra width";
    EXPECT_EQ(gl->h(), 725) << "viewer did not take up the extra height";

    win->resize(0, 0, 750, 650);
    EXPECT_EQ(gl->w(), 550) << "viewer did not give up width when the window shrank";
    EXPECT_EQ(gl->h(), 575) << "viewer did not give up height when the window shrank";
}

} // namespace

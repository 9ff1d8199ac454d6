// The main window as a user meets it: title, the widgets and menu entries
// where they are and what they do, which tools a data set unlocks, hiding
// the tool panel, and check boxes, menu ticks and viewer flags staying in
// step. Each callback is called as a click or a menu choice would call it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Output.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Value_Output.H>

#include <cstring>
#include <set>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "dialogs/coregwindow.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/saveoutputs.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "tests/gui/gui_fixtures.h"

namespace gui_test {
namespace {

TEST_F(MainWindowTest, TitleSizeAndResizableViewer)
{
    EXPECT_STREQ(win->label(), "Orolith: Landwarden (v1.2)");
    EXPECT_TRUE(win->x() == 0 && win->y() == 0 && win->w() == 850 && win->h() == 700);
    EXPECT_TRUE(menubar->parent() == win && menubar->y() == 0 && menubar->w() == 1050 && menubar->h() == 25);
    EXPECT_TRUE(gl->parent() == win && gl->x() == 0 && gl->y() == 25 && gl->w() == 650 && gl->h() == 625);
    EXPECT_EQ(Fl_Group::current(), nullptr) << "child list left open: later windows would land inside it";
    EXPECT_EQ(win->resizable(), gl) << "resizing the window would not resize the viewer";
    win->resize(0, 0, 1050, 800);
    EXPECT_TRUE(gl->x() == 0 && gl->y() == 25 && gl->w() == 850 && gl->h() == 725) << "after growing";
}

// A widget a user reads or works: kind (Button, check boX, Round button,
// Counter, text Output, Number output), label, place and size, action,
// activity and value at start; with a global, the global must point at it.
struct WidgetRow {
    Fl_Widget* global;
    char kind;
    const char* label;
    int x, y, w, h;
    Fl_Callback* callback;
    bool active;
    double value;
};

bool isKind(Fl_Widget* w, char kind)
{
    switch (kind) {
    case 'B': return dynamic_cast<Fl_Button*>(w) && !dynamic_cast<Fl_Light_Button*>(w);
    case 'X': return dynamic_cast<Fl_Check_Button*>(w);
    case 'R': return dynamic_cast<Fl_Round_Button*>(w);
    case 'C': return dynamic_cast<Fl_Counter*>(w);
    case 'O': return dynamic_cast<Fl_Output*>(w);
    case 'N': return dynamic_cast<Fl_Value_Output*>(w);
    }
    return false;
}

double valueOf(Fl_Widget* w)
{
    if (auto* b = dynamic_cast<Fl_Button*>(w))
        return b->value();
    if (auto* v = dynamic_cast<Fl_Valuator*>(w))
        return v->value();
    auto* o = dynamic_cast<Fl_Output*>(w);
    return o ? std::strlen(o->value()) : 0; // file names: empty before a file is open
}

TEST_F(MainWindowTest, WidgetsInTheirPlaces)
{
    const WidgetRow rows[] = {
        {file1Label, 'O', "DEM file:", 60, 650, 200, 20, nullptr, false, 0},
        {file2Label, 'O', "Comparison file:", 400, 650, 200, 20, nullptr, false, 0},
        {xcornerLabel, 'N', "X-corner:", 60, 675, 50, 20, nullptr, true, 0},
        {ycornerLabel, 'N', "Y-corner:", 200, 675, 50, 20, nullptr, true, 0},
        {cellsizeLabel, 'N', "Cellsize:", 300, 675, 20, 20, nullptr, true, 0},
        {vdisplay, 'C', "Vertical Exageration:", 400, 680, 70, 15, vChange, true, 1},
        {nullptr, 'B', "Statistics", 520, 675, 60, 20, stats, true, 0},
        // Display section.
        {nullptr, 'B', "?", 834, 45, 15, 20, popup, true, 0},
        {nullptr, 'B', "In", 750, 45, 20, 20, ZoomInButton_callback, true, 0},
        {nullptr, 'B', "Out", 780, 45, 20, 20, ZoomOutButton_callback, true, 0},
        {axes, 'X', "Show Axes", 710, 70, 13, 13, axesfn, false, 0},
        {nullptr, 'B', "+", 770, 105, 15, 20, XPlus90Button_callback, true, 0},
        {nullptr, 'B', "-", 800, 105, 15, 20, XMinus90Button_callback, true, 0},
        {nullptr, 'B', "+", 770, 125, 15, 20, ZPlus90Button_callback, true, 0},
        {nullptr, 'B', "-", 800, 125, 15, 20, ZMinus90Button_callback, true, 0},
        {nullptr, 'B', "Top", 730, 150, 30, 20, TopButton_callback, true, 0},
        {nullptr, 'B', "Side", 775, 150, 30, 20, SideButton_callback, true, 0},
        {nullptr, 'B', "Reset View", 730, 170, 75, 20, ResetButton_callback, true, 0},
        {sun, 'X', "Display Sun", 710, 195, 13, 13, sunCall, false, 0},
        {nullptr, 'B', "West", 725, 225, 25, 15, sunMinusFN, true, 0},
        {nullptr, 'B', "East", 755, 225, 25, 15, sunPlusFN, true, 0},
        {mag, 'X', "Magnifier", 685, 245, 13, 13, drawMagnifier, false, 0},
        {cont, 'X', "Contours/Ref. Data", 685, 260, 13, 13, contfn, false, 0},
        {light, 'X', "Shaded Relief", 685, 275, 13, 13, lightfn, false, 1},
        {colors, 'X', "Height Colors", 685, 290, 13, 13, colorfn, false, 0},
        {slope, 'X', "Aspect Colors", 685, 305, 13, 13, slopeFn, false, 0},
        // Curvature error section.
        {nullptr, 'B', "?", 834, 340, 15, 20, popup, true, 0},
        {Cerr, 'X', "Display", 680, 337, 13, 13, Cerrfn, false, 0},
        {graphCButton, 'B', "Graph", 765, 365, 40, 15, graphCurve, false, 0},
        {unitSliderGUI, 'C', "Curvature Error Units", 700, 410, 100, 15, updateUnitGUI, false, 1},
        // Local difference error section; slope differences are never usable.
        {nullptr, 'B', "?", 834, 449, 15, 20, popup, true, 0},
        {lerr, 'X', "Elev.", 680, 449, 13, 13, lerrfn, false, 0},
        {curverr, 'X', "Curv.", 730, 449, 13, 13, curverrfn, false, 0},
        {sloperr, 'X', "Slope", 780, 449, 13, 13, Fl_Widget::default_callback, false, 0},
        {graphDButton, 'B', "Graph", 765, 490, 40, 15, graphDiff, false, 0},
        {unitSliderldGUI, 'C', "Difference Error Units", 700, 539, 100, 15, updateUnitldGUI, false, 1},
        // Profile section.
        {nullptr, 'B', "?", 834, 575, 15, 20, popup, true, 0},
        {prof, 'X', "Display", 680, 575, 13, 13, proffn, false, 0},
        {glyph, 'X', "Glyphs", 760, 575, 13, 13, glyphfn, false, 0},
        {profVert, 'R', "Y-Axis", 680, 595, 13, 13, profV, true, 1},
        {profHoriz, 'R', "X-Axis", 680, 610, 13, 13, profH, true, 0},
        {pdisplay, 'C', "Row/Column:", 735, 605, 90, 15, pChange, true, 1},
        // Height classes section.
        {nullptr, 'B', "?", 834, 650, 15, 20, popup, true, 0},
        {col, 'X', "Color Height Classes", 680, 650, 13, 13, heights, false, 0},
        {graphButton, 'B', "Graph", 725, 670, 40, 15, graphClass, false, 0},
    };
    for (const WidgetRow& r : rows) {
        const std::string who = '"' + std::string(r.label) + "\" at " + std::to_string(r.x) + "," +
                                std::to_string(r.y);
        Fl_Widget* w = nullptr;
        for (int i = 0; i < win->children() && !w; ++i) {
            Fl_Widget* c = win->child(i);
            if (c->x() == r.x && c->y() == r.y && c->label() && std::strcmp(c->label(), r.label) == 0)
                w = c;
        }
        ASSERT_NE(w, nullptr) << who << " is missing";
        EXPECT_TRUE(isKind(w, r.kind)) << who << " is not of kind " << r.kind;
        EXPECT_TRUE(w->w() == r.w && w->h() == r.h) << who << ": size " << w->w() << "x" << w->h();
        EXPECT_TRUE(!r.global || w == r.global) << who << " is not reachable through its global";
        EXPECT_TRUE(!r.callback || w->callback() == r.callback) << who << " does the wrong thing";
        EXPECT_EQ(w->active() != 0, r.active) << who << (r.active ? " greyed out" : " usable") << " at start";
        EXPECT_EQ(valueOf(w), r.value) << who << " starts at the wrong value";
    }
    EXPECT_FALSE(block->visible()) << "the blank cover hides part of the panel at start";
}

TEST_F(MainWindowTest, SectionTitlesAndLegends)
{
    // Titles show their start: a text wider than its field would otherwise
    // scroll its first letters out of sight.
    std::vector<std::string> titles;
    for (int i = 0; i < win->children(); ++i)
        if (auto* o = dynamic_cast<Fl_Output*>(win->child(i)); o && !o->label()) {
            titles.push_back(o->value());
            EXPECT_EQ(o->position(), 0) << '"' << o->value() << "\" scrolled";
        }
    EXPECT_EQ(titles, (std::vector<std::string>{"Curvature Error", "Local Difference Error", "Display",
                                                "Move sun through ellipse ", "Profile View",
                                                "Height Classes"}));
    // Swatches of curvature 1 to 3 units, then of differences of 4 to 1 units.
    const int rgb[7][3] = {{255, 255, 178}, {254, 204, 92}, {253, 141, 60}, {227, 26, 28},
                           {253, 141, 60},  {254, 204, 92}, {255, 255, 178}};
    std::vector<Fl_Color> expected, swatches;
    for (const auto& c : rgb)
        expected.push_back(fl_rgb_color(c[0], c[1], c[2]));
    for (int i = 0; i < win->children(); ++i)
        if (win->child(i)->label() && std::string(win->child(i)->label()) == ">       ")
            swatches.push_back(win->child(i)->color());
    EXPECT_EQ(swatches, expected);
    std::vector<double> units;
    for (Fl_Value_Output* v : {cerrLabel, cerr2Label, cerr3Label, lderrLabel, lderr2Label, lderr3Label,
                               lderr4Label})
        units.push_back(v->value());
    EXPECT_EQ(units, (std::vector<double>{1, 2, 3, 1, 2, 3, 4})) << "legends show the wrong units";
}

TEST_F(MainWindowTest, CountersRangesAndSteps)
{
    struct Expect {
        Fl_Counter* c;
        double min, max, step, afterLargeStep;
    };
    // The right double arrow from 1; on the exaggeration counter it fires
    // vChange with nothing loaded, which the empty model must survive.
    for (const Expect& e : {Expect{vdisplay, 0, 10, 1, 3}, Expect{unitSliderGUI, 0.5, 5, 0.1, 1.5},
                            Expect{unitSliderldGUI, 0, 10, 0.1, 1.5}, Expect{pdisplay, 1, 20000, 1, 11}}) {
        EXPECT_TRUE(e.c->minimum() == e.min && e.c->maximum() == e.max) << e.c->label() << ": range";
        EXPECT_DOUBLE_EQ(e.c->step(), e.step) << e.c->label();
        e.c->activate(); // a greyed-out counter ignores the mouse
        Fl::e_x = e.c->x() + e.c->w() - 2;
        Fl::e_y = e.c->y() + e.c->h() / 2;
        e.c->handle(FL_PUSH);
        e.c->handle(FL_RELEASE);
        EXPECT_DOUBLE_EQ(e.c->value(), e.afterLargeStep) << e.c->label() << ": right double arrow";
    }
}

TEST_F(MainWindowTest, MenuEntriesAtTheirPositions)
{
    ASSERT_EQ(menubar->size(), menupos::MENU_SIZE);
    EXPECT_NE(menubar->menu(), menuTemplate) << "the menu bar would tick the constant template";
    // The callbacks tick and grey these by position; only Lighting starts
    // ticked. (ToolsFollowTheDataSet checks which entries start greyed out.)
    namespace mp = menupos;
    const std::tuple<int, const char*, Fl_Callback*> named[] = {
        {mp::SAVE_IMAGE, "Save Image...", saveImage}, {mp::SAVE_PROFILE, "Save Profile...", saveProfile},
        {mp::TRI, "Magnifier", drawMagnifierM},       {mp::LIGHT, "Lighting", lightfnM},
        {mp::AXES, "Axes", axesfnM},                  {mp::CONT, "Contour\\Ref. Data", contfnM},
        {mp::SUN, "Sun", sunCallM},                   {mp::COLORS, "Height Colors", colorM},
        {mp::SLOPE, "Slope Colors", slopeM},          {mp::HEIGHTS, "Color Height Classes", heightsM},
        {mp::CERR, "Curvature Error", CerrfnM},       {mp::LERR, "Local Difference Error", lerrfnM},
        {mp::GRAPH, "Graph", graph},                  {mp::SPARSE, "Make Sparse file", sparse},
        {mp::COREGISTER, "Co-register...", coregistration},
    };
    for (auto [pos, label, callback] : named) {
        const Fl_Menu_Item& it = menubar->menu()[pos];
        ASSERT_NE(it.label(), nullptr) << "position " << pos;
        EXPECT_STREQ(it.label(), label) << "position " << pos << ": a callback would tick the wrong entry";
        EXPECT_EQ(it.callback(), callback) << label;
        EXPECT_EQ(it.checkbox() != 0, pos >= mp::TRI && pos < mp::GRAPH) << label << ": tick box";
        EXPECT_EQ(it.value() != 0, pos == mp::LIGHT) << label << ": tick at start";
    }
    EXPECT_STREQ(entry(mp::TOOLS).label(), "Display\\Hide Tools");
    EXPECT_TRUE(entry(mp::TOOLS).checkbox() && entry(mp::TOOLS).value()) << "\"Display\\Hide Tools\" not ticked at start";
    // The File menu in its order, the saves after the Open submenu.
    std::vector<std::string> file;
    for (int pos = 1; pos < 10; ++pos)
        file.push_back(entry(pos).label() ? entry(pos).label() : "|");
    EXPECT_EQ(file, (std::vector<std::string>{"&Open...", "DEM File", "DEM and Comparison File",
                                              "Add/Change Comparison File...", "|", "Save Image...",
                                              "Save Profile...", "E&xit", "|"}));
}

// --- which tools a data set unlocks -------------------------------------------

// With `files` 2, fileType says the comparison kind in use.
void expectUsable(int files, const char* when)
{
    for (Fl_Widget* w : std::vector<Fl_Widget*>{mag, slope, sun, unitSliderGUI, axes, light, colors, Cerr,
                                                graphCButton, prof})
        EXPECT_EQ(w->active() != 0, files >= 1) << when << ": DEM tool \"" << w->label() << '"';
    for (Fl_Widget* w : std::vector<Fl_Widget*>{glyph, unitSliderldGUI, graphButton, graphDButton, col, cont,
                                                lerr, curverr})
        EXPECT_EQ(w->active() != 0, files == 2) << when << ": comparison tool \"" << w->label() << '"';
    namespace mp = menupos;
    const std::set<int> demEntries = {mp::TRI,    mp::LIGHT, mp::AXES,       mp::SUN,
                                      mp::COLORS, mp::SLOPE, mp::SAVE_IMAGE, mp::SAVE_PROFILE};
    const std::set<int> compEntries = {mp::CONT, mp::HEIGHTS, mp::CERR, mp::LERR, mp::GRAPH, mp::SPARSE};
    for (int pos = 0; pos < mp::MENU_SIZE; ++pos) {
        const Fl_Menu_Item& it = menubar->menu()[pos];
        bool usable = demEntries.count(pos) ? files >= 1 : compEntries.count(pos) ? files == 2 : true;
        if (pos == mp::COREGISTER)
            usable = files == 2 && fileType == DEM;
        EXPECT_TRUE(!it.label() || (it.active() != 0) == usable) << when << ": menu \"" << it.label() << '"';
    }
    EXPECT_FALSE(sloperr->active()) << when << ": the \"Slope\" difference box is usable";
    EXPECT_TRUE(vdisplay->active() && pdisplay->active() && profVert->active() && profHoriz->active())
        << when << ": exaggeration, profile counter or profile axis greyed out";
}

TEST_F(MainWindowTest, ToolsFollowTheDataSet)
{
    expectUsable(0, "at start");
    FILE_CONST = 1;
    activateTools();
    expectUsable(1, "DEM alone");
    FILE_CONST = 2;
    fileType = DEM;
    activateTools();
    expectUsable(2, "DEM with a comparison DEM");
    fileType = SPARSEF;
    activateTools();
    expectUsable(2, "DEM with sparse data");
    colors->value(1);
    entry(menupos::COLORS).set();
    drawColors = true;
    deactivateTools();
    expectUsable(0, "after deactivation");
    activateTools();
    EXPECT_TRUE(colors->value() && entry(menupos::COLORS).value() && drawColors)
        << "greying and ungreying changed the \"Height Colors\" box, tick or scheme";
    lighting = 0; // switched off with the key l in the viewer
    activateTools();
    EXPECT_FALSE(light->value() || entry(menupos::LIGHT).value()) << "shown lit while the relief is unlit";
    lighting = 1;
    activateTools();
    EXPECT_TRUE(light->value() && entry(menupos::LIGHT).value()) << "shown unlit while the relief is lit";
}

TEST_F(MainWindowTest, HidingToolsCoversThePanelAndShowingRestoresTheLayout)
{
    FILE_CONST = 2;
    activateTools();
    auto hideOrShow = [](bool show) {
        show ? entry(menupos::TOOLS).set() : entry(menupos::TOOLS).clear(); // the toolkit flips it first
        tools(menubar, nullptr);
    };
    hideOrShow(false);
    EXPECT_TRUE(!toolsShown && gl->x() == 0 && gl->w() == 850 && gl->h() == 625)
        << "viewer does not reach over the tool panel: " << gl->w() << " wide";
    EXPECT_TRUE(block->visible() && !block->active() && block->x() == 650 && block->y() == 650 &&
                block->x() + block->w() == 850 && block->y() + block->h() == 700)
        << "panel below the viewer not covered, or the cover reacts";
    EXPECT_FALSE(col->active() || entry(menupos::LERR).active()) << "hidden tools still usable from the menu";
    EXPECT_TRUE(entry(menupos::SAVE_IMAGE).active() && entry(menupos::SAVE_PROFILE).active())
        << "the widened viewer's picture or profile cannot be saved";
    win->resize(0, 0, 1050, 800); // the user makes the window larger while the panel is hidden
    EXPECT_TRUE(gl->w() == 1050 && gl->h() == 725) << "hidden panel shows after resizing";
    EXPECT_TRUE(block->x() == 850 && block->x() + block->w() == 1050 && block->y() + block->h() == 800)
        << "cover does not follow the window";
    hideOrShow(true);
    EXPECT_TRUE(toolsShown && gl->w() == 850 && gl->h() == 725 && !block->visible())
        << "viewer not back beside the panel of the larger window: " << gl->w() << " x " << gl->h();
    EXPECT_TRUE(col->active() && entry(menupos::LERR).active()) << "the data set's tools not restored";
    win->resize(0, 0, 850, 700);
    EXPECT_EQ(gl->w(), 650) << "resizing ignored after showing the tools again";
    FILE_CONST = 0;
    deactivateTools();
    hideOrShow(false);
    hideOrShow(true);
    EXPECT_FALSE(mag->active() || entry(menupos::TRI).active()) << "showing the tools unlocked them, no data";
    EXPECT_EQ(gl->w(), 650) << "hiding and showing changed the layout";
}

// --- boxes, menu ticks and viewer flags in step -------------------------------

class Switches : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        // A 4 x 4 DEM with a bump and comparison data a metre off here and there.
        auto dem = [](int r, int c) { return r == 1 && c == 1 ? 110.0f : 100.0f + r + c; };
        auto comp = [&](int r, int c) { return r == 1 && c == 1 ? 109.0f : dem(r, c) + (r == 3 && c == 3); };
        FILE_CONST = 2;
        ASSERT_TRUE(load(writeGrid("tiny.grd", 4, 4, 10, dem), writeGrid("tinyc.grd", 4, 4, 10, comp), DEM));
        activateTools();
    }
    // A click: the toolkit flips the box, then calls back.
    static void click(Fl_Button* box)
    {
        box->value(!box->value());
        box->do_callback();
    }
    // A menu choice: the toolkit flips the tick, then calls back with the bar.
    static void choose(int pos)
    {
        entry(pos).value() ? entry(pos).clear() : entry(pos).set();
        entry(pos).do_callback(menubar);
    }
    // A key typed while the viewer has the focus.
    static int press(int key, int state = 0)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        return gl->handle(FL_KEYBOARD);
    }
    static std::vector<int> diffColors()
    {
        std::vector<int> c;
        for (int t = 0; t < mt.getNumTriangles(); ++t)
            c.push_back(mt.triangle(t).diffColor);
        return c;
    }
    // Box, menu tick and viewer flag all say `on`.
    static ::testing::AssertionResult shows(Fl_Button* box, int pos, bool flag, bool on)
    {
        if ((box->value() != 0) == on && (entry(pos).value() != 0) == on && flag == on)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << '"' << box->label() << "\": box " << int(box->value())
                                             << ", tick " << entry(pos).value() << ", flag " << flag;
    }
};

TEST_F(Switches, SurfaceSchemesExcludeEachOther)
{
    click(slope);
    EXPECT_TRUE(shows(slope, menupos::SLOPE, colorSlope, true));
    click(colors);
    EXPECT_TRUE(shows(slope, menupos::SLOPE, colorSlope, false));
    EXPECT_TRUE(shows(colors, menupos::COLORS, drawColors, true));
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
    choose(menupos::CONT);
    EXPECT_TRUE(shows(colors, menupos::COLORS, drawColors, false));
    EXPECT_TRUE(shows(cont, menupos::CONT, drawContours, true));
    choose(menupos::COLORS);
    EXPECT_TRUE(shows(cont, menupos::CONT, drawContours, false));
    EXPECT_TRUE(shows(colors, menupos::COLORS, drawColors, true));
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
    // Switching a scheme off touches nothing else.
    click(Cerr);
    click(colors);
    EXPECT_TRUE(shows(colors, menupos::COLORS, drawColors, false));
    EXPECT_TRUE(shows(Cerr, menupos::CERR, drawCurveColor, true));
    click(Cerr);
    EXPECT_TRUE(shows(Cerr, menupos::CERR, drawCurveColor, false));
    EXPECT_FALSE(colors->value() || slope->value() || col->value() || cont->value()) << "a scheme came on";
}

TEST_F(Switches, ErrorDisplaysExcludeEachOther)
{
    click(Cerr);
    click(lerr);
    EXPECT_TRUE(shows(Cerr, menupos::CERR, drawCurveColor, false));
    EXPECT_TRUE(shows(lerr, menupos::LERR, drawDiffColor, true));
    click(curverr);
    EXPECT_TRUE(shows(lerr, menupos::LERR, drawDiffColor, false));
    EXPECT_TRUE(curverr->value() && drawCurveDiff) << "curvature differences not shown";
    choose(menupos::CERR);
    EXPECT_FALSE(curverr->value() || drawCurveDiff) << "curvature differences stay on";
    EXPECT_TRUE(shows(Cerr, menupos::CERR, drawCurveColor, true));
}

TEST_F(Switches, IndependentSwitchesFollowTheirMenuEntries)
{
    const std::tuple<Fl_Button*, int, bool*> pairs[] = {
        {mag, menupos::TRI, &magnify}, {axes, menupos::AXES, &drawAxes}, {sun, menupos::SUN, &drawSun}};
    for (auto [box, pos, flag] : pairs) {
        click(box);
        EXPECT_TRUE(shows(box, pos, *flag, true)) << "after a click";
        choose(pos);
        EXPECT_TRUE(shows(box, pos, *flag, false)) << "after a menu choice";
    }
    click(light);
    EXPECT_TRUE(shows(light, menupos::LIGHT, lighting != 0, false));
    choose(menupos::LIGHT);
    EXPECT_TRUE(shows(light, menupos::LIGHT, lighting != 0, true));
    click(prof);
    click(glyph);
    EXPECT_TRUE(plotProfile && showGlyphs) << "profile or glyphs not shown";
}

TEST_F(Switches, KeysWorkTheBoxesAndTheirMenuEntries)
{
    namespace mp = menupos;
    const std::tuple<int, int, Fl_Button*, int, bool*> keys[] = {
        {'a', 0, axes, mp::AXES, &drawAxes},           {'p', 0, mag, mp::TRI, &magnify},
        {'c', 0, Cerr, mp::CERR, &drawCurveColor},     {'n', 0, cont, mp::CONT, &drawContours},
        {'r', FL_SHIFT, lerr, mp::LERR, &drawDiffColor}};
    for (auto [key, state, box, pos, flag] : keys) {
        press(key, state);
        EXPECT_TRUE(shows(box, pos, *flag, true)) << "key " << char(key) << " once";
        press(key, state);
        EXPECT_TRUE(shows(box, pos, *flag, false)) << "key " << char(key) << " twice";
    }
    press('l');
    EXPECT_TRUE(shows(light, mp::LIGHT, lighting != 0, false)) << "key l";
    // The keys switch the rest of their exclusion group off, as the boxes do.
    click(colors);
    press('n');
    EXPECT_TRUE(shows(colors, mp::COLORS, drawColors, false)) << "key n beside \"Height Colors\"";
    click(lerr);
    press('c');
    EXPECT_TRUE(shows(lerr, mp::LERR, drawDiffColor, false)) << "key c beside \"Elev.\"";
    EXPECT_TRUE(shows(Cerr, mp::CERR, drawCurveColor, true)) << "key c beside \"Elev.\"";
    // Keys for another widget that pass the viewer by are not the viewer's.
    Fl::e_keysym = 'a';
    Fl::e_state = 0;
    EXPECT_EQ(gl->handle(FL_SHORTCUT), 0) << "the viewer takes keys typed elsewhere";
    EXPECT_FALSE(drawAxes) << "a key typed elsewhere switched the axes on";
}

TEST_F(Switches, ShiftRShowsFreshElevationClassesAndEqualsMovesTheCounter)
{
    mt.compute_elev_diff_color();
    const std::vector<int> elevation = diffColors();
    mt.compute_curve_diff_color(); // what loading leaves behind
    ASSERT_NE(diffColors(), elevation) << "the grid does not tell the two classings apart";
    press('r', FL_SHIFT);
    EXPECT_EQ(diffColors(), elevation) << "curvature-difference classes shown as elevation differences";
    EXPECT_TRUE(drawDiff) << "difference marks not switched with Shift+R";
    press('=');
    EXPECT_EQ(vdisplay->value(), 2) << "the exaggeration counter lags behind key =";
}

TEST_F(MainWindowTest, HeightClassesNeedContourDataAndMenusNeedData)
{
    FILE_CONST = 1;
    col->activate(); // left usable by an earlier data set
    colors->value(1);
    entry(menupos::COLORS).set();
    drawColors = true;
    col->value(1);
    col->do_callback();
    EXPECT_FALSE(col->value() || entry(menupos::HEIGHTS).value() || colorHeightClasses)
        << "\"Color Height Classes\" ticked with no contour data";
    EXPECT_TRUE(colors->value() && drawColors) << "a refused tick switched \"Height Colors\" off";

    // Chosen from the menu with no data set: the tick goes back, and the
    // next click reaches the menu again.
    FILE_CONST = 0;
    entry(menupos::AXES).set();
    entry(menupos::AXES).do_callback(menubar);
    EXPECT_FALSE(entry(menupos::AXES).value() || axes->value() || drawAxes) << "refused choice left a tick";
    EXPECT_TRUE(NOT_MENU) << "the next click on a box would leave its menu tick behind";
    FILE_CONST = 1;
    axes->activate();
    axes->value(1);
    axes->do_callback();
    EXPECT_TRUE(entry(menupos::AXES).value() && drawAxes) << "a click after the refusal left the menu behind";
}

TEST_F(Switches, HeightClassesNeedAContourInterval)
{
    click(col);
    EXPECT_TRUE(shows(col, menupos::HEIGHTS, colorHeightClasses, true)) << "with contour data";
    FILE_CONST = 1; // a DEM alone opened since
    click(colors);
    EXPECT_TRUE(shows(col, menupos::HEIGHTS, colorHeightClasses, false)) << "switched off by \"Height Colors\"";

    // Comparison data without a single height: no contour interval.
    FILE_CONST = 2;
    auto dem = [](int r, int c) { return 100.0f + r + c; };
    ASSERT_TRUE(load(writeGrid("cdem.grd", 4, 4, 10, dem), writeGrid("none.grd", 4, 4, 10, [](int, int) {
                         return 0.0f;
                     }), DEM));
    ASSERT_EQ(MyWindow::getCont(), 0);
    col->value(1);
    col->do_callback();
    EXPECT_FALSE(col->value() || entry(menupos::HEIGHTS).value() || colorHeightClasses) << "after a click";
    choose(menupos::HEIGHTS);
    EXPECT_FALSE(col->value() || entry(menupos::HEIGHTS).value() || colorHeightClasses) << "from the menu";
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
}

TEST_F(Switches, ProfileAxisRowCounterAndExaggeration)
{
    profHoriz->value(1);
    profHoriz->do_callback();
    EXPECT_TRUE(!profVert->value() && profView == HORIZ) << "\"X-Axis\" did not take over from \"Y-Axis\"";
    profVert->value(1);
    profVert->do_callback();
    EXPECT_TRUE(!profHoriz->value() && profView == VERTP) << "\"Y-Axis\" did not take over from \"X-Axis\"";
    profVert->value(0); // clicked again while on
    profVert->do_callback();
    EXPECT_TRUE(profVert->value() && !profHoriz->value() && profView == VERTP) << "both directions off";

    pdisplay->value(2.9);
    pdisplay->do_callback();
    EXPECT_EQ(profileYpos, 2) << "profile row not truncated from the counter";
    pdisplay->value(4); // the tiny grid has rows 0 to 3
    pdisplay->do_callback();
    EXPECT_TRUE(profileYpos == 2 && pdisplay->value() == 2) << "counter and profile disagree on the row";
    profHoriz->value(1);
    profHoriz->do_callback();
    pdisplay->value(4); // and columns 1 to 4
    pdisplay->do_callback();
    EXPECT_EQ(profileXpos, 4) << "the last column refused for a horizontal profile";
    pdisplay->value(3);
    click(prof);
    EXPECT_EQ(profileXpos, 3) << "the profile shown elsewhere than the counter says";

    vdisplay->value(5);
    vdisplay->do_callback();
    EXPECT_EQ(mt.getNumTriangles(), 2 * 3 * 3) << "mesh lost after changing the exaggeration";
}

TEST(Exit, ExitEndsTheProgramWithStatusZero)
{
    // A forked child would close this process's X connection on its way out.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(quit(nullptr, nullptr), ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace gui_test

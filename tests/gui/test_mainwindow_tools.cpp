// The tool panel at work: which tools a data set unlocks, hiding and showing
// the panel, and the check boxes, menu ticks and viewer flags staying in
// step as the user clicks. Each callback is called as a click would call it.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Round_Button.H>

#include <algorithm>
#include <set>
#include <string>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "app/toolsets.h"
#include "mainwindow_fixtures.h"

namespace {

using mainwindow_test::MainWindowTest;

const std::set<Tool> allTools = {
    Tool::mag, Tool::slope, Tool::sun, Tool::unitSliderGUI, Tool::axes, Tool::light,
    Tool::colors, Tool::Cerr, Tool::graphCButton, Tool::prof, Tool::glyph,
    Tool::unitSliderldGUI, Tool::graphButton, Tool::graphDButton, Tool::col, Tool::cont,
    Tool::lerr, Tool::curverr};

const std::set<int> allDataEntries = {24, 25, 26, 27, 28, 29, 30, 34, 35, 36, 40, 41};

std::set<Tool> widgetsOf(const ToolSet& s) { return {s.widgets.begin(), s.widgets.end()}; }
std::set<int> entriesOf(const ToolSet& s) { return {s.menuEntries.begin(), s.menuEntries.end()}; }

// --- the tables, no display needed ------------------------------------------

TEST(ToolSets, EveryDataToolIsSwitchedOffTogether)
{
    const ToolSet off = dataTools();
    EXPECT_EQ(widgetsOf(off), allTools) << "a data tool stays usable after the data goes";
    EXPECT_EQ(off.widgets.size(), allTools.size()) << "a tool is listed twice";
    EXPECT_EQ(entriesOf(off), allDataEntries) << "a data menu entry stays usable";
    EXPECT_EQ(off.menuEntries.size(), allDataEntries.size()) << "a menu entry is listed twice";
}

TEST(ToolSets, ADemAloneUnlocksTheDemTools)
{
    const ToolSet on = toolsActivatedFor(1);
    const std::set<Tool> demTools = {Tool::mag,  Tool::slope, Tool::sun,  Tool::unitSliderGUI,
                                     Tool::axes, Tool::light, Tool::colors, Tool::Cerr,
                                     Tool::graphCButton, Tool::prof};
    EXPECT_EQ(widgetsOf(on), demTools) << "tools usable with a DEM alone";
    EXPECT_EQ(entriesOf(on), (std::set<int>{24, 25, 26, 28, 29, 30}))
        << "menu entries usable with a DEM alone (Display menu, without the reference data)";
}

TEST(ToolSets, ComparisonDataUnlocksEverything)
{
    const ToolSet on = toolsActivatedFor(2);
    EXPECT_EQ(widgetsOf(on), allTools) << "tools usable with comparison data";
    EXPECT_EQ(entriesOf(on), allDataEntries) << "menu entries usable with comparison data";
}

// --- applied to the window ---------------------------------------------------

Fl_Widget* widgetFor(Tool t)
{
    switch (t) {
    case Tool::mag: return mag;
    case Tool::slope: return slope;
    case Tool::sun: return sun;
    case Tool::unitSliderGUI: return unitSliderGUI;
    case Tool::axes: return axes;
    case Tool::light: return light;
    case Tool::colors: return colors;
    case Tool::Cerr: return Cerr;
    case Tool::graphCButton: return graphCButton;
    case Tool::prof: return prof;
    case Tool::glyph: return glyph;
    case Tool::unitSliderldGUI: return unitSliderldGUI;
    case Tool::graphButton: return graphButton;
    case Tool::graphDButton: return graphDButton;
    case Tool::col: return col;
    case Tool::cont: return cont;
    case Tool::lerr: return lerr;
    case Tool::curverr: return curverr;
    }
    return nullptr;
}

class ToolActivity : public MainWindowTest {
protected:
    // Only the listed tools and entries of the data set are usable; the
    // rest of the window is as at start.
    void expectUsable(const std::set<Tool>& tools, const std::set<int>& entries, const char* when)
    {
        for (Tool t : allTools)
            EXPECT_EQ(widgetFor(t)->active() != 0, tools.count(t) != 0)
                << when << ": panel tool \"" << (widgetFor(t)->label() ? widgetFor(t)->label() : "")
                << "\" at " << widgetFor(t)->x() << ',' << widgetFor(t)->y()
                << (tools.count(t) ? " is greyed out" : " is usable");
        for (int pos = 0; pos < menupos::MENU_SIZE - 1; ++pos) {
            if (!menubar->menu()[pos].label())
                continue;
            const bool usable = !allDataEntries.count(pos) || entries.count(pos);
            EXPECT_EQ(menubar->menu()[pos].active() != 0, usable)
                << when << ": menu entry \"" << menubar->menu()[pos].label()
                << (usable ? "\" is greyed out" : "\" can be chosen");
        }
        EXPECT_FALSE(sloperr->active()) << when << ": the \"Slope\" difference box became usable";
        EXPECT_TRUE(vdisplay->active() && pdisplay->active() && profVert->active() &&
                    profHoriz->active())
            << when << ": exaggeration, profile counter or profile axis greyed out";
    }
};

TEST_F(ToolActivity, NothingButTheViewToolsBeforeData)
{
    expectUsable({}, {}, "at start");
}

TEST_F(ToolActivity, ADemAloneLeavesTheComparisonToolsGreyed)
{
    FILE_CONST = 1;
    activateTools();
    expectUsable(widgetsOf(toolsActivatedFor(1)), entriesOf(toolsActivatedFor(1)), "DEM alone");
    EXPECT_TRUE(Cerr->active()) << "DEM alone: curvature \"Display\" box greyed out";
    EXPECT_FALSE(menubar->menu()[menupos::CERR].active())
        << "DEM alone: \"Curvature Error\" in the menu can be chosen";
}

TEST_F(ToolActivity, ComparisonDataUnlocksEveryTool)
{
    FILE_CONST = 2;
    activateTools();
    expectUsable(allTools, allDataEntries, "DEM with comparison data");
    deactivateTools();
    expectUsable({}, {}, "after deactivation");
}

TEST_F(ToolActivity, ActivityChangesNoTickOrFlag)
{
    FILE_CONST = 2;
    activateTools();
    colors->value(1);
    drawColors = true;
    entry(menupos::COLORS).set();
    deactivateTools();
    activateTools();
    EXPECT_TRUE(colors->value()) << "\"Height Colors\" box lost its tick";
    EXPECT_TRUE(entry(menupos::COLORS).value()) << "\"Height Colors\" menu entry lost its tick";
    EXPECT_TRUE(drawColors) << "height colouring switched off";
}

TEST_F(ToolActivity, ActivationShowsTheLightingTheViewerHas)
{
    FILE_CONST = 1;
    lighting = 0; // switched off with the key l in the viewer
    activateTools();
    EXPECT_FALSE(light->value()) << "\"Shaded Relief\" ticked while the relief is unlit";
    EXPECT_FALSE(entry(menupos::LIGHT).value()) << "\"Lighting\" ticked while the relief is unlit";
    lighting = 1;
    activateTools();
    EXPECT_TRUE(light->value()) << "\"Shaded Relief\" unticked while the relief is lit";
    EXPECT_TRUE(entry(menupos::LIGHT).value()) << "\"Lighting\" unticked while the relief is lit";
}

// --- hiding and showing the panel ------------------------------------------

TEST_F(MainWindowTest, HidingToolsWidensViewerAndCoversThePanel)
{
    entry(31).clear(); // the toolkit unticks "Display\Hide Tools" before the callback
    tools(menubar, nullptr);
    EXPECT_FALSE(toolsShown) << "tools still marked as shown";
    EXPECT_EQ(XMAX, 1050) << "viewer width while the tools are hidden";
    EXPECT_EQ(gl->x(), 0) << "viewer moved";
    EXPECT_EQ(gl->w(), 1050) << "viewer does not cover the tool panel";
    EXPECT_EQ(gl->h(), 625) << "viewer height changed";
    EXPECT_TRUE(block->visible()) << "the panel below the viewer is not covered";
    EXPECT_FALSE(block->active()) << "the cover reacts to clicks";

    entry(31).set();
    tools(menubar, nullptr);
    EXPECT_TRUE(toolsShown) << "tools not marked as shown again";
    EXPECT_EQ(gl->w(), 625) << "viewer width after showing the tools again";
    EXPECT_FALSE(block->visible()) << "the cover stays over the panel";
    EXPECT_FALSE(mag->active()) << "with no data, showing the tools made them usable";
    EXPECT_FALSE(entry(menupos::TRI).active()) << "with no data, \"Magnifier\" became usable";
}

TEST_F(MainWindowTest, HidingToolsGreysThemAndShowingRestoresTheDataSet)
{
    FILE_CONST = 2;
    activateTools();
    tools(menubar, nullptr);
    EXPECT_FALSE(col->active()) << "a hidden panel's tools can still be used from the menu";
    EXPECT_FALSE(entry(menupos::LERR).active()) << "\"Local Difference Error\" usable while hidden";
    tools(menubar, nullptr);
    EXPECT_TRUE(col->active()) << "\"Color Height Classes\" greyed after showing the tools";
    EXPECT_TRUE(entry(menupos::LERR).active()) << "\"Local Difference Error\" greyed after showing";
}

// --- check boxes, menu ticks and viewer flags in step ----------------------

class Switches : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        loadTinyData(2);
        activateTools();
        mainwindow_test::resetViewFlags();
    }

    // A click on a box: the toolkit flips the box, then calls back.
    static void click(Fl_Button* box)
    {
        box->value(!box->value());
        box->do_callback();
    }

    // A menu choice: the toolkit flips the tick, then calls back with the bar.
    static void choose(int pos)
    {
        Fl_Menu_Item& it = entry(pos);
        if (it.value())
            it.clear();
        else
            it.set();
        it.do_callback(menubar);
    }
};

TEST_F(Switches, HeightColorsClickedWhileAspectColorsOn)
{
    click(slope);
    ASSERT_TRUE(colorSlope) << "\"Aspect Colors\" did not colour the relief";
    ASSERT_TRUE(entry(menupos::SLOPE).value()) << "\"Slope Colors\" not ticked";
    click(colors);
    EXPECT_FALSE(slope->value()) << "\"Aspect Colors\" stays ticked";
    EXPECT_FALSE(entry(menupos::SLOPE).value()) << "\"Slope Colors\" stays ticked in the menu";
    EXPECT_FALSE(colorSlope) << "aspect colouring stays on";
    EXPECT_TRUE(drawColors) << "height colouring did not come on";
    EXPECT_TRUE(entry(menupos::COLORS).value()) << "\"Height Colors\" not ticked in the menu";
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
}

TEST_F(Switches, HeightColorsChosenFromMenuWhileReferenceDataOn)
{
    click(cont);
    ASSERT_TRUE(drawContours);
    choose(menupos::COLORS);
    EXPECT_TRUE(colors->value()) << "\"Height Colors\" box not ticked";
    EXPECT_FALSE(cont->value()) << "\"Contours/Ref. Data\" stays ticked";
    EXPECT_TRUE(entry(menupos::COLORS).value()) << "menu \"Height Colors\" not ticked";
    EXPECT_FALSE(entry(menupos::CONT).value()) << "menu \"Contour\\Ref. Data\" stays ticked";
    EXPECT_TRUE(drawColors && !drawContours) << "viewer shows the wrong scheme";
    EXPECT_TRUE(NOT_MENU) << "the next click would leave the menu behind";
}

TEST_F(Switches, ReferenceDataChosenFromMenuWhileHeightColorsOn)
{
    click(colors);
    choose(menupos::CONT);
    EXPECT_FALSE(colors->value()) << "\"Height Colors\" box stays ticked";
    EXPECT_FALSE(entry(menupos::COLORS).value()) << "menu \"Height Colors\" stays ticked";
    EXPECT_TRUE(cont->value() && entry(menupos::CONT).value()) << "reference data not ticked";
    EXPECT_TRUE(drawContours && !drawColors) << "viewer shows the wrong scheme";
}

TEST_F(Switches, SwitchingASchemeOffTouchesNothingElse)
{
    click(colors);
    click(Cerr);
    click(colors);
    EXPECT_FALSE(drawColors) << "height colouring stays on";
    EXPECT_TRUE(Cerr->value() && drawCurveColor && entry(menupos::CERR).value())
        << "switching height colours off changed the curvature display";
    click(Cerr);
    EXPECT_FALSE(Cerr->value() || drawCurveColor || entry(menupos::CERR).value())
        << "curvature display did not go fully off";
    EXPECT_FALSE(colors->value() || slope->value() || col->value() || cont->value())
        << "a colour scheme came on by itself";
}

TEST_F(Switches, ErrorDisplaysExcludeEachOther)
{
    click(Cerr);
    click(lerr);
    EXPECT_FALSE(Cerr->value() || drawCurveColor || entry(menupos::CERR).value())
        << "curvature display stays on beside the elevation differences";
    EXPECT_TRUE(drawDiffColor && entry(menupos::LERR).value()) << "elevation differences not shown";
    click(curverr);
    EXPECT_FALSE(lerr->value() || drawDiffColor || entry(menupos::LERR).value())
        << "elevation differences stay on beside the curvature differences";
    EXPECT_TRUE(drawCurveDiff) << "curvature differences not shown";
    choose(menupos::CERR);
    EXPECT_FALSE(curverr->value() || drawCurveDiff) << "curvature differences stay on";
    EXPECT_TRUE(Cerr->value() && drawCurveColor && entry(menupos::CERR).value())
        << "curvature display chosen from the menu is not shown";
}

TEST_F(Switches, IndependentSwitchesFollowTheirMenuEntries)
{
    struct Pair {
        Fl_Button* box;
        int pos;
        bool* flag;
        const char* name;
    };
    const Pair pairs[] = {
        {mag, menupos::TRI, &magnify, "Magnifier"},
        {axes, menupos::AXES, &drawAxes, "Axes"},
        {sun, menupos::SUN, &drawSun, "Sun"},
    };
    for (const Pair& p : pairs) {
        click(p.box);
        EXPECT_TRUE(*p.flag && entry(p.pos).value()) << p.name << " box click not followed";
        choose(p.pos);
        EXPECT_FALSE(*p.flag || p.box->value() || entry(p.pos).value())
            << p.name << " menu choice not followed";
    }
    click(light);
    EXPECT_EQ(lighting, 0) << "\"Shaded Relief\" unticked, relief still lit";
    EXPECT_FALSE(entry(menupos::LIGHT).value()) << "\"Lighting\" stays ticked";
    choose(menupos::LIGHT);
    EXPECT_EQ(lighting, 1) << "\"Lighting\" chosen, relief still unlit";
    EXPECT_TRUE(light->value()) << "\"Shaded Relief\" not ticked again";
}

TEST_F(Switches, ProfileAndGlyphBoxes)
{
    click(prof);
    click(glyph);
    EXPECT_TRUE(plotProfile) << "profile not shown";
    EXPECT_TRUE(showGlyphs) << "glyphs not shown";
}

TEST_F(MainWindowTest, HeightClassesWithoutComparisonDataLeaveTheViewerAlone)
{
    FILE_CONST = 1;
    col->activate(); // left usable by an earlier data set
    colors->value(1);
    drawColors = true;
    col->value(1);
    col->do_callback();
    EXPECT_TRUE(entry(menupos::HEIGHTS).value()) << "menu tick did not follow the box";
    EXPECT_FALSE(colors->value()) << "\"Height Colors\" stays ticked";
    EXPECT_FALSE(drawColors) << "height colouring stays on";
    EXPECT_FALSE(colorHeightClasses) << "height classes coloured without comparison data";
}

TEST_F(MainWindowTest, MenuChoiceWithoutDataChangesOnlyTheTick)
{
    FILE_CONST = 0;
    Fl_Menu_Item& it = entry(menupos::COLORS);
    it.set();
    it.do_callback(menubar);
    EXPECT_FALSE(colors->value()) << "box ticked with no data set";
    EXPECT_FALSE(drawColors) << "viewer switched with no data set";
    EXPECT_FALSE(NOT_MENU) << "the guard's failure is not remembered until the next callback";
}

// --- counters and profile axis -------------------------------------------

TEST_F(Switches, ProfileAxisButtonsSwitchEachOtherOff)
{
    profHoriz->value(1);
    profHoriz->do_callback();
    EXPECT_FALSE(profVert->value()) << "\"Y-Axis\" stays on beside \"X-Axis\"";
    EXPECT_EQ(profView, HORIZ) << "profile not along the x axis";
    profVert->value(1);
    profVert->do_callback();
    EXPECT_FALSE(profHoriz->value()) << "\"X-Axis\" stays on beside \"Y-Axis\"";
    EXPECT_EQ(profView, VERTP) << "profile not along the y axis";
    profVert->value(0); // clicked again while on
    profVert->do_callback();
    EXPECT_FALSE(profVert->value() || profHoriz->value()) << "a direction button came back on";
    EXPECT_EQ(profView, VERTP) << "direction changed by clicking the button that was on";
}

TEST_F(Switches, RowCounterMovesTheProfileWithinTheGrid)
{
    pdisplay->value(2.9);
    pdisplay->do_callback();
    EXPECT_EQ(profileYpos, 2) << "profile row not truncated from the counter";
    pdisplay->value(4); // the tiny grid has rows 0 to 3
    pdisplay->do_callback();
    EXPECT_EQ(profileYpos, 2) << "profile moved off the grid";
}

TEST_F(Switches, ExaggerationCounterRebuildsTheMesh)
{
    vdisplay->value(5);
    vdisplay->do_callback();
    EXPECT_EQ(mt.getNumTriangles(), 2 * 3 * 3) << "mesh lost after changing the exaggeration";
}

TEST_F(MainWindowTest, ViewButtonsDoNothingWithoutData)
{
    OPEN = false;
    const float eye = eyevalue;
    ZoomInButton_callback(nullptr, nullptr);
    EXPECT_EQ(eyevalue, eye) << "zoom changed the view before any data was loaded";
}

TEST_F(MainWindowTest, HelpButtonOpensAnotherEmptyWindowEachTime)
{
    Fl_Widget* helpButton = nullptr;
    for (int i = 0; i < win->children(); ++i)
        if (win->child(i)->label() && std::string(win->child(i)->label()) == "?")
            helpButton = win->child(i);
    ASSERT_NE(helpButton, nullptr) << "no \"?\" button";
    int before = 0;
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w))
        ++before;
    helpButton->do_callback();
    helpButton->do_callback();
    int helpWindows = 0, after = 0;
    for (Fl_Window* w = Fl::first_window(); w; w = Fl::next_window(w)) {
        ++after;
        if (w->label() && std::string(w->label()) == "Help") {
            ++helpWindows;
            EXPECT_EQ(w->children(), 0) << "the help window is not empty";
            EXPECT_EQ(w->w(), 200) << "help window width";
            EXPECT_EQ(w->parent(), nullptr) << "help window inside the main window";
        }
    }
    EXPECT_EQ(after - before, 2) << "two presses did not open two windows";
    EXPECT_GE(helpWindows, 2) << "the new windows are not titled \"Help\"";
    for (Fl_Window* w = Fl::first_window(); w;) {
        Fl_Window* next = Fl::next_window(w);
        if (w->label() && std::string(w->label()) == "Help")
            w->hide();
        w = next;
    }
}

TEST(Exit, ExitEndsTheProgramWithStatusZero)
{
    // A forked child would close this process's X connection on its way
    // out; a fresh process has its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(quit(nullptr, nullptr), ::testing::ExitedWithCode(0), "")
        << "\"E&xit\" did not end the program cleanly";
}

} // namespace

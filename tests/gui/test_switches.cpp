// The view switches as one state seen three ways: a key, a box on the
// panel and a tick in the menu always agree, whichever of them was used;
// the colour schemes and the error displays each show one at a time, in
// the boxes, the menu and the picture; a switch is usable exactly when its
// data is open; and every entry of the menu bar is where its path says,
// reading as it always has.
#include <FL/Fl_Button.H>
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Menu_Item.H>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "app/menutable.h"
#include "dialogs/names.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

using S = ViewSwitch;

// A 6 x 6 DEM with a bump and comparison data a metre off here and there.
float smallDem(int r, int c) { return r == 2 && c == 3 ? 130.0f : 100.0f + 2 * r + c; }
std::string smallDemFile() { return writeGrid("sw_dem.grd", 6, 6, 10, smallDem); }
std::string smallComparisonFile()
{
    return writeGrid("sw_comp.grd", 6, 6, 10, [](int r, int c) { return smallDem(r, c) + (r * c % 4 == 1); });
}
std::string smallSparseFile()
{
    return writeGrid("sw_sparse.grd", 6, 6, 10, [](int r, int c) { return (r + c) % 4 == 0 ? smallDem(r, c) : 0.0f; });
}

// How a user meets each switch: what it shows, the tick's menu path and
// whether the panel has a box for it.
struct Shown {
    S id;
    const char* what;
    const char* menu; // null: no tick
    bool box;
};
const Shown SHOWN[] = {
    {S::magnifier, "magnifier", "&Display/Magnifier", true},
    {S::lighting, "shaded relief", "&Display/Lighting", true},
    {S::axes, "axes", "&Display/Axes", true},
    {S::contours, "contours and reference data", "&Display/Contour\\/Ref. Data", true},
    {S::sun, "sun", "&Display/Sun", true},
    {S::heightColors, "height colours", "&Display/Height Colors", true},
    {S::aspectColors, "aspect colours", "&Display/Slope Colors", true},
    {S::heightClasses, "height classes", "E&rror/Color Height Classes", true},
    {S::curvatureError, "curvature error", "E&rror/Curvature Error", true},
    {S::elevationError, "elevation difference error", "E&rror/Local Difference Error", true},
    {S::curvatureDifference, "curvature difference error", nullptr, true},
    {S::profile, "profile", nullptr, true},
    {S::glyphs, "profile glyphs", nullptr, true},
    {S::triangles, "surface", nullptr, false},
    {S::points, "reference points", nullptr, false},
    {S::differenceMarks, "difference marks", nullptr, false},
    {S::legend, "legend", "&View/Legend", false},
};

const Shown& shownOf(S id)
{
    return *std::find_if(std::begin(SHOWN), std::end(SHOWN), [&](const Shown& s) { return s.id == id; });
}
std::string nameOf(S id) { return shownOf(id).what; }

// Box, tick and the view all say `on`.
::testing::AssertionResult shows(const MainWindow& w, const ViewState& view, S id, bool on)
{
    const Shown& s = shownOf(id);
    Fl_Button* b = w.switchBox(id);
    const Fl_Menu_Item* tick = s.menu ? w.menuEntry(s.menu) : nullptr;
    if (s.box != (b != nullptr) || (s.menu != nullptr) != (tick != nullptr))
        return ::testing::AssertionFailure() << "box or tick missing, or one where none belongs";
    const bool boxOk = !b || (b->value() != 0) == on;
    const bool tickOk = !tick || (tick->value() != 0) == on;
    if (boxOk && tickOk && switchOn(view, id) == on)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "box " << (b ? b->value() : -1) << ", tick " << (tick ? tick->value() : -1)
                                         << ", view " << switchOn(view, id) << ", wanted " << on;
}

class SwitchTest : public MainWindowTest {
protected:
    int press(int key, int state)
    {
        Fl::e_keysym = key;
        Fl::e_state = state;
        return viewer().handle(FL_KEYBOARD);
    }
    static void click(Fl_Button* b)
    {
        b->value(!b->value());
        b->do_callback();
    }
    void choose(const char* path) { win().menuBar()->picked(win().menuEntry(path)); }
    ::testing::AssertionResult shows(S id, bool on) { return gui_test::shows(win(), view(), id, on); }
};

TEST_F(SwitchTest, AKeyFlipsTheSwitchAndItsBoxAndTickWithIt)
{
    ASSERT_TRUE(load(smallDemFile(), smallComparisonFile(), DEM));
    const struct {
        int key, state;
        std::vector<S> flips;
    } keys[] = {
        {'p', 0, {S::magnifier}},      {'l', 0, {S::lighting}},
        {'a', 0, {S::axes}},           {'n', 0, {S::contours}},
        {'c', 0, {S::curvatureError}}, {'r', FL_SHIFT, {S::elevationError, S::differenceMarks}},
        {'d', 0, {S::triangles}},      {'.', 0, {S::points}},
        {'g', 0, {S::legend}},
    };
    std::set<S> keyed;
    for (const auto& k : keys) {
        SCOPED_TRACE(std::string("key ") + char(k.key) + (k.state ? " with Shift" : ""));
        for (int round = 0; round < 2; ++round) {
            std::vector<bool> before;
            for (S id : k.flips)
                before.push_back(switchOn(view(), id));
            EXPECT_EQ(press(k.key, k.state), 1) << "the viewer did not take its key";
            for (std::size_t i = 0; i < k.flips.size(); ++i)
                EXPECT_TRUE(shows(k.flips[i], !before[i])) << nameOf(k.flips[i]) << ", press " << round + 1;
        }
        keyed.insert(k.flips.begin(), k.flips.end());
    }
    for (const SwitchRow& row : viewSwitches())
        EXPECT_EQ(row.key != 0, keyed.count(row.id) != 0)
            << nameOf(row.id) << ": a key flips it that this table does not know";
    // Keys that move the view, and r without Shift (the view reset), flip
    // no switch.
    for (const auto& [key, state] : std::vector<std::pair<int, int>>{{'r', 0}, {'x', 0}, {'z', FL_SHIFT}, {'7', 0}}) {
        const ViewState before = view();
        press(key, state);
        for (const Shown& s : SHOWN)
            EXPECT_TRUE(shows(s.id, switchOn(before, s.id))) << "key " << char(key) << " flipped the " << s.what;
    }

    // A box clicked, then its key: the key finds the state the box left.
    click(box(S::axes));
    ASSERT_TRUE(shows(S::axes, true));
    press('a', 0);
    EXPECT_TRUE(shows(S::axes, false)) << "the key a after a click on \"Show Axes\"";
    choose("&Display/Axes");
    ASSERT_TRUE(shows(S::axes, true));
    press('a', 0);
    EXPECT_TRUE(shows(S::axes, false)) << "the key a after the menu's Axes";
    // The keys of comparison data do nothing without it; the box stays off.
    ASSERT_TRUE(load(smallDemFile()));
    press('n', 0);
    EXPECT_TRUE(shows(S::contours, false)) << "the key n without comparison data";
    press('c', 0);
    EXPECT_TRUE(shows(S::curvatureError, false)) << "the key c without comparison data";
}

// Turning one member of a group on turns every other one off: box, tick
// and picture show the new one alone.
class ExclusionTest : public ViewerTest {
protected:
    void turnOn(S id, bool byMenu)
    {
        const Shown& s = shownOf(id);
        if (byMenu && s.menu) {
            win().menuBar()->picked(win().menuEntry(s.menu));
        } else {
            Fl_Button* b = box(id);
            b->value(1);
            b->do_callback();
        }
    }
    void turnOff(S id)
    {
        Fl_Button* b = box(id);
        b->value(0);
        b->do_callback();
    }
    ::testing::AssertionResult shows(S id, bool on) { return gui_test::shows(win(), view(), id, on); }
};

TEST_F(ExclusionTest, OneColourSchemeAndOneErrorDisplayAtATimeInBoxMenuAndPicture)
{
    ASSERT_TRUE(load(sampleData("alps_dem2.grd"), sampleData("alps_contour.grd"), CONTF));
    const std::vector<S> groups[] = {
        {S::contours, S::heightColors, S::aspectColors, S::heightClasses},
        {S::curvatureError, S::elevationError, S::curvatureDifference},
    };
    for (const std::vector<S>& group : groups) {
        // Each member's picture alone.
        std::map<S, Image> alone;
        for (S id : group) {
            turnOn(id, false);
            ASSERT_TRUE(switchOn(view(), id)) << nameOf(id) << " refused";
            alone[id] = grab();
            turnOff(id);
        }
        for (S first : group)
            for (S second : group) {
                if (first == second)
                    continue;
                SCOPED_TRACE(nameOf(first) + " then " + nameOf(second));
                ASSERT_GT(differing(alone[first], alone[second], 5), 0) << "the data does not tell the two apart";
                for (bool byMenu : {false, true}) {
                    turnOn(first, false);
                    turnOn(second, byMenu);
                    for (S other : group)
                        EXPECT_TRUE(shows(other, other == second))
                            << nameOf(other) << (byMenu ? ", second by the menu" : "");
                    EXPECT_EQ(differing(grab(), alone[second], 3), 0) << "the picture is not the second's alone";
                    turnOff(second);
                }
            }
    }
    // A member of one group leaves the other group's member on.
    turnOn(S::heightColors, false);
    turnOn(S::elevationError, true);
    EXPECT_TRUE(shows(S::heightColors, true) && shows(S::elevationError, true))
        << "the height ramp and the elevation differences are not shown together";
}

// Box and tick usable exactly when the switch's data is open.
TEST_F(SwitchTest, BoxesAndTicksAreUsableExactlyWithTheirData)
{
    enum Need { dem, comparison, never };
    const struct {
        S id;
        Need box, menu;
    } needs[] = {
        {S::magnifier, dem, dem},
        {S::lighting, dem, dem},
        {S::axes, dem, dem},
        {S::contours, comparison, comparison},
        {S::sun, dem, dem},
        {S::heightColors, dem, dem},
        {S::aspectColors, dem, dem},
        {S::heightClasses, comparison, comparison},
        // The Error menu opens with comparison data; the box needs the DEM only.
        {S::curvatureError, dem, comparison},
        {S::elevationError, comparison, comparison},
        {S::curvatureDifference, comparison, never},
        {S::profile, dem, never},
        {S::glyphs, comparison, never},
    };
    const struct {
        const char* what;
        std::function<bool()> open;
        bool dem, comparison;
    } states[] = {
        {"nothing open", [] { return true; }, false, false},
        {"a DEM alone", [&] { return load(smallDemFile()); }, true, false},
        {"a DEM with a comparison DEM", [&] { return load(smallDemFile(), smallComparisonFile(), DEM); }, true, true},
        {"a DEM with sparse data", [&] { return load(smallDemFile(), smallSparseFile(), SPARSEF); }, true, true},
        {"a DEM alone again", [&] { return load(smallDemFile()); }, true, false},
    };
    for (const auto& s : states) {
        SCOPED_TRACE(s.what);
        ASSERT_TRUE(s.open());
        auto met = [&](Need n) { return n == dem ? s.dem : n == comparison && s.comparison; };
        for (const auto& n : needs) {
            Fl_Check_Button* b = box(n.id);
            ASSERT_NE(b, nullptr) << nameOf(n.id) << " has no box";
            EXPECT_EQ(b->active() != 0, met(n.box)) << "box \"" << b->label() << '"';
            const Shown& shown = shownOf(n.id);
            ASSERT_EQ(shown.menu != nullptr, n.menu != never);
            if (shown.menu) {
                EXPECT_EQ(win().menuEntry(shown.menu)->active() != 0, met(n.menu)) << "menu " << shown.menu;
            }
        }
    }
}

TEST_F(SwitchTest, TheHiddenPanelTakesItsToolsButLeavesWhatActsOnTheWholeDataSet)
{
    ASSERT_TRUE(load(smallDemFile(), smallComparisonFile(), DEM));
    const char* const tools = "&Display/Display\\/Hide Tools";
    const char* const staying[] = {"&File/Save Image...",
                                   "&File/Save Profile...",
                                   "&Analysis/Co-register...",
                                   "&Analysis/Statistics",
                                   "&File/&Open.../DEM File",
                                   "&File/&Open.../Checkpoints...",
                                   "&Analysis/Stable terrain...",
                                   "&View/Legend",
                                   tools};
    const char* const going[] = {"&Analysis/Graph", "&Analysis/Make Sparse file"};
    for (bool hidden : {true, false}) {
        SCOPED_TRACE(hidden ? "panel hidden" : "panel shown again");
        choose(tools);
        ASSERT_EQ(win().toolPanelShown(), !hidden);
        for (const Shown& s : SHOWN) {
            if (Fl_Check_Button* b = box(s.id)) {
                EXPECT_EQ(b->active() != 0, !hidden) << "box \"" << b->label() << '"';
            }
            // The legend's toggle acts on the picture, not on the panel's tools.
            if (s.menu && s.id != ViewSwitch::legend) {
                EXPECT_EQ(win().menuEntry(s.menu)->active() != 0, !hidden) << "menu " << s.menu;
            }
        }
        for (const char* path : going)
            EXPECT_EQ(win().menuEntry(path)->active() != 0, !hidden) << "menu " << path;
        for (const char* path : staying)
            EXPECT_TRUE(win().menuEntry(path)->active()) << "menu " << path << " went with the panel";
        EXPECT_EQ(win().differenceUnitCounter->active() != 0, !hidden) << "the difference unit counter";
        EXPECT_EQ(win().heightClassGraphButton->active() != 0, !hidden) << "the height class graph button";
    }
}

// --- the menu bar ---------------------------------------------------------------

// The label at the end of a menu path, as the menu shows it: a slash that
// is part of the label is escaped in the path.
std::string lastLabel(const std::string& path)
{
    std::string label;
    for (std::size_t k = 0; k < path.size(); ++k) {
        if (path[k] == '\\' && k + 1 < path.size())
            label += path[++k];
        else if (path[k] == '/')
            label.clear();
        else
            label += path[k];
    }
    return label;
}

TEST_F(SwitchTest, EveryRowOfTheMenuTableHasItsOwnEntry)
{
    std::set<const Fl_Menu_Item*> found;
    int commands = 0;
    for (const MenuRow& row : mainMenu()) {
        const std::string path = menuPathOf(row);
        const Fl_Menu_Item* item = win().menuEntry(path);
        ASSERT_NE(item, nullptr) << "no entry at " << path;
        EXPECT_TRUE(found.insert(item).second) << "two rows share the entry at " << path;
        EXPECT_EQ(std::string(item->label()), lastLabel(path)) << path;
        if (row.kind == MenuRow::Kind::submenu) {
            EXPECT_TRUE(item->submenu()) << path << " is not a submenu";
        } else {
            ++commands;
            EXPECT_EQ(item->checkbox() != 0, row.kind != MenuRow::Kind::command) << path << ": tick or none";
        }
        if (row.kind == MenuRow::Kind::viewSwitch) {
            EXPECT_EQ(win().switchEntry(row.viewSwitch), item) << path << " is not its switch's entry";
        }
    }
    // Nothing in the bar that no row made.
    int items = 0;
    const Fl_Menu_Item* menu = win().menuBar()->menu();
    for (int pos = 0; pos < win().menuBar()->size(); ++pos)
        items += menu[pos].label() && !menu[pos].submenu() ? 1 : 0;
    EXPECT_EQ(items, commands) << "the menu bar has entries the table does not";
}

TEST_F(SwitchTest, TheMenuReadsAsItAlwaysHas)
{
    // Every label in order, a submenu's entries indented under it, and the
    // ticks the menu opens with.
    const char* const expected[] = {
        "&File",
        " &Open...",
        "  DEM File",
        "  DEM and Comparison File",
        "  Add/Change Comparison File...",
        "  Checkpoints...",
        " Save Image...",
        " Save Profile...",
        " E&xit",
        "&Edit",
        "&View",
        " Rotate 90 degrees...",
        "  +Z axis",
        "  -Z axis",
        "  +X axis",
        "  -X axis",
        " Zoom In",
        " Zoom Out",
        " Side View",
        " Top View",
        " Reset View",
        " [x] Legend",
        "&Display",
        " Magnifier",
        " [x] Lighting",
        " Axes",
        " Contour/Ref. Data",
        " Sun",
        " Height Colors",
        " Slope Colors",
        " [x] Display/Hide Tools",
        "E&rror",
        " Color Height Classes",
        " Curvature Error",
        " Local Difference Error",
        "&Analysis",
        " Statistics",
        " Graph",
        " Make Sparse file",
        " Co-register...",
        " Stable terrain...",
        "&Options",
        " Modify Curvature Error",
        "&Help",
        " Help",
        " About",
    };
    std::vector<std::string> seen;
    int depth = 0;
    const Fl_Menu_Item* menu = win().menuBar()->menu();
    for (int pos = 0; pos < win().menuBar()->size(); ++pos) {
        const Fl_Menu_Item& it = menu[pos];
        if (!it.label()) {
            --depth;
            continue;
        }
        seen.push_back(std::string(depth, ' ') + (it.value() ? "[x] " : "") + it.label());
        if (it.submenu())
            ++depth;
    }
    EXPECT_EQ(seen, std::vector<std::string>(std::begin(expected), std::end(expected)));
    // The dividers under "Save Profile..." and "Slope Colors".
    EXPECT_TRUE(win().menuEntry("&File/Save Profile...")->flags & FL_MENU_DIVIDER);
    EXPECT_TRUE(win().menuEntry("&Display/Slope Colors")->flags & FL_MENU_DIVIDER);
}

} // namespace
} // namespace gui_test

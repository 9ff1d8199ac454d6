// The menu bar as a user opens it: the entries at their positions, which
// ones carry a tick, which are greyed out before any data is loaded.
#include <cstring>
#include <set>

#include "app/callbacks.h"
#include "app/menupositions.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/openfile.h"
#include "dialogs/sparsefile.h"
#include "dialogs/statsreport.h"
#include "mainwindow_fixtures.h"

namespace {

using mainwindow_test::MainWindowTest;

enum Kind { SUB, ENTRY, TOGGLE, END };

struct MenuRow {
    const char* label;
    Kind kind;
    Fl_Callback* callback;
    bool checked = false;
    bool divider = false;
};

const MenuRow expectedMenu[] = {
    {"&File", SUB, nullptr},
    {"&Open...", SUB, nullptr},
    {"DEM File", ENTRY, file},
    {"DEM and Comparison File", ENTRY, files},
    {"Add/Change Comparison File...", ENTRY, addChange},
    {nullptr, END, nullptr},
    {"E&xit", ENTRY, quit},
    {nullptr, END, nullptr},
    {"&Edit", SUB, nullptr},
    {nullptr, END, nullptr},
    {"&View", SUB, nullptr},
    {"Rotate 90 degrees...", SUB, nullptr},
    {"+Z axis", ENTRY, ZPlus90Button_callback},
    {"-Z axis", ENTRY, ZMinus90Button_callback},
    {"+X axis", ENTRY, XPlus90Button_callback},
    {"-X axis", ENTRY, XMinus90Button_callback},
    {nullptr, END, nullptr},
    {"Zoom In", ENTRY, ZoomInButton_callback},
    {"Zoom Out", ENTRY, ZoomOutButton_callback},
    {"Side View", ENTRY, SideButton_callback},
    {"Top View", ENTRY, TopButton_callback},
    {"Reset View", ENTRY, ResetButton_callback},
    {nullptr, END, nullptr},
    {"&Display", SUB, nullptr},
    {"Magnifier", TOGGLE, drawMagnifierM},
    {"Lighting", TOGGLE, lightfnM, true},
    {"Axes", TOGGLE, axesfnM},
    {"Contour\\Ref. Data", TOGGLE, contfnM},
    {"Sun", TOGGLE, sunCallM},
    {"Height Colors", TOGGLE, colorM},
    {"Slope Colors", TOGGLE, slopeM, false, true},
    {"Display\\Hide Tools", TOGGLE, tools, true},
    {nullptr, END, nullptr},
    {"E&rror", SUB, nullptr},
    {"Color Height Classes", TOGGLE, heightsM},
    {"Curvature Error", TOGGLE, CerrfnM},
    {"Local Difference Error", TOGGLE, lerrfnM},
    {nullptr, END, nullptr},
    {"&Analysis", SUB, nullptr},
    {"Statistics", ENTRY, stats},
    {"Graph", ENTRY, graph},
    {"Make Sparse file", ENTRY, sparse},
    {nullptr, END, nullptr},
    {"&Options", SUB, nullptr},
    {"Modify Curvature Error", ENTRY, modCurve},
    {nullptr, END, nullptr},
    {"&Help", SUB, nullptr},
    {"Help", ENTRY, help},
    {"About", ENTRY, about},
    {nullptr, END, nullptr},
    {nullptr, END, nullptr},
};

// Greyed out until a data set is loaded.
const std::set<int> dataEntries = {24, 25, 26, 27, 28, 29, 30, 34, 35, 36, 40, 41};

TEST_F(MainWindowTest, MenuHasFiftyOneItems)
{
    static_assert(sizeof expectedMenu / sizeof expectedMenu[0] == menupos::MENU_SIZE);
    EXPECT_EQ(menubar->size(), menupos::MENU_SIZE) << "the menu table has a different length";
    EXPECT_NE(menubar->menu(), menuTemplate)
        << "the menu bar marks the constant template instead of its own copy";
}

TEST_F(MainWindowTest, EveryMenuItemReadsAndActsAsLaidOut)
{
    const Fl_Menu_Item* items = menubar->menu();
    for (int pos = 0; pos < menupos::MENU_SIZE; ++pos) {
        const Fl_Menu_Item& it = items[pos];
        const MenuRow& row = expectedMenu[pos];
        const std::string who = "menu item " + std::to_string(pos) + " (" +
                                (row.label ? std::string("\"") + row.label + '"' : "end mark") + ")";
        if (row.kind == END) {
            EXPECT_EQ(it.label(), nullptr) << who << " has a label: the menu would not close there";
            continue;
        }
        ASSERT_NE(it.label(), nullptr) << who << " is missing";
        EXPECT_STREQ(it.label(), row.label) << who << " reads differently";
        EXPECT_EQ(it.shortcut(), 0) << who << " has a keyboard shortcut";
        EXPECT_EQ(it.user_data(), nullptr) << who << " carries user data";
        EXPECT_EQ(it.callback(), row.callback) << who << " does the wrong thing when chosen";
        EXPECT_EQ(it.submenu() != 0, row.kind == SUB) << who << (row.kind == SUB ? " does not open" : " opens a submenu");
        EXPECT_EQ(it.checkbox() != 0, row.kind == TOGGLE) << who << (row.kind == TOGGLE ? " shows no tick box" : " shows a tick box");
        EXPECT_EQ(it.value() != 0, row.checked) << who << (row.checked ? " starts unticked" : " starts ticked");
        EXPECT_EQ((it.flags & FL_MENU_DIVIDER) != 0, row.divider) << who << " divider line";
        const bool greyed = dataEntries.count(pos) != 0;
        EXPECT_EQ(it.active() == 0, greyed)
            << who << (greyed ? " can be chosen before any data is loaded" : " is greyed out at start");
    }
}

TEST_F(MainWindowTest, NamedPositionsPointAtTheirEntries)
{
    struct Named {
        int pos;
        const char* label;
    };
    const Named named[] = {
        {menupos::TRI, "Magnifier"},       {menupos::LIGHT, "Lighting"},
        {menupos::AXES, "Axes"},           {menupos::CONT, "Contour\\Ref. Data"},
        {menupos::SUN, "Sun"},             {menupos::COLORS, "Height Colors"},
        {menupos::SLOPE, "Slope Colors"},  {menupos::HEIGHTS, "Color Height Classes"},
        {menupos::CERR, "Curvature Error"}, {menupos::LERR, "Local Difference Error"},
        {menupos::GRAPH, "Graph"},         {menupos::SPARSE, "Make Sparse file"},
    };
    for (const Named& n : named)
        EXPECT_STREQ(menubar->menu()[n.pos].label(), n.label)
            << "position " << n.pos << ": a callback would tick the wrong entry";
    EXPECT_EQ(std::strlen(menubar->menu()[menupos::CONT].label()), 17u)
        << "\"Contour\\Ref. Data\" holds exactly one backslash";
}

} // namespace

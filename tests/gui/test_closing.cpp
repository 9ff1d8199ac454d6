// Which way a key goes, by the window it was typed in and where the keys
// are: Escape closes the window it was typed in, ends the program from the
// main window only when the viewer does not hold the keys, and a key typed
// in a window without the focus never reaches another window's focus (the
// viewer's q and Escape end the program). And the main window's close box
// ends the program as File > Exit does.
#include <FL/Fl_Menu_Bar.H>

#include "app/closing.h"
#include "dialogs/names.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

TEST(KeyRoutes, EscapeClosesItsOwnWindowAndKeysGoWhereTheyWereTyped)
{
    const struct {
        const char* what;
        KeyPlace place; // escape, inMainWindow, focusInWindow, focusOnViewer, menuOrModal
        KeyRoute route;
    } rows[] = {
        {"Escape in a graph while the viewer keeps the keys", {true, false, false, true, false}, KeyRoute::closeWindow},
        {"Escape in a dialog holding the keys", {true, false, true, false, false}, KeyRoute::closeWindow},
        {"Escape over the viewer holding the keys", {true, true, true, true, false}, KeyRoute::asUsual},
        {"Escape in the main window, keys on a panel field",
         {true, true, true, false, false},
         KeyRoute::closeMainWindow},
        {"Escape in the main window, keys nowhere", {true, true, false, false, false}, KeyRoute::closeMainWindow},
        {"Escape in an open menu", {true, true, true, true, true}, KeyRoute::asUsual},
        {"Escape in a modal dialog", {true, false, true, false, true}, KeyRoute::asUsual},
        {"q in a graph while the viewer keeps the keys",
         {false, false, false, true, false},
         KeyRoute::focusWindowFirst},
        {"q in a dialog holding the keys", {false, false, true, false, false}, KeyRoute::asUsual},
        {"q over the viewer holding the keys", {false, true, true, true, false}, KeyRoute::asUsual},
        {"a key in the main window, keys in a graph", {false, true, false, false, false}, KeyRoute::focusWindowFirst},
        {"a key in a menu", {false, false, false, true, true}, KeyRoute::asUsual},
    };
    for (const auto& r : rows)
        EXPECT_EQ(routeKey(r.place), r.route) << r.what;
}

TEST_F(MainWindowTest, TheMainWindowsCloseBoxEndsTheProgramWithStatusZero)
{
    // A forked child would close this process's X connection on its way out.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(win().do_callback(), ::testing::ExitedWithCode(0), "")
        << "the close box hides the main window and leaves the others";
}

TEST_F(MainWindowTest, FileExitFromTheMenuEndsTheProgramWithStatusZero)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Fl_Menu_Bar* menubar = win().menuBar();
    const Fl_Menu_Item* exit = menubar->find_item("&File/E&xit");
    ASSERT_NE(exit, nullptr) << "no File > Exit";
    EXPECT_EXIT(menubar->picked(exit), ::testing::ExitedWithCode(0), "") << "File > Exit did not end the program";
}

} // namespace
} // namespace gui_test

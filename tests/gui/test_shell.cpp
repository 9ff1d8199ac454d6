// The main window's frame as a user meets it: where menu bar, viewer, tool
// panel and status row go for any window size, that the window cannot be
// made smaller than the size at which its parts and their labels stay
// apart, the menu's labels as written, and the title's version being the
// one `orolith --version` prints.
#include <FL/Fl_Group.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Progress.H>

#include <array>
#include <cstdio>
#include <memory>

#include "app/mainwindow.h"
#include "dialogs/names.h"
#include "dialogs/statusrow.h"
#include "tests/gui/dialog_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

std::string run(const std::string& command)
{
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::array<char, 256> buf;
    while (pipe && fgets(buf.data(), buf.size(), pipe.get()))
        out += buf.data();
    return out;
}

bool apart(const Rect& a, const Rect& b)
{
    return a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
}

bool inside(const Rect& a, int w, int h) { return a.x >= 0 && a.y >= 0 && a.x + a.w <= w && a.y + a.h <= h; }

TEST(MainLayout, ViewerTakesTheRoomPanelKeepsItsWidthStatusRowItsHeight)
{
    const WindowSize least = minimumWindowSize();
    EXPECT_EQ(least.w, TOOL_PANEL_W + STATUS_ROW_MIN_W) << "at the least width the status row is squeezed";
    EXPECT_EQ(least.h, MENU_BAR_H + TOOL_PANEL_H) << "at the least height the panel's last section is cut";
    const struct {
        int w, h;
    } sizes[] = {{least.w, least.h}, {START_W, START_H}, {1280, 1024}, {2400, least.h}, {least.w, 1400}};
    for (const auto& s : sizes)
        for (bool shown : {true, false}) {
            SCOPED_TRACE(std::to_string(s.w) + " x " + std::to_string(s.h) + (shown ? ", panel shown" : ", hidden"));
            const MainLayout l = mainLayout(s.w, s.h, shown);
            EXPECT_TRUE(l.menuBar.x == 0 && l.menuBar.y == 0 && l.menuBar.w == s.w && l.menuBar.h == MENU_BAR_H)
                << "the menu bar does not span the window";
            EXPECT_TRUE(l.viewer.x == 0 && l.viewer.y == MENU_BAR_H) << "the viewer left the top-left corner";
            EXPECT_EQ(l.viewer.w, s.w - (shown ? TOOL_PANEL_W : 0)) << "the viewer does not reach the panel";
            EXPECT_EQ(l.viewer.y + l.viewer.h, s.h - STATUS_ROW_H) << "the viewer does not reach the status row";
            EXPECT_TRUE(l.statusRow.x == 0 && l.statusRow.y + l.statusRow.h == s.h && l.statusRow.h == STATUS_ROW_H &&
                        l.statusRow.w == l.viewer.w)
                << "the status row is not the viewer's width at the bottom";
            EXPECT_TRUE(l.panel.x + l.panel.w == s.w && l.panel.y == MENU_BAR_H && l.panel.w == TOOL_PANEL_W &&
                        l.panel.h == TOOL_PANEL_H)
                << "the panel does not keep its size at the right edge";
            EXPECT_TRUE(inside(l.panel, s.w, s.h)) << "the panel runs out of the window";
            EXPECT_GE(l.statusRow.w, STATUS_ROW_MIN_W) << "the status row narrower than its fields need";
            if (shown) {
                EXPECT_TRUE(apart(l.viewer, l.panel) && apart(l.statusRow, l.panel) && apart(l.viewer, l.statusRow))
                    << "viewer, panel and status row overlap";
            }
        }
}

TEST_F(MainWindowTest, MenuLabelsShowSlashesAsWritten)
{
    const Fl_Menu_Item* menu = win().menuBar()->menu();
    for (int pos = 0; pos < win().menuBar()->size(); ++pos) {
        const char* label = menu[pos].label();
        EXPECT_TRUE(!label || !std::strchr(label, '\\')) << "the menu shows a backslash: \"" << label << '"';
    }
    EXPECT_STREQ(win().switchEntry(ViewSwitch::contours)->label(), "Contour/Ref. Data") << "Display menu";
    EXPECT_STREQ(entry("&Display/Display\\/Hide Tools").label(), "Display/Hide Tools") << "Display menu";
}

TEST_F(MainWindowTest, TitleCarriesTheVersionThatOrolithVersionPrints)
{
    const std::string printed = run("'" OROLITH_EXE "' --version");
    ASSERT_EQ(printed.rfind("orolith ", 0), 0u) << "--version printed: " << printed;
    const std::string version = printed.substr(8, printed.find('\n') - 8);
    EXPECT_EQ(std::string(win().label()), "Orolith: Landwarden (v" + version + ")")
        << "the title and --version disagree on the version";
}

// What a status row widget covers on screen: itself and its label drawn
// left of it (right-aligned, 3 pixels before it).
Rect footprint(Fl_Widget* w)
{
    Rect r{w->x(), w->y(), w->w(), w->h()};
    if (w->label() && *w->label() && (w->align() & FL_ALIGN_LEFT) && !(w->align() & FL_ALIGN_INSIDE)) {
        int lw = 0, lh = 0;
        measureText(w->label(), w->labelfont(), w->labelsize(), lw, lh);
        r.x -= lw + 3;
        r.w += lw + 3;
    }
    return r;
}

class ShellTest : public DialogTest {
protected:
    // The status row's widgets, the viewer and the panel, with what a user
    // would call them; none may cover another, nor run out of the window.
    void expectApart(const char* when)
    {
        SCOPED_TRACE(when);
        MainWindow& w = win();
        Fl_Widget* statsButton = w.statisticsButton;
        Fl_Group* toolPanel = w.toolPanel();
        Fl_Progress* loadBar = w.loadBar();
        const std::pair<const char*, Fl_Widget*> parts[] = {{"DEM file", w.demField},
                                                            {"comparison file", w.comparisonField},
                                                            {"exaggeration", w.exaggerationCounter},
                                                            {"X-corner", w.xCornerField},
                                                            {"Y-corner", w.yCornerField},
                                                            {"Cellsize", w.cellSizeField},
                                                            {"Statistics button", statsButton},
                                                            {"viewer", &viewer()},
                                                            {"tool panel", toolPanel}};
        for (std::size_t i = 0; i < std::size(parts); ++i) {
            const Rect a = footprint(parts[i].second);
            EXPECT_TRUE(inside(a, w.w(), w.h())) << parts[i].first << " or its label runs out of the window";
            for (std::size_t j = i + 1; j < std::size(parts); ++j)
                // A hidden panel covers nothing.
                EXPECT_TRUE(!parts[j].second->visible() || apart(a, footprint(parts[j].second)))
                    << parts[i].first << " (or its label) covers " << parts[j].first;
        }
        int lw = 0, lh = 0;
        measureText(statsButton->label(), statsButton->labelfont(), statsButton->labelsize(), lw, lh);
        EXPECT_LE(lw, statsButton->w() - 4) << "\"Statistics\" does not fit its button";
        for (int i = 0; i < toolPanel->children(); ++i) {
            Fl_Widget* c = toolPanel->child(i);
            EXPECT_TRUE(inside({c->x(), c->y(), c->w(), c->h()}, w.w(), w.h()))
                << "panel widget \"" << (c->label() ? c->label() : "") << "\" runs out of the window";
        }
        const Rect bar{loadBar->x(), loadBar->y(), loadBar->w(), loadBar->h()};
        EXPECT_FALSE(apart(bar, footprint(w.demField)) || apart(bar, footprint(w.comparisonField)))
            << "the load bar would not cover the file names";
        EXPECT_TRUE(apart(bar, footprint(w.exaggerationCounter)))
            << "the load bar would cover the exaggeration counter";
    }
};

TEST_F(ShellTest, AtTheMinimumSizeAndLargerNothingCoversAnything)
{
    // A long path and the longest texts the status row shows.
    MainWindow& w = win();
    Viewer& gl = viewer();
    openThroughDialog(sampleData("alps_dem.grd"));
    ASSERT_EQ(session->files().count, 1);
    w.cellSizeField->value("0.008333333 x 0.004166667 (geographic: 592.9 x 926.6 m)");
    w.show();
    settle();
    const std::string hints = run("xprop -id " + std::to_string(windowId(&w)) + " WM_NORMAL_HINTS");
    const WindowSize least = minimumWindowSize();
    EXPECT_NE(hints.find("minimum size: " + std::to_string(least.w) + " by " + std::to_string(least.h)),
              std::string::npos)
        << "the window manager is not told the least size:\n"
        << hints;

    expectApart("at the start size");
    w.resize(w.x(), w.y(), least.w, least.h);
    settle();
    ASSERT_TRUE(w.w() == least.w && w.h() == least.h);
    expectApart("at the minimum size");
    EXPECT_EQ(gl.w(), least.w - TOOL_PANEL_W) << "the viewer does not fill the narrower window";
    saveShot(&w, "main_window_minimum");
    Fl_Menu_Item* tools = w.menuEntry("&Display/Display\\/Hide Tools");
    w.menuBar()->picked(tools); // hidden, then shown again at this size
    EXPECT_TRUE(!w.toolPanel()->visible() && gl.w() == least.w) << "the viewer does not take the hidden panel's place";
    expectApart("at the minimum size, tools hidden");
    w.menuBar()->picked(tools);
    expectApart("at the minimum size, tools shown again");
    w.resize(w.x(), w.y(), 1280, 1000);
    settle();
    expectApart("1280 x 1000");
    EXPECT_TRUE(gl.w() == 1080 && gl.h() == 1000 - MENU_BAR_H - STATUS_ROW_H)
        << "the viewer does not take the room: " << gl.w() << " x " << gl.h();
    saveShot(&w, "main_window_large");
}

} // namespace
} // namespace gui_test

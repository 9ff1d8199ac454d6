// The legend in the viewer's window as a user meets it: ticked in the
// Display menu from the start, drawn in the picture's bottom left corner
// with the scheme's swatches, and gone, leaving the rest of the picture
// as it was, after the menu's Legend or the key g; the key brings it back.
#include <FL/Fl_Menu_Item.H>

#include <cstdlib>

#include "dialogs/names.h"
#include "render/legend.h"
#include "render/legendimage.h"
#include "render/viewswitches.h"
#include "tests/gui/gui_fixtures.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

constexpr const char* LEGEND = "&View/Legend";

float ridge(int r, int c) { return 500.0f + 40.0f * r - 3.0f * (c - 15) * (c - 15) + (r * c % 7) * 6.0f; }

struct Rect {
    int x0, y0, x1, y1; // [x0, x1) x [y0, y1)
    bool holds(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

class LegendTest : public ViewerTest {
protected:
    int press(int key)
    {
        Fl::e_keysym = key;
        Fl::e_state = 0;
        return viewer().handle(FL_KEYBOARD);
    }
    void choose(const char* path) { win().menuBar()->picked(win().menuEntry(path)); }

    // The box of the legend now drawn, as a user sees the window: x from
    // the left, y from the top.
    Rect legendRect()
    {
        const LegendBox box = legendBox(legendFor(data(), view()), legendScale(W, H));
        return {10, H - 10 - box.height, 10 + box.width, H - 10};
    }
};

int countNear(const Image& img, const Rect& r, int red, int green, int blue)
{
    int n = 0;
    for (int y = r.y0; y < r.y1; ++y)
        for (int x = r.x0; x < r.x1; ++x)
            n += near(img.at(x, y), red, green, blue);
    return n;
}

TEST_F(LegendTest, InTheCornerWithItsSwatchesUntilTheMenuOrTheKeyTurnsItOff)
{
    Fl_Menu_Item* tick = win().menuEntry(LEGEND);
    ASSERT_NE(tick, nullptr) << "no Legend in the View menu";
    EXPECT_TRUE(tick->value()) << "the legend is not ticked at start";
    EXPECT_FALSE(tick->active()) << "Legend is usable before a DEM is open";

    ASSERT_TRUE(load(writeGrid("legend_ridge.grd", 31, 31, 1000, ridge)));
    EXPECT_TRUE(tick->active());
    session->requestSwitch(ViewSwitch::curvatureError, true, Needs::dem);
    ASSERT_TRUE(view().showLegend && view().drawCurveColor);

    const Rect r = legendRect();
    const Image on = grab();
    // The frame's left and top sides, and a swatch of every class.
    EXPECT_TRUE(near(on.at(r.x0, (r.y0 + r.y1) / 2), 89, 89, 89)) << "no frame at the legend's left side";
    EXPECT_TRUE(near(on.at((r.x0 + r.x1) / 2, r.y0), 89, 89, 89)) << "no frame at the legend's top";
    for (const LegendSwatch& s : curvatureClassSwatches(view().curveUnits, "m")) {
        const int n =
            countNear(on, r, std::lround(s.color.r * 255), std::lround(s.color.g * 255), std::lround(s.color.b * 255));
        EXPECT_GE(n, 80) << "no swatch for " << s.label;
    }

    choose(LEGEND);
    EXPECT_FALSE(view().showLegend) << "the menu's Legend left it on";
    EXPECT_FALSE(tick->value());
    const Image off = grab();
    EXPECT_FALSE(near(off.at(r.x0, (r.y0 + r.y1) / 2), 89, 89, 89)) << "the frame is still there";
    int inside = 0, outside = 0;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            const Pixel a = on.at(x, y), b = off.at(x, y);
            const bool same = near(a, b.r, b.g, b.b);
            (r.holds(x, y) ? inside : outside) += !same;
        }
    EXPECT_GT(inside, (r.x1 - r.x0) * (r.y1 - r.y0) / 2) << "most of the box should have gone";
    EXPECT_EQ(outside, 0) << "the legend changed the picture outside its box";

    EXPECT_EQ(press('g'), 1) << "the viewer did not take the key g";
    EXPECT_TRUE(view().showLegend && tick->value()) << "g did not bring the legend back";
    EXPECT_EQ(differing(grab(), on), 0) << "the legend drawn again differs";
    press('g');
    EXPECT_FALSE(view().showLegend || tick->value()) << "g did not turn it off";
    EXPECT_EQ(differing(grab(), off), 0);
}

TEST_F(LegendTest, FollowsTheSchemeOnScreen)
{
    ASSERT_TRUE(load(writeGrid("legend_ridge.grd", 31, 31, 1000, ridge)));
    // The base colours' legend, then the ramp's: another box, another
    // picture in the corner.
    const Rect base = legendRect();
    const Image before = grab();
    session->requestSwitch(ViewSwitch::heightColors, true, Needs::dem);
    const Rect ramp = legendRect();
    const Image after = grab();
    EXPECT_GT(ramp.y1 - ramp.y0, base.y1 - base.y0) << "the ramp's bar is taller than two swatches";
    // The ramp's ends: its lowest colour near the bar's bottom, its highest
    // near the top (the bar's left edge is 8 pixels in).
    const int barX = ramp.x0 + 8 + 8;
    const int barTop = ramp.y0 + 28 + 7, barBottom = barTop + 120;
    const Legend l = legendFor(data(), view());
    // Within the step of the ramp between two rows of the bar.
    auto is = [](const Pixel& p, const ColorRGB& c) {
        return near(p, std::lround(c.r * 255), std::lround(c.g * 255), std::lround(c.b * 255), 12);
    };
    EXPECT_TRUE(is(after.at(barX, barBottom - 2), l.stops.front().color)) << "the bar's bottom";
    EXPECT_TRUE(is(after.at(barX, barTop + 1), l.stops.back().color)) << "the bar's top";
    EXPECT_FALSE(is(before.at(barX, barTop + 1), l.stops.back().color)) << "the ramp's red before the ramp";
}

} // namespace
} // namespace gui_test

// The Picks window's decisions: where it comes up, which format a name
// saves, and the table's lines.
#include <gtest/gtest.h>

#include "dialogs/pickswindow.h"

using namespace orolith::model;
using namespace orolith::ui;

namespace {

TEST(PicksWindow, ComesUpBesideTheMainWindowNeverOffTheScreen)
{
    const Rect screen{0, 0, 1280, 1024};
    struct Case {
        Rect main;
        Rect expected;
        const char* where;
    } cases[] = {
        {{0, 0, 850, 690}, {0, 720, 900, 300}, "under it: 690 + 30 + 300 fits 1024"},
        {{100, 0, 850, 720}, {100, 724, 900, 300}, "no room under it (720 + 30 + 300) nor beside it: the foot"},
        {{0, 0, 850, 694}, {0, 724, 900, 300}, "under it, just"},
        {{0, 0, 300, 900}, {330, 0, 900, 300}, "right of a tall narrow window"},
        {{500, 100, 850, 900}, {380, 724, 900, 300}, "no room either side: at the screen's foot, inside it"},
    };
    for (const Case& c : cases) {
        const Rect at = picksWindowPlace(c.main, 900, 300, screen);
        EXPECT_EQ(at.x, c.expected.x) << c.where;
        EXPECT_EQ(at.y, c.expected.y) << c.where;
        EXPECT_LE(at.x + at.w, screen.w) << c.where;
        EXPECT_LE(at.y + at.h, screen.h) << c.where;
    }
}

TEST(PicksWindow, SavesGeoJsonByTheNameAndShowsAHeaderAndARowAPick)
{
    for (const char* name : {"a.geojson", "B.GeoJSON", "picks.json"})
        EXPECT_TRUE(isGeoJsonName(name)) << name;
    for (const char* name : {"a.csv", "geojson", "a.geojson.txt", ""})
        EXPECT_FALSE(isGeoJsonName(name)) << name;

    Pick p;
    p.number = 7;
    p.at.row = 2;
    p.at.col = 3;
    p.at.dem = 12.5;
    const std::vector<std::string> lines = pickTableLines({p}, false);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].rfind("@bnumber\t@bx\t@by\t", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind("7\t0.000\t0.000\tn/a\tn/a\t2\t3\t12.500\tn/a\t", 0), 0u) << lines[1];
}

} // namespace

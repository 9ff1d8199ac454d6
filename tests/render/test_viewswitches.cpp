// The table of view switches: which view flag each switch is, the groups
// of switches that colour the surface in one way (one on at a time), what
// each needs loaded, and the keys that flip them. The panel, the menu and
// the keys are built from this table, so a wrong row shows in all three.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "render/names.h"
#include "render/viewerkeys.h"
#include "render/viewswitches.h"

using namespace orolith::model;
using namespace orolith::render;

namespace {

using S = ViewSwitch;

// Every switch and the view flag it stands for.
const struct {
    ViewSwitch id;
    bool ViewState::*flag;
    const char* name;
} FLAGS[] = {
    {S::magnifier, &ViewState::magnify, "magnifier"},
    {S::lighting, &ViewState::lighting, "lighting"},
    {S::axes, &ViewState::drawAxes, "axes"},
    {S::contours, &ViewState::drawContours, "contours"},
    {S::sun, &ViewState::drawSun, "sun"},
    {S::heightColors, &ViewState::drawColors, "height colours"},
    {S::aspectColors, &ViewState::colorSlope, "aspect colours"},
    {S::heightClasses, &ViewState::colorHeightClasses, "height classes"},
    {S::curvatureError, &ViewState::drawCurveColor, "curvature error"},
    {S::elevationError, &ViewState::drawDiffColor, "elevation error"},
    {S::curvatureDifference, &ViewState::drawCurveDiff, "curvature difference"},
    {S::profile, &ViewState::plotProfile, "profile"},
    {S::glyphs, &ViewState::showGlyphs, "glyphs"},
    {S::triangles, &ViewState::drawTriangles, "triangles"},
    {S::points, &ViewState::drawPoints, "points"},
    {S::differenceMarks, &ViewState::drawDiff, "difference marks"},
    {S::legend, &ViewState::showLegend, "legend"},
};

const char* nameOf(ViewSwitch id)
{
    for (const auto& f : FLAGS)
        if (f.id == id)
            return f.name;
    return "?";
}

// The flags of a view, in the order of FLAGS.
std::vector<bool> flagsOf(const ViewState& v)
{
    std::vector<bool> out;
    for (const auto& f : FLAGS)
        out.push_back(v.*f.flag);
    return out;
}

TEST(ViewSwitchTable, EverySwitchIsListedOnce)
{
    std::vector<ViewSwitch> listed;
    for (const SwitchRow& row : viewSwitches()) {
        listed.push_back(row.id);
        EXPECT_EQ(switchRow(row.id).id, row.id) << nameOf(row.id) << ": switchRow gives another row";
    }
    ASSERT_EQ(listed.size(), std::size(FLAGS));
    for (const auto& f : FLAGS)
        EXPECT_EQ(std::count(listed.begin(), listed.end(), f.id), 1) << f.name;
}

TEST(ViewSwitchTable, EachSwitchFlipsItsOwnFlagAlone)
{
    for (const auto& f : FLAGS) {
        SCOPED_TRACE(f.name);
        for (bool start : {false, true}) {
            ViewState v;
            v.*f.flag = start;
            const std::vector<bool> before = flagsOf(v);
            EXPECT_EQ(switchOn(v, f.id), start) << "switchOn reads another flag";
            setSwitch(v, f.id, !start);
            EXPECT_EQ(v.*f.flag, !start) << "setSwitch sets another flag";
            EXPECT_EQ(switchOn(v, f.id), !start);
            std::vector<bool> others = flagsOf(v), othersBefore = before;
            const std::size_t k = static_cast<std::size_t>(&f - FLAGS);
            others.erase(others.begin() + static_cast<long>(k));
            othersBefore.erase(othersBefore.begin() + static_cast<long>(k));
            EXPECT_EQ(others, othersBefore) << "another flag changed too";
        }
    }
}

TEST(ViewSwitchTable, OneColouringOfAGroupAtATime)
{
    // The height ramp, the aspect wheel, the height classes and the
    // comparison contours colour the whole surface; so do the three error
    // classes. Every other switch stands alone.
    const std::vector<std::vector<ViewSwitch>> groups = {
        {S::contours, S::heightColors, S::aspectColors, S::heightClasses},
        {S::curvatureError, S::elevationError, S::curvatureDifference},
    };
    std::set<ViewSwitch> grouped;
    for (const auto& group : groups) {
        for (ViewSwitch id : group) {
            SCOPED_TRACE(nameOf(id));
            grouped.insert(id);
            // The others of the group on, and switches outside it: the
            // difference marks, which go with the error classes but are
            // drawn over them, and the first of the other group.
            ViewState v;
            std::set<ViewSwitch> others;
            for (ViewSwitch other : group)
                if (other != id) {
                    setSwitch(v, other, true);
                    others.insert(other);
                }
            setSwitch(v, S::axes, true);
            setSwitch(v, S::differenceMarks, true);
            for (const auto& otherGroup : groups)
                if (otherGroup != group)
                    setSwitch(v, otherGroup.front(), true);
            ViewState expected = v;
            for (ViewSwitch other : group)
                setSwitch(expected, other, other == id);

            const std::vector<ViewSwitch> changed = applySwitch(v, id, true);
            ASSERT_FALSE(changed.empty()) << "no change reported";
            EXPECT_EQ(changed.back(), id) << "the switch itself is not reported last";
            EXPECT_EQ(std::set<ViewSwitch>(changed.begin(), changed.end() - 1), others)
                << "the switches turned off are not the others of the group";
            EXPECT_EQ(flagsOf(v), flagsOf(expected)) << "the others of the group stay on, or others went off";
            EXPECT_EQ(applySwitch(v, id, true), std::vector<ViewSwitch>{}) << "on again changes nothing";
            EXPECT_EQ(applySwitch(v, id, false), std::vector<ViewSwitch>{id}) << "off touches only itself";
            for (ViewSwitch other : group)
                EXPECT_FALSE(switchOn(v, other)) << nameOf(other) << " came back on";
        }
    }
    for (const auto& f : FLAGS) {
        if (grouped.count(f.id))
            continue;
        SCOPED_TRACE(f.name);
        ViewState v;
        for (const auto& g : FLAGS)
            v.*g.flag = true;
        v.*f.flag = false;
        EXPECT_EQ(applySwitch(v, f.id, true), std::vector<ViewSwitch>{f.id});
        for (const auto& g : FLAGS)
            EXPECT_TRUE(v.*g.flag) << g.name << " went off: a switch of no group turns nothing else off";
    }
}

TEST(ViewSwitchTable, NeedsAreMetByWhatIsLoaded)
{
    const struct {
        Needs needs;
        DataLoaded loaded;
        bool met;
    } rows[] = {
        {Needs::nothing, {false, false}, true},  {Needs::dem, {false, false}, false},
        {Needs::dem, {true, false}, true},       {Needs::comparison, {true, false}, false},
        {Needs::comparison, {true, true}, true}, {Needs::comparison, {false, true}, false},
        {Needs::dem, {true, true}, true},
    };
    for (const auto& r : rows)
        EXPECT_EQ(needsMet(r.needs, r.loaded), r.met) << "needs " << static_cast<int>(r.needs) << " with dem "
                                                      << r.loaded.dem << ", comparison " << r.loaded.comparison;
}

TEST(ViewSwitchTable, KeysAndWhatTheyNeed)
{
    const DataLoaded nothing{false, false}, demOnly{true, false}, both{true, true};
    const struct {
        int key;
        bool shift;
        DataLoaded loaded;
        std::vector<ViewSwitch> flips;
    } rows[] = {
        // Shift-R: the elevation classes and their marks together; r alone
        // is the reset key, no switch.
        {'r', true, both, {S::elevationError, S::differenceMarks}},
        {'r', false, both, {}},
        {'r', true, demOnly, {}},
        // a, l, p and d act before anything is loaded, with Shift too.
        {'a', false, nothing, {S::axes}},
        {'a', true, nothing, {S::axes}},
        {'l', false, nothing, {S::lighting}},
        {'p', false, nothing, {S::magnifier}},
        {'p', true, demOnly, {S::magnifier}},
        {'d', false, nothing, {S::triangles}},
        // c, n and '.' need comparison data.
        {'c', false, nothing, {}},
        {'c', false, demOnly, {}},
        {'c', false, both, {S::curvatureError}},
        {'n', false, demOnly, {}},
        {'n', false, both, {S::contours}},
        {'.', false, demOnly, {}},
        {'.', false, both, {S::points}},
        // g, the legend, needs a DEM to describe.
        {'g', false, nothing, {}},
        {'g', false, demOnly, {S::legend}},
        {'g', true, both, {S::legend}},
        // View keys and keys of nothing.
        {'x', false, both, {}},
        {'s', true, both, {}},
        {'=', false, both, {}},
        {'b', false, both, {}},
        {FL_KP + '8', false, both, {}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(switchesOfKey(r.key, r.shift, r.loaded), r.flips)
            << "key " << char(r.key) << (r.shift ? " with Shift" : "") << ", dem " << r.loaded.dem << ", comparison "
            << r.loaded.comparison;
    EXPECT_EQ(keyAction('r', 0, {true, true}), KeyAction::resetView) << "r alone no longer resets the view";
    EXPECT_EQ(keyAction('r', FL_SHIFT, {true, true}), KeyAction::none) << "Shift-R also resets the view";
}

} // namespace

// The view switches: every on/off choice of what the picture shows, in one
// table. The tool panel's boxes, the menu's toggles and the viewer's keys
// are all built from it, and all of them change a switch only by asking
// for it (applySwitch); the widgets then show the state as it is.
#ifndef OROLITH_RENDER_VIEWSWITCHES_H
#define OROLITH_RENDER_VIEWSWITCHES_H

#include <vector>

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::render {

enum class ViewSwitch {
    magnifier,
    lighting,
    axes,
    contours, // comparison points and contours drawn over the surface
    sun,
    heightColors,        // the height ramp
    aspectColors,        // the aspect wheel
    heightClasses,       // the height-class histogram's colours
    curvatureError,      // curvature classes
    elevationError,      // elevation difference classes
    curvatureDifference, // curvature difference classes
    profile,
    glyphs,          // the profile's comparison marks as ticks
    triangles,       // the surface itself (off: only marks and points)
    points,          // the comparison points as cubes
    differenceMarks, // vertical marks of the elevation differences
    legend,          // the colour scheme's legend in the picture's corner
};

// What a switch needs loaded before it may be turned on.
enum class Needs { nothing, dem, comparison };

// Switches that colour the surface in the same way: at most one of a group
// is on.
enum class SwitchGroup { none, surfaceColours, errorClasses };

struct SwitchRow {
    ViewSwitch id;
    const char* panelLabel; // its box on the tool panel; null: none
    const char* menuPath;   // its menu toggle ("Display/Axes"); null: none
    int key;                // the viewer's key (FLTK key value); 0: none
    bool shift;             // ... only with Shift (otherwise with or without)
    Needs needs;            // for the box
    Needs menuNeeds;        // for the menu toggle: the Error menu opens with comparison data
    Needs keyNeeds;         // for the key, which may ask less or more
    SwitchGroup group;
};

// Every switch, in the order the menu and the key map list them.
std::vector<SwitchRow> viewSwitches();
SwitchRow switchRow(ViewSwitch id);

bool switchOn(const ViewState& view, ViewSwitch id);
void setSwitch(ViewState& view, ViewSwitch id, bool on);

// Turns `id` on or off; on, the other switches of its group go off first.
// Returns every switch that changed, `id` last.
std::vector<ViewSwitch> applySwitch(ViewState& view, ViewSwitch id, bool on);

// What is loaded, for the needs above.
struct DataLoaded {
    bool dem = false;
    bool comparison = false;
};
bool needsMet(Needs needs, const DataLoaded& loaded);

// The switches a key flips (key as FLTK gives it, letters in lower case;
// `shift` whether Shift is held), with what is loaded; none when the key
// is not a switch's or its needs are not met.
std::vector<ViewSwitch> switchesOfKey(int key, bool shift, const DataLoaded& loaded);

} // namespace orolith::render

#endif

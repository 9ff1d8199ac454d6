// The viewer's key table for the keys that move the view: which action a
// key stands for, given the data loaded. Pure, so the table and its gates
// are tested without a window; Viewer::handle applies the action. The keys
// that flip a switch are in the switch table (viewswitches.h).
#ifndef OROLITH_RENDER_VIEWERKEYS_H
#define OROLITH_RENDER_VIEWERKEYS_H
#include "render/names.h"

namespace orolith::render {

enum class KeyAction {
    none,
    xPlus1,
    xMinus1,
    zPlus1,
    zMinus1, // rotate by a degree
    xPlus90,
    xMinus90,
    zPlus90,
    zMinus90, // rotate by a quarter turn
    topView,
    sideView,
    resetView,
    eyeAway,
    eyeCloser,
    askEye,
    exaggerationUp,
    exaggerationDown,
    sunEast,
    sunWest,
    pickCentre, // the point under the cross-hair at the picture's centre
    quit,
};

struct KeyContext {
    bool dem = false;        // a DEM is loaded: its mesh can be rebuilt
    bool comparison = false; // comparison data is loaded (multFiles)
};

// `key` is the toolkit's key value (letters in lower case, FL_Escape for
// Escape), `state` its modifier bits. Shift matters for x, z and r only.
// With Ctrl, Alt or Meta held no key is the viewer's: the menu bar's
// shortcuts get them.
KeyAction keyAction(int key, int state, const KeyContext& context);

} // namespace orolith::render

#endif

// Which events reach the program while it is busy (app/busy.h). Kept apart
// from the toolkit's dispatch so that a test can ask without a display.
#ifndef OROLITH_APP_BUSYINPUT_H
#define OROLITH_APP_BUSYINPUT_H

#include "dialogs/names.h"
#include <FL/Enumerations.H>

namespace orolith::ui {

// What the user does to reach a callback. The close box counts: it reaches
// a window's callback even while the window is inactive, and a dialog
// closed during its own load would be deleted under its Open callback.
inline bool userInput(int event)
{
    switch (event) {
    case FL_PUSH:
    case FL_RELEASE:
    case FL_DRAG:
    case FL_MOUSEWHEEL:
    case FL_KEYDOWN:
    case FL_KEYUP:
    case FL_SHORTCUT:
    case FL_CLOSE:
    case FL_PASTE:
    case FL_DND_ENTER:
    case FL_DND_DRAG:
    case FL_DND_RELEASE: return true;
    default: return false;
    }
}

// Whether `event` is handed on while the program is busy. The user's input
// is swallowed, except for the Cancel button of an analysis that can be
// cancelled: a press over it (`overCancel`: shown, usable and under the
// pointer) and the drag and release of the press it took (`cancelHeld`),
// as a button needs them to act. Everything else (repaints, the pointer
// passing by) goes on as usual.
inline bool reachesWhileBusy(int event, bool overCancel, bool cancelHeld)
{
    if (!userInput(event))
        return true;
    if (event == FL_PUSH)
        return overCancel;
    if (event == FL_DRAG || event == FL_RELEASE)
        return cancelHeld;
    return false;
}

} // namespace orolith::ui

#endif

// How windows close and how the program ends. The program ends through
// File > Exit, the main window's close box, or Escape in the main window
// while the viewer does not hold the keys (all with status 0), or through
// the viewer's own quit keys (render/viewerkeys.h, status 1). Escape in any
// other window closes that window only.
//
// The toolkit keeps one keyboard focus for all windows and hands a key to
// it wherever the key was typed; a key typed in a graph window whose focus
// was never moved reached the viewer, and Escape there ended the program.
// Each key is therefore routed by the window it was typed in.
#ifndef OROLITH_APP_CLOSING_H
#define OROLITH_APP_CLOSING_H
#include "dialogs/names.h"

namespace orolith::ui {

// Where a key was typed and where the keyboard focus is.
struct KeyPlace {
    bool escape = false;        // the key is Escape
    bool inMainWindow = false;  // typed in the main window (or its viewer)
    bool focusInWindow = false; // the focus is in the window it was typed in
    bool focusOnViewer = false; // the viewer holds the focus
    bool menuOrModal = false;   // a menu is open, or a modal dialog waits
};

enum class KeyRoute {
    asUsual,          // to the focus, as the toolkit delivers it
    focusWindowFirst, // the focus moves into the window typed in, then as usual
    closeWindow,      // the window typed in closes, as by its close box
    closeMainWindow,  // the main window closes: the program ends (status 0)
};

// Menus and modal dialogs keep their own Escape (it closes the menu or
// cancels the dialog).
KeyRoute routeKey(const KeyPlace& place);

class MainWindow;

// The main window's close box ends the program (status 0), and every key
// goes through routeKey. A load's busy time puts its own event filter in
// front and restores this one.
void applyClosingRules(MainWindow& main);

} // namespace orolith::ui

#endif

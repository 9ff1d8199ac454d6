// What the mouse, the wheel and the eye steps do to the view state. Plain
// functions of a view state: MyWindow::handle and the view commands call
// them with the event's numbers, and so can a test.
#ifndef OROLITH_RENDER_VIEWMOTION_H
#define OROLITH_RENDER_VIEWMOTION_H

#include <optional>

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::render {

// Every change of eyevalue goes through here (buttons, wheel, keys, the
// eye dialog), so the eye never leaves EYEMIN..EYEMAX.
float clampEye(float eye);
// Moves the eye by `step` within its range; false when it could not move.
bool moveEye(ViewState& view, float step);

// Eye step of one wheel event: away for a scroll down (dy > 0), closer for
// a scroll up, none for a horizontal scroll (dy == 0).
float wheelEyeStep(int dy);

// What a held mouse button drags: left rotates, right moves the model, the
// middle moves the magnifier ring while it is shown; other buttons nothing.
enum class DragMode { none, rotate, move, magnifier };
DragMode dragModeFor(int button, bool magnifierShown);

// The buttons held, and where the pointer was last seen.
struct DragState {
    bool lButtonState = false, rButtonState = false, mButtonState = false;
    bool started = false;
    int lastx = 0, lasty = 0;

    bool held() const { return lButtonState || rButtonState || mButtonState; }
    void release() { lButtonState = rButtonState = mButtonState = false; }
};

// A left press that may end as a click: a release with the pointer never
// more than CLICK_SLOP pixels from the press is one, anything else a drag.
// The drag rotates all the same; a click picks what was under the press.
constexpr int CLICK_SLOP = 3;
struct ClickState {
    bool armed = false;
    int x = 0, y = 0;
    bool moved = false;
};
// A button went down at (x, y): only the left one's press may be a click.
void pressForClick(ClickState& click, int button, int x, int y);
// The pointer at (x, y) while the button is held.
void dragForClick(ClickState& click, int x, int y);
// The button came up: whether its press was a click. Disarms it.
bool releaseIsClick(ClickState& click);

// Sets the button flag of the mode (lButtonState and so on).
void holdButton(DragState& drag, DragMode mode);

// One drag motion event at window pixel (x, y): rotate, move or magnifier,
// whichever button flag comes first in that order; then (x, y) becomes the
// last position, also for the next drag. The first position ever passed in
// only sets the last position. True when the view changed.
bool mouseMove(ViewState& view, DragState& drag, int x, int y);

// The view commands of the panel's buttons and the menu.
void zoomIn(ViewState& view);
void zoomOut(ViewState& view);
void resetView(ViewState& view); // eye and turns as at start, the model back in the middle
void topView(ViewState& view);
void sideView(ViewState& view);

// The eye distance a user typed: a positive finite number, blanks around
// it allowed, brought into the eye's range; nothing for anything else.
std::optional<float> parseEyeValue(const char* text);

} // namespace orolith::render

#endif

// The OpenGL viewer inside the main window. It owns the view state and
// draws the data set it is shown (owned by the session) as that state
// says; mouse drags, the wheel and the keys change the view. A key that
// stands for a switch, a change of exaggeration or an eye distance to ask
// for goes to its listener (the session), which keeps the panel and menu
// in step; a viewer without one (as in the render tests) flips its own
// switches and asks in its own dialog.
#ifndef OROLITH_RENDER_VIEWER_H
#define OROLITH_RENDER_VIEWER_H

#include <FL/Fl_Gl_Window.H>

#include <optional>

#include "render/names.h"
#include "render/surfacecache.h"
#include "render/surfacepick.h"
#include "render/viewmotion.h"
#include "render/viewstate.h"
#include "render/viewswitches.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

class ViewerListener {
public:
    virtual ~ViewerListener() = default;
    // A key asks for the switch to flip, as a click on its box would.
    virtual void switchRequested(ViewSwitch id) = 0;
    // A key asks for the mesh at this vertical exaggeration.
    virtual void exaggerationRequested(int exaggeration) = 0;
    // Key e: the eye distance typed, offering the current one; null when
    // the user cancels.
    virtual const char* askEyeValue(float current) = 0;
    // The viewer's quit keys (q, Escape).
    virtual void quitRequested() = 0;
    // The terrain point under the mouse as it moves, or as the view moves
    // under a still mouse; none off the surface or outside the viewer.
    virtual void pointerOver(const std::optional<SurfaceHit>& /*hit*/) {}
    // A click without a drag, or the pick key: the point to keep.
    virtual void pickRequested(const SurfaceHit& /*hit*/) {}
};

class Viewer : public Fl_Gl_Window {
public:
    Viewer(int x, int y, int w, int h);

    void draw() override;
    // Takes only the events it uses and repaints only when the view changed.
    int handle(int event) override;

    // What it draws; null (nothing open) gives a grey picture. The data set
    // must live until another is shown.
    void showDataSet(const DataSet* d);
    const DataSet* dataSet() const { return data_; }
    bool open() const { return data_ != nullptr; }

    // While the data set may change under it (a load, an analysis), the
    // picture of the last frame's buffers.
    void hold(bool on);
    bool held() const { return hold_; }

    const ViewState& view() const { return view_; }
    // A new view state; the next frame shows it.
    void setView(const ViewState& view);
    // Flips a switch as its box would, without asking the listener.
    void applySwitchRequest(ViewSwitch id);

    void setListener(ViewerListener* listener) { listener_ = listener; }

    // The picture does not show the latest change yet.
    bool stale() const { return stale_; }
    const DragState& drag() const { return drag_; }
    // The terrain point at a window position (pixels from the top-left
    // corner) of the picture as it is drawn now.
    std::optional<SurfaceHit> surfaceAt(double x, double y) const;
    // Frames drawn so far, for the tests of what asks for one.
    unsigned long framesDrawn() const { return frames_; }
    // The surface's GL buffers, for the tests of when they are built.
    SurfaceCache& surfaceCache() { return cache_; }

private:
    bool applyKey(int key, int state);
    bool askForEye();
    bool stepExaggeration(bool up);
    void pressButton();
    void tellPointer();
    bool pickAtCentre();

    ViewState view_;
    DragState drag_;
    ClickState click_;
    std::optional<SurfaceHit> pressHit_; // under the left button's press
    std::optional<WindowPoint> pointer_; // where the mouse is over the viewer
    SurfaceCache cache_;
    const DataSet* data_ = nullptr;
    ViewerListener* listener_ = nullptr;
    bool hold_ = false;
    bool stale_ = false;
    bool outline_ = false; // a large grid drawn in outlines while dragged
    bool initialised_ = false;
    unsigned long frames_ = 0;
};

} // namespace orolith::render

#endif

// The viewer's frame and events. What an event does is decided by the
// plain functions of viewmotion, viewerkeys and viewswitches; this file
// reads the toolkit's event and applies the result. The viewer takes only
// the events it uses, so the rest reach the menu bar's shortcuts and the
// main window's keyboard navigation.
#include "render/viewer.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <GL/gl.h>

#include <cstdio>
#include <cstdlib>

#include "model/dataset.h"
#include "render/frame.h"
#include "render/names.h"
#include "render/sunpath.h"
#include "render/surfacewalk.h"
#include "render/viewerkeys.h"

namespace orolith::render {

namespace {

int gridPoints(const DataSet* d) { return d ? d->rows() * d->cols() : 0; }

const char* askInDialog(float current)
{
    char now[32];
    std::snprintf(now, sizeof now, "%g", current);
    return fl_input("New eye value: ", now);
}

} // namespace

Viewer::Viewer(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) { mode(FL_DOUBLE | FL_ALPHA | FL_DEPTH); }

void Viewer::showDataSet(const DataSet* d)
{
    data_ = d && d->loaded() ? d : nullptr;
    stale_ = true;
}

void Viewer::hold(bool on)
{
    hold_ = on;
    stale_ = true;
}

void Viewer::setView(const ViewState& view)
{
    view_ = view;
    stale_ = true;
}

void Viewer::applySwitchRequest(ViewSwitch id)
{
    applySwitch(view_, id, !switchOn(view_, id));
    stale_ = true;
}

void Viewer::draw()
{
    // This frame shows every change made so far.
    stale_ = false;
    ++frames_;
    // A new context has none of the old one's buffers.
    if (!context_valid()) {
        cache_.forget();
        context_valid(1);
    }
    if (!data_) {
        glClearColor(0.7f, 0.7f, 0.7f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        return;
    }
    if (!initialised_) {
        glEnable(GL_DEPTH_TEST);
        initialised_ = true;
    }
    windowinit();
    // The picture fills the widget, whatever size the main window gives it.
    reshape(pixel_w(), pixel_h());
    minit(view_, outline_);
    FrameMode mode;
    mode.dragging = drag_.held();
    mode.hold = hold_;
    display(*data_, view_, cache_, mode);
}

// Key e. A cancelled dialog or a value that is not a positive number keeps
// the eye where it is.
bool Viewer::askForEye()
{
    const char* typed = listener_ ? listener_->askEyeValue(view_.eyevalue) : askInDialog(view_.eyevalue);
    const std::optional<float> eye = parseEyeValue(typed);
    if (!eye || *eye == view_.eyevalue)
        return false;
    view_.eyevalue = *eye;
    return true;
}

// Keys = and -: the listener rebuilds the mesh with the new exaggeration
// (never below 0) and shows it on the panel's counter.
bool Viewer::stepExaggeration(bool up)
{
    if (!data_ || !listener_)
        return false;
    const int now = static_cast<int>(data_->mesh().exaggeration);
    const int next = up ? now + 1 : now - 1;
    if (next < 0)
        return false;
    listener_->exaggerationRequested(next);
    return true;
}

// One key of the key table; true when the picture may change.
bool Viewer::applyKey(int key, int state)
{
    const DataLoaded loaded{data_ != nullptr, data_ && data_->hasComparison()};
    if (!(state & (FL_CTRL | FL_ALT | FL_META))) {
        const std::vector<ViewSwitch> switches = switchesOfKey(key, (state & FL_SHIFT) != 0, loaded);
        if (!switches.empty()) {
            for (ViewSwitch id : switches) {
                if (listener_)
                    listener_->switchRequested(id);
                else
                    applySwitchRequest(id);
            }
            return true;
        }
    }
    using K = KeyAction;
    switch (keyAction(key, state, {loaded.dem, loaded.comparison})) {
    case K::none: return false;
    case K::xPlus1: view_.xrotation += 1; break;
    case K::xMinus1: view_.xrotation -= 1; break;
    case K::zPlus1: view_.zrotation += 1; break;
    case K::zMinus1: view_.zrotation -= 1; break;
    case K::xPlus90: view_.xrotation += 90; break;
    case K::xMinus90: view_.xrotation -= 90; break;
    case K::zPlus90: view_.zrotation += 90; break;
    case K::zMinus90: view_.zrotation -= 90; break;
    case K::topView: topView(view_); break;
    case K::sideView: sideView(view_); break;
    case K::resetView: // the translations stay
        view_.eyevalue = STARTEYE;
        view_.xrotation = XROTATE;
        view_.zrotation = ZROTATE;
        break;
    case K::eyeAway: return moveEye(view_, -EYEINCR);
    case K::eyeCloser: return moveEye(view_, EYEINCR);
    case K::askEye: return askForEye();
    case K::exaggerationUp: return stepExaggeration(true);
    case K::exaggerationDown: return stepExaggeration(false);
    case K::sunEast: sunStep(view_.position0, +1); break;
    case K::sunWest: sunStep(view_.position0, -1); break;
    case K::pickCentre: return pickAtCentre();
    case K::quit:
        if (listener_)
            listener_->quitRequested();
        else
            std::exit(1);
        break;
    }
    return true;
}

std::optional<SurfaceHit> Viewer::surfaceAt(double x, double y) const
{
    if (!data_ || hold_)
        return std::nullopt;
    return surfaceUnder(*data_, view_, w(), h(), {x, y});
}

// The readout follows the pointer, and the view moving under a still one;
// it never asks for a frame.
void Viewer::tellPointer()
{
    if (!listener_)
        return;
    listener_->pointerOver(pointer_ ? surfaceAt(pointer_->x, pointer_->y) : std::nullopt);
}

// Space: the point under the cross-hair, for a user without a mouse. The
// readout shows it too. Nothing to pick off the surface.
bool Viewer::pickAtCentre()
{
    const std::optional<SurfaceHit> hit = surfaceAt(w() / 2.0, h() / 2.0);
    if (listener_) {
        listener_->pointerOver(hit);
        if (hit)
            listener_->pickRequested(*hit);
    }
    return false;
}

void Viewer::pressButton()
{
    const DragMode mode = dragModeFor(Fl::event_button(), view_.magnify);
    if (mode == DragMode::none)
        return;
    holdButton(drag_, mode);
    outline_ = outlineWhileDragging(gridPoints(data_));
}

int Viewer::handle(int event)
{
    bool used = true, changed = false;
    const int points = gridPoints(data_);
    switch (event) {
    case FL_FOCUS:
    case FL_UNFOCUS: break; // the viewer holds the keyboard focus for its keys
    case FL_ENTER:          // taken, so that the moves over the viewer come here
    case FL_MOVE:
        pointer_ = WindowPoint{Fl::event_x() + 0.5, Fl::event_y() + 0.5};
        tellPointer();
        return 1;
    case FL_LEAVE:
        pointer_.reset();
        tellPointer();
        return 1;
    case FL_PUSH:
        if (shown())
            take_focus(); // a click on the viewer sends the keys to it
        // What a click picks is what was under the press, before any
        // motion of the button turns the view.
        pressForClick(click_, Fl::event_button(), Fl::event_x(), Fl::event_y());
        if (click_.armed)
            pressHit_ = surfaceAt(click_.x + 0.5, click_.y + 0.5);
        pressButton();
        changed = drag_.held() && dragChangesPicture(points);
        break;
    case FL_RELEASE:
        changed = drag_.held() && dragChangesPicture(points);
        drag_.release();
        outline_ = false;
        if (releaseIsClick(click_) && listener_ && pressHit_)
            listener_->pickRequested(*pressHit_);
        break;
    case FL_DRAG: {
        const DragMode mode = dragModeFor(Fl::event_button(), view_.magnify);
        used = mode != DragMode::none;
        holdButton(drag_, mode);
        dragForClick(click_, Fl::event_x(), Fl::event_y());
        changed = used && mouseMove(view_, drag_, Fl::event_x(), Fl::event_y());
        pointer_ = WindowPoint{Fl::event_x() + 0.5, Fl::event_y() + 0.5};
        break;
    }
    case FL_KEYBOARD:
        changed = applyKey(Fl::event_key(), Fl::event_state());
        used = changed || keyAction(Fl::event_key(), Fl::event_state(),
                                    {data_ != nullptr, data_ && data_->hasComparison()}) != KeyAction::none;
        break;
    case FL_MOUSEWHEEL: {
        const float step = wheelEyeStep(Fl::event_dy());
        used = step != 0;
        changed = used && moveEye(view_, step);
        break;
    }
    default:
        // Showing, hiding and the pointer's comings and goings are the
        // base window's.
        return Fl_Gl_Window::handle(event);
    }
    if (changed) {
        stale_ = true;
        tellPointer();
    }
    if (stale_)
        redraw();
    return used ? 1 : 0;
}

} // namespace orolith::render

// The four steps of a frame, shared by the viewer window and the
// off-screen picture of --image: the same data set and view state give the
// same picture in both.
#ifndef OROLITH_RENDER_FRAME_H
#define OROLITH_RENDER_FRAME_H

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

class SurfaceCache;

// GLUT's defaults only; no GLUT window is ever opened.
void windowinit();
// The viewport of a w x h picture and the projection for it: the viewer's
// square frustum, scaled in clip space by imageClipScale (clipscale.h).
void reshape(int w, int h);
// Light, depth test and shading as the view asks; `outline` draws the
// surface's triangles as outlines (a large grid while it is dragged).
void minit(const ViewState& view, bool outline = false);

// How the surface of a frame is drawn.
struct FrameMode {
    bool dragging = false; // a mouse button is held: the coarse level of detail
    // While a load or an analysis may change the data set, the surface of
    // the last frame from its buffers, and no profile.
    bool hold = false;
};

// The picture: camera, axes, light, surface, checkpoints, sun, profile and
// magnifier.
void display(const DataSet& d, const ViewState& view, SurfaceCache& surface, const FrameMode& mode = {});

} // namespace orolith::render

#endif

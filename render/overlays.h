// What the frame draws besides the surface: axes, sun, magnifier ring,
// the profile section and the checkpoints, each from the data set and the
// view state.
#ifndef OROLITH_RENDER_OVERLAYS_H
#define OROLITH_RENDER_OVERLAYS_H

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// The three axes through the model's origin: x red, y blue, z yellow.
void drawAxes(const ViewState& view);

// The sun, one unit below the light position it stands for, under the
// model transform.
void drawSunSphere(const ViewState& view);

// The magnifier ring, MAGDIST in front of the eye.
void drawMagnifier(const ViewState& view);

// The profile section: the cutting plane, the DEM's heights along it, and
// the comparison heights as a line (dense grids) or as marks.
void drawProfile(const DataSet& d, const ViewState& view);

// The checkpoints' markers (checkpointmarkers.h), under the model
// transform, in the view's difference unit.
void drawCheckpointMarkers(const DataSet& d, const ViewState& view);

// Switch lighting back on after an overlay, unless the user turned it off.
void restoreLighting(const ViewState& view);

} // namespace orolith::render

#endif

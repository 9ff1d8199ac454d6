// The viewer's picture of the current view state drawn off screen, for the
// --image mode: the frame of the viewer window (reshape, minit, display)
// run unchanged in an off-screen context of the picture's size.
#ifndef OROLITH_RENDER_VIEWIMAGE_H
#define OROLITH_RENDER_VIEWIMAGE_H

#include <string>
#include <vector>

#include "render/clipscale.h"
#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// Draws the frame of `d` seen as `view` into a width x height picture and
// returns its RGB rows, top row first. At the viewer's size it is the
// viewer's picture, pixel for pixel. False, with the reason, when no
// off-screen context can be made. `coarse` draws a large grid at the level
// of detail of a drag, for a picture much smaller than the grid.
bool renderViewImage(const DataSet& d, const ViewState& view, int width, int height,
                     std::vector<unsigned char>& rgbRowsTopDown, std::string& error, bool coarse = false);

} // namespace orolith::render

#endif

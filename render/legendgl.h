// The legend drawn over the frame: the last step of display(), in the
// viewer's window and in the off-screen frame of --image and the report.
#ifndef OROLITH_RENDER_LEGENDGL_H
#define OROLITH_RENDER_LEGENDGL_H

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// Draws the legend of `d` seen as `view` in the bottom left corner of the
// current viewport when view.showLegend. `hold`: the data set may be
// changing, so the last legend drawn on this thread is shown again
// without reading it.
void drawLegend(const DataSet& d, const ViewState& view, bool hold);

} // namespace orolith::render

#endif

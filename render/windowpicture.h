// The picture the viewer window shows, for "Save Image...".
#ifndef OROLITH_RENDER_WINDOWPICTURE_H
#define OROLITH_RENDER_WINDOWPICTURE_H

#include "render/names.h"
#include <vector>

namespace orolith::render {

class Viewer;

// The viewer's frame drawn again in its own context and read back before
// the swap: viewer.w() x viewer.h() RGB pixels, top row first, as on screen
// (the viewport fills the widget at whatever size the main window gives
// it). Empty while the window is not shown.
std::vector<unsigned char> windowPicture(Viewer& viewer);

} // namespace orolith::render

#endif

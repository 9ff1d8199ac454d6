// How the viewer's square projection is narrowed along x and y for a
// picture of width x height pixels, be it the viewer's widget or an
// `--image --size` picture. A picture wider or taller than it is sees more
// on its longer side at the scale of the shorter one, rather than a
// stretched terrain; a square picture is the viewer's own (1, 1).
#ifndef OROLITH_RENDER_CLIPSCALE_H
#define OROLITH_RENDER_CLIPSCALE_H
#include "render/names.h"

namespace orolith::render {

struct ClipScale {
    double x, y;
};
ClipScale imageClipScale(int width, int height);

} // namespace orolith::render

#endif

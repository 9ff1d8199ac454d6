#include "render/viewimage.h"

#include <GL/gl.h>

#include "model/dataset.h"
#include "render/frame.h"
#include "render/framepixels.h"
#include "render/names.h"
#include "render/offscreengl.h"
#include "render/surfacecache.h"

namespace orolith::render {

bool renderViewImage(const DataSet& d, const ViewState& view, int width, int height,
                     std::vector<unsigned char>& rgbRowsTopDown, std::string& error, bool coarse)
{
    OffscreenGL context;
    if (!context.open(width, height, error))
        return false;
    // GL objects belong to the context that made them: this picture has a
    // surface cache of its own, gone with the context.
    SurfaceCache surface;
    // As the viewer does on its first frame, then its frame; only the
    // viewport's size is the picture's rather than the widget's.
    glEnable(GL_DEPTH_TEST);
    windowinit();
    reshape(width, height);
    minit(view);
    FrameMode mode;
    mode.dragging = coarse;
    display(d, view, surface, mode);
    rgbRowsTopDown = readFramePixels(width, height);
    return true;
}

} // namespace orolith::render

#include "render/viewimage.h"

#include <GL/gl.h>

#include "render/framepixels.h"
#include "render/glviewer.h"
#include "render/offscreengl.h"
#include "render/surfacecache.h"

bool renderViewImage(int width, int height, std::vector<unsigned char>& rgbRowsTopDown, std::string& error)
{
    OffscreenGL context;
    if (!context.open(width, height, error))
        return false;
    // GL objects belong to the context that made them: the surface is
    // built anew in this one, and again in whichever context draws next.
    forgetSurfaceBuffers();
    // As MyWindow::draw does on its first frame, then its frame; only the
    // viewport's size is the picture's rather than the widget's.
    glEnable(GL_DEPTH_TEST);
    windowinit();
    reshape(width, height);
    minit();
    display();
    rgbRowsTopDown = readFramePixels(width, height);
    forgetSurfaceBuffers();
    return true;
}

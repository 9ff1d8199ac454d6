#include "render/viewimage.h"

#include <GL/gl.h>

#include <algorithm>

#include "render/framepixels.h"
#include "render/glviewer.h"
#include "render/offscreengl.h"
#include "render/surfacecache.h"

ClipScale imageClipScale(int width, int height)
{
    const double shorter = std::min(width, height);
    return {shorter / width, shorter / height};
}

bool renderViewImage(int width, int height, std::vector<unsigned char>& rgbRowsTopDown, std::string& error)
{
    OffscreenGL context;
    if (!context.open(width, height, error))
        return false;
    // GL objects belong to the context that made them: the surface is
    // built anew in this one, and again in whichever context draws next.
    forgetSurfaceBuffers();
    // As MyWindow::draw does on its first frame, then its frame; only the
    // viewport's size is the picture's rather than the window's.
    glEnable(GL_DEPTH_TEST);
    windowinit();
    reshape(width, height);
    const ClipScale s = imageClipScale(width, height);
    if (s.x != 1 || s.y != 1) {
        // Scaled in clip space, after reshape's frustum, so its planes and
        // depth stay as the viewer has them.
        GLdouble frustum[16];
        glGetDoublev(GL_PROJECTION_MATRIX, frustum);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glScaled(s.x, s.y, 1.0);
        glMultMatrixd(frustum);
        glMatrixMode(GL_MODELVIEW);
    }
    minit();
    display();
    rgbRowsTopDown = readFramePixels(width, height);
    forgetSurfaceBuffers();
    return true;
}

// A desktop GL context that draws into memory with no window and no display
// server, for pictures of the viewer made from the command line: Mesa's EGL
// on its surfaceless platform, a compatibility context (the viewer's frame
// is fixed-function GL) and a pbuffer with a depth buffer. The EGL library
// is opened only when a context is asked for, so orolith still starts, and
// runs its other modes, on a machine without it.
#ifndef OROLITH_RENDER_OFFSCREENGL_H
#define OROLITH_RENDER_OFFSCREENGL_H

#include "render/names.h"
#include <memory>
#include <string>

namespace orolith::render {

class OffscreenGL {
public:
    OffscreenGL();
    ~OffscreenGL();
    OffscreenGL(const OffscreenGL&) = delete;
    OffscreenGL& operator=(const OffscreenGL&) = delete;

    // Makes a width x height RGBA pbuffer with a depth buffer and a context
    // drawing into it current on this thread. False, with the reason and the
    // Debian package that would supply what is missing, when it cannot.
    bool open(int width, int height, std::string& error);

private:
    struct Egl;
    std::unique_ptr<Egl> egl_;
};

} // namespace orolith::render

#endif

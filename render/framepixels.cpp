#include "render/framepixels.h"

#include <GL/gl.h>

#include "render/names.h"
#include <algorithm>

namespace orolith::render {

std::vector<unsigned char> readFramePixels(int width, int height)
{
    if (width <= 0 || height <= 0)
        return {};
    glFinish();
    // The buffer the frame was drawn into: a double-buffered window's back
    // buffer before the swap, a pbuffer's only one.
    GLint drawn = GL_BACK;
    glGetIntegerv(GL_DRAW_BUFFER, &drawn);
    glReadBuffer(static_cast<GLenum>(drawn));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> pixels(row * static_cast<std::size_t>(height));
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    // GL counts rows from the bottom.
    for (int y = 0; y < height / 2; ++y)
        std::swap_ranges(pixels.begin() + static_cast<std::ptrdiff_t>(row * y),
                         pixels.begin() + static_cast<std::ptrdiff_t>(row * (y + 1)),
                         pixels.begin() + static_cast<std::ptrdiff_t>(row * (height - 1 - y)));
    return pixels;
}

} // namespace orolith::render

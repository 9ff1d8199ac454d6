// The picture the current GL context has just drawn, read back as RGB rows.
// The off-screen image reads its pbuffer with it; a window's picture is
// read the same way while its context is current, after its frame.
#ifndef OROLITH_RENDER_FRAMEPIXELS_H
#define OROLITH_RENDER_FRAMEPIXELS_H

#include "render/names.h"
#include <vector>

namespace orolith::render {

// The width x height pixels at the lower-left corner of the buffer being
// drawn to, top row first, three bytes a pixel with no padding: the order
// a PNG file (render/pngfile.h) and a person read them in.
std::vector<unsigned char> readFramePixels(int width, int height);

} // namespace orolith::render

#endif

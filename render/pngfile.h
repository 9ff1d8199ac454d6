// PNG files of RGB pictures. The --image mode writes the viewer's picture
// with writePng; anything else that holds a picture's rows (a screenshot of
// the viewer, say) can hand them over the same way.
#ifndef OROLITH_RENDER_PNGFILE_H
#define OROLITH_RENDER_PNGFILE_H

#include "render/names.h"
#include <string>
#include <vector>

namespace orolith::render {

// The bytes of a PNG file of width x height pixels, 8-bit RGB, from rows
// given top row first, three bytes a pixel, no padding. Empty when the
// size is not positive, a side is longer than 32767 pixels, or the rows do
// not hold exactly that many pixels.
std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgbRowsTopDown);

// Writes encodePng's bytes to `path`; false, with a message naming the
// file, when the picture is malformed or the file cannot be written.
bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgbRowsTopDown,
              std::string& error);

} // namespace orolith::render

#endif

// cairo writes the file. Its RGB24 surface keeps a pixel in a 32-bit word,
// 0x00RRGGBB in the machine's byte order, with rows `stride` bytes apart;
// it goes out as 8-bit RGB without alpha, so the rows read back exactly.
#include "render/pngfile.h"

#include <cairo.h>

#include "render/names.h"
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <new>

namespace orolith::render {

namespace {

// cairo's image surfaces take at most 32767 pixels a side; the limit on
// the bytes keeps its surface, four bytes a pixel, far from what an int
// and memory hold.
constexpr int MAX_SIDE = 32767;
constexpr long long MAX_BYTES = 1LL << 30;

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto& out = *static_cast<std::vector<unsigned char>*>(closure);
    try {
        out.insert(out.end(), data, data + length);
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY; // nothing may be thrown through cairo's C code
    }
    return CAIRO_STATUS_SUCCESS;
}

void copyRows(cairo_surface_t* surface, int width, int height, const std::vector<unsigned char>& rgb)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* in = rgb.data();
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(stride) * y);
        for (int x = 0; x < width; ++x, in += 3)
            row[x] = std::uint32_t{in[0]} << 16 | std::uint32_t{in[1]} << 8 | in[2];
    }
    cairo_surface_mark_dirty(surface);
}

} // namespace

std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgbRowsTopDown)
{
    if (width <= 0 || height <= 0 || width > MAX_SIDE || height > MAX_SIDE || 3LL * width * height > MAX_BYTES ||
        rgbRowsTopDown.size() != 3ULL * static_cast<unsigned>(width) * static_cast<unsigned>(height))
        return {};

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    std::vector<unsigned char> png;
    // No memory for the surface leaves an error surface: no file rather
    // than a wrong one.
    if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
        copyRows(surface, width, height, rgbRowsTopDown);
        if (cairo_surface_write_to_png_stream(surface, appendBytes, &png) != CAIRO_STATUS_SUCCESS)
            png.clear();
    }
    cairo_surface_destroy(surface);
    return png;
}

bool writePng(const std::string& path, int width, int height, const std::vector<unsigned char>& rgbRowsTopDown,
              std::string& error)
{
    const std::vector<unsigned char> png = encodePng(width, height, rgbRowsTopDown);
    if (png.empty()) {
        error =
            "no picture of " + std::to_string(width) + " x " + std::to_string(height) + " pixels to write to " + path;
        return false;
    }
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out)
        out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (out)
        out.close();
    if (!out) {
        error = "cannot write " + path + (errno ? std::string(": ") + std::strerror(errno) : std::string());
        return false;
    }
    return true;
}

} // namespace orolith::render

// The encoder writes the smallest file the PNG format allows: the signature,
// one IHDR, the picture in IDAT, an IEND. Each row is stored with the Sub
// filter (each byte less the same channel of the pixel on its left), which
// turns the viewer's flat background and smooth shading into runs zlib
// packs well.
#include "render/pngfile.h"

#include <zlib.h>

#include "render/names.h"
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>

namespace orolith::render {

namespace {

constexpr unsigned char SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr unsigned char FILTER_SUB = 1;
// PNG allows 2^31 - 1 pixels a side; a row's bytes must also fit zlib's
// and the vector's sizes, which this keeps far from their limits.
constexpr long long MAX_BYTES = 1LL << 30;

void put32(std::vector<unsigned char>& out, std::uint32_t v)
{
    out.insert(out.end(), {static_cast<unsigned char>(v >> 24), static_cast<unsigned char>(v >> 16),
                           static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v)});
}

// Length, type, data, then the CRC of type and data.
void putChunk(std::vector<unsigned char>& out, const char type[4], const std::vector<unsigned char>& data)
{
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(out.size() - typeAt));
    put32(out, static_cast<std::uint32_t>(crc));
}

std::vector<unsigned char> filteredRows(int width, int height, const std::vector<unsigned char>& rgb)
{
    const std::size_t row = static_cast<std::size_t>(width) * 3;
    std::vector<unsigned char> out;
    out.reserve((row + 1) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const unsigned char* in = rgb.data() + row * static_cast<std::size_t>(y);
        out.push_back(FILTER_SUB);
        for (std::size_t k = 0; k < row; ++k)
            out.push_back(static_cast<unsigned char>(in[k] - (k >= 3 ? in[k - 3] : 0)));
    }
    return out;
}

} // namespace

std::vector<unsigned char> encodePng(int width, int height, const std::vector<unsigned char>& rgbRowsTopDown)
{
    if (width <= 0 || height <= 0 || 3LL * width * height > MAX_BYTES ||
        rgbRowsTopDown.size() != 3ULL * static_cast<unsigned>(width) * static_cast<unsigned>(height))
        return {};

    const std::vector<unsigned char> raw = filteredRows(width, height, rgbRowsTopDown);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), Z_BEST_COMPRESSION) != Z_OK)
        return {};
    packed.resize(packedSize);

    std::vector<unsigned char> header;
    put32(header, static_cast<std::uint32_t>(width));
    put32(header, static_cast<std::uint32_t>(height));
    // 8 bits a channel, colour type 2 (RGB), deflate, adaptive filtering,
    // no interlace.
    header.insert(header.end(), {8, 2, 0, 0, 0});

    std::vector<unsigned char> png(SIGNATURE, SIGNATURE + sizeof SIGNATURE);
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", packed);
    putChunk(png, "IEND", {});
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

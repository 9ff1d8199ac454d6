// Pictures as RGB rows, read and written as PPM; PNG files read back through
// ImageMagick, a decoder that shares no code with ours (it checks every
// chunk's CRC and the zlib stream); and the orolith runs of the --image
// tests, which never have a display.
#ifndef OROLITH_TESTS_IMAGE_PNG_DECODE_H
#define OROLITH_TESTS_IMAGE_PNG_DECODE_H

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/names.h"
#include "tests/cli/cli_runner.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

struct Pixel {
    int r, g, b;
};
inline std::ostream& operator<<(std::ostream& os, const Pixel& p)
{
    return os << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}
inline bool near(const Pixel& p, int r, int g, int b, int tol = 2)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

// RGB rows top-down, read and written as binary PPM. x counts from the left
// and y from the top, as a user counts on screen.
struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;

    Pixel at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return {-1, -1, -1};
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        return {p[0], p[1], p[2]};
    }
    void save(const std::string& path) const
    {
        std::ofstream(path, std::ios::binary) << "P6\n"
                                              << w << " " << h << "\n255\n"
                                              << std::string(rgb.begin(), rgb.end());
    }
    static Image load(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return read(in);
    }
    static Image read(std::istream& in)
    {
        Image img;
        std::string magic;
        int maxval = 0;
        if (in >> magic >> img.w >> img.h >> maxval && magic == "P6" && maxval == 255 && in.get()) {
            img.rgb.resize(static_cast<std::size_t>(img.w) * img.h * 3);
            in.read(reinterpret_cast<char*>(img.rgb.data()), static_cast<std::streamsize>(img.rgb.size()));
        }
        return in ? img : Image{};
    }
};

// The picture in a PNG file; w == 0 when ImageMagick cannot read it.
inline Image decodePng(const std::string& path)
{
    FILE* pipe = popen(("convert 'png:" + path + "' -depth 8 ppm:- 2>/dev/null").c_str(), "r");
    std::string data;
    char buf[65536];
    for (std::size_t n; pipe && (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        data.append(buf, n);
    std::istringstream in(data);
    return pipe && pclose(pipe) == 0 ? Image::read(in) : Image{};
}

// orolith run as a user would run --image: with no display to connect to.
inline Outcome runWithoutDisplay(const std::vector<std::string>& args)
{
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    unsetenv("DISPLAY");
    Outcome r = runOrolith(args);
    if (display)
        setenv("DISPLAY", saved.c_str(), 1);
    return r;
}

#endif

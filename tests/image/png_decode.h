// PNG files read back through ImageMagick, a decoder that shares no code
// with ours (it checks every chunk's CRC and the zlib stream), and the
// orolith runs of the --image tests, which never have a display.
#ifndef OROLITH_TESTS_IMAGE_PNG_DECODE_H
#define OROLITH_TESTS_IMAGE_PNG_DECODE_H

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/cli/cli_runner.h"

struct Picture {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb; // rows top-down

    // {-1, -1, -1} outside the picture.
    std::vector<int> at(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return {-1, -1, -1};
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

// The picture in a PNG file; w == 0 when ImageMagick cannot read it.
inline Picture decodePng(const std::string& path)
{
    Picture pic;
    const std::string command = "convert 'png:" + path + "' -depth 8 ppm:- 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return pic;
    std::string data;
    char buf[65536];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe)) > 0;)
        data.append(buf, n);
    if (pclose(pipe) != 0)
        return pic;
    int maxval = 0, used = 0;
    if (std::sscanf(data.c_str(), "P6 %d %d %d%n", &pic.w, &pic.h, &maxval, &used) != 3 || maxval != 255) {
        pic.w = 0;
        return pic;
    }
    const std::size_t bytes = static_cast<std::size_t>(pic.w) * pic.h * 3;
    if (data.size() != used + 1 + bytes) {
        pic.w = 0;
        return pic;
    }
    pic.rgb.assign(data.begin() + used + 1, data.end());
    return pic;
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

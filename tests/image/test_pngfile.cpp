// The PNG writer: what it writes is read back whole by another decoder, for
// pictures of the shapes that break encoders (one pixel, rows of odd
// length, noise that does not compress, a long flat run); a malformed
// picture or an unwritable path is refused with a message.
#include <gtest/gtest.h>

#include "render/pngfile.h"
#include "tests/image/png_decode.h"

namespace {

std::vector<unsigned char> picture(int w, int h, unsigned seed)
{
    std::vector<unsigned char> rgb(static_cast<std::size_t>(w) * h * 3);
    for (std::size_t i = 0; i < rgb.size(); ++i) {
        seed = seed * 1103515245u + 12345u;
        rgb[i] = static_cast<unsigned char>(seed >> 16);
    }
    return rgb;
}

TEST(PngFile, ReadsBackAsWritten)
{
    struct Case {
        const char* what;
        int w, h;
        std::vector<unsigned char> rgb;
    };
    std::vector<unsigned char> flat(200 * 150 * 3, 0);
    for (std::size_t i = 0; i < flat.size(); i += 3)
        flat[i] = 230, flat[i + 1] = 230, flat[i + 2] = 255;
    std::vector<unsigned char> ramp(256 * 3 * 2);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<unsigned char>(i / 3); // the Sub filter's differences wrap
    const Case cases[] = {
        {"one pixel", 1, 1, {12, 200, 255}},
        {"rows of an odd length", 7, 5, picture(7, 5, 3)},
        {"one column", 1, 9, picture(1, 9, 4)},
        {"noise", 300, 200, picture(300, 200, 5)},
        {"a flat background", 200, 150, flat},
        {"every byte value", 256, 2, ramp},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        const std::string path = dir.path + "/picture.png";
        std::string error;
        ASSERT_TRUE(writePng(path, c.w, c.h, c.rgb, error)) << c.what << ": " << error;
        const Image back = decodePng(path);
        EXPECT_EQ(back.w, c.w) << c.what;
        EXPECT_EQ(back.h, c.h) << c.what;
        EXPECT_TRUE(back.rgb == c.rgb) << c.what << ": other pixels read back";
    }
    const std::vector<unsigned char> png = encodePng(200, 150, flat);
    EXPECT_LT(png.size(), 2000u) << "a flat picture of 90000 bytes is packed";
}

TEST(PngFile, MalformedPicturesAndUnwritablePathsAreRefused)
{
    const std::vector<unsigned char> six(6, 9);
    const struct {
        const char* what;
        int w, h;
        std::size_t bytes;
    } bad[] = {
        {"no width", 0, 2, 0}, {"negative height", 2, -1, 6}, {"a byte short", 2, 1, 5}, {"a byte over", 2, 1, 7},
    };
    for (const auto& b : bad)
        EXPECT_TRUE(encodePng(b.w, b.h, std::vector<unsigned char>(b.bytes, 9)).empty()) << b.what;
    EXPECT_FALSE(encodePng(2, 1, six).empty()) << "the same bytes in the right shape";

    ScratchDir dir;
    std::string error;
    const std::string shortRows = dir.path + "/short.png";
    EXPECT_FALSE(writePng(shortRows, 3, 1, six, error));
    EXPECT_NE(error.find(shortRows), std::string::npos) << error;
    EXPECT_FALSE(std::ifstream(shortRows)) << "nothing written for a malformed picture";
    const std::string nowhere = dir.path + "/no/such/folder/x.png";
    EXPECT_FALSE(writePng(nowhere, 2, 1, six, error));
    EXPECT_NE(error.find(nowhere), std::string::npos) << error;
}

} // namespace

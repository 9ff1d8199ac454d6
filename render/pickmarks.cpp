#include "render/pickmarks.h"

#include "model/dataset.h"
#include "render/checkpointmarkers.h"
#include "render/surfacepick.h"

namespace orolith::render {

Vec3 pickMarkPlace(const DataSet& d, const PickMark& pick)
{
    Vec3 p = modelPointOf(d, pick.row, pick.col, pick.height);
    p.z += MARKER_LIFT;
    return p;
}

std::array<std::uint8_t, DIGIT_H> digitRows(char digit)
{
    static constexpr std::uint8_t FONT[10][DIGIT_H] = {
        {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // 0
        {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 1
        {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // 2
        {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // 3
        {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // 4
        {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // 5
        {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // 6
        {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // 7
        {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // 8
        {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // 9
    };
    std::array<std::uint8_t, DIGIT_H> rows{};
    if (digit >= '0' && digit <= '9')
        for (int i = 0; i < DIGIT_H; ++i)
            rows[i] = FONT[digit - '0'][i];
    return rows;
}

bool TextBitmap::on(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return false;
    const int rowBytes = (width + 7) / 8;
    return (bits[static_cast<std::size_t>(y) * rowBytes + x / 8] >> (7 - x % 8)) & 1;
}

TextBitmap numberBitmap(const std::string& digits)
{
    TextBitmap b;
    const int n = static_cast<int>(digits.size());
    if (n == 0)
        return b;
    const int advance = (DIGIT_W + 1) * DIGIT_SCALE;
    b.width = n * advance - DIGIT_SCALE;
    b.height = DIGIT_H * DIGIT_SCALE;
    const int rowBytes = (b.width + 7) / 8;
    b.bits.assign(static_cast<std::size_t>(rowBytes) * b.height, 0);
    for (int k = 0; k < n; ++k) {
        const std::array<std::uint8_t, DIGIT_H> rows = digitRows(digits[k]);
        for (int gy = 0; gy < DIGIT_H; ++gy)
            for (int gx = 0; gx < DIGIT_W; ++gx) {
                if (!((rows[gy] >> (DIGIT_W - 1 - gx)) & 1))
                    continue;
                for (int sy = 0; sy < DIGIT_SCALE; ++sy)
                    for (int sx = 0; sx < DIGIT_SCALE; ++sx) {
                        const int x = k * advance + gx * DIGIT_SCALE + sx;
                        const int y = (DIGIT_H - 1 - gy) * DIGIT_SCALE + sy; // bottom up
                        b.bits[static_cast<std::size_t>(y) * rowBytes + x / 8] |=
                            static_cast<std::uint8_t>(0x80 >> (x % 8));
                    }
            }
    }
    return b;
}

} // namespace orolith::render

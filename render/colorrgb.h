// An RGB colour as three floats, the form the viewer hands to GL.
#ifndef OROLITH_RENDER_COLORRGB_H
#define OROLITH_RENDER_COLORRGB_H
#include "render/names.h"

namespace orolith::render {

struct ColorRGB {
    float r, g, b;
};

inline bool operator==(const ColorRGB& a, const ColorRGB& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// GL clamps colour components to 0..1; clamping here gives the same picture
// and keeps every colour we hand out finite and in range (NaN becomes 0).
inline float clamp01(float v)
{
    if (!(v >= 0.0f))
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

inline ColorRGB clamped(ColorRGB c) { return {clamp01(c.r), clamp01(c.g), clamp01(c.b)}; }

} // namespace orolith::render

#endif

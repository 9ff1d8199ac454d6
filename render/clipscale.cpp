#include "render/clipscale.h"

#include <algorithm>

ClipScale imageClipScale(int width, int height)
{
    const double shorter = std::min(width, height);
    return {shorter / width, shorter / height};
}

#include "render/clipscale.h"

#include "render/names.h"
#include <algorithm>

namespace orolith::render {

ClipScale imageClipScale(int width, int height)
{
    const double shorter = std::min(width, height);
    return {shorter / width, shorter / height};
}

} // namespace orolith::render

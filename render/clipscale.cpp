#include "render/clipscale.h"

#include <algorithm>
#include "render/names.h"

namespace orolith::render {

ClipScale imageClipScale(int width, int height)
{
    const double shorter = std::min(width, height);
    return {shorter / width, shorter / height};
}

} // namespace orolith::render

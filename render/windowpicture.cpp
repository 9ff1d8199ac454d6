#include "render/windowpicture.h"

#include "render/framepixels.h"
#include "render/names.h"
#include "render/viewer.h"

namespace orolith::render {

std::vector<unsigned char> windowPicture(Viewer& viewer)
{
    if (!viewer.shown())
        return {};
    viewer.make_current();
    viewer.draw();
    return readFramePixels(viewer.w(), viewer.h());
}

} // namespace orolith::render

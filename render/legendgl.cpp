// glWindowPos2i is GL 1.4, declared with the extensions' prototypes.
#define GL_GLEXT_PROTOTYPES
#include "render/legendgl.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include "model/dataset.h"
#include "render/legend.h"
#include "render/legendimage.h"
#include "render/names.h"

namespace orolith::render {

namespace {

// One cache a thread: the viewer draws on the main thread, a report's
// picture may be drawn on a worker's. glDrawPixels takes memory, not GL
// objects, so the image serves every context of its thread.
LegendImageCache& cache()
{
    thread_local LegendImageCache images;
    return images;
}

} // namespace

void drawLegend(const DataSet& d, const ViewState& view, bool hold)
{
    if (!view.showLegend || (!hold && !d.loaded()))
        return;
    GLint viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double scale = legendScale(viewport[2], viewport[3]);
    const LegendImage* image = hold ? cache().last() : &cache().imageFor(legendFor(d, view), scale);
    if (!image || image->rgba.empty())
        return;
    const std::optional<LegendPlace> place =
        legendPlace(viewport[2], viewport[3], {image->width, image->height}, scale);
    if (!place)
        return;

    // Plain pixels over whatever the frame drew: no depth test, light,
    // texture or fog; the image's alpha is premultiplied.
    glPushAttrib(GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT | GL_PIXEL_MODE_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_FOG);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glPixelZoom(1, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glWindowPos2i(viewport[0] + place->x, viewport[1] + place->y);
    glDrawPixels(image->width, image->height, GL_RGBA, GL_UNSIGNED_BYTE, image->rgba.data());
    glPopClientAttrib();
    glPopAttrib();
}

} // namespace orolith::render

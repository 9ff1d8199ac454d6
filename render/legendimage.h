// The legend as pixels: a Legend (legend.h) rasterised with cairo into a
// semi-opaque white box with a thin frame, its title and its swatches, bar
// or wheel, ready for glDrawPixels. The box's size, the size factor for
// large pictures and the corner it goes in are plain functions, so tests
// check them without cairo or GL; a cache keeps the last image so a frame
// that shows the same legend does not rasterise it again.
#ifndef OROLITH_RENDER_LEGENDIMAGE_H
#define OROLITH_RENDER_LEGENDIMAGE_H

#include <optional>
#include <vector>

#include "render/legend.h"
#include "render/names.h"

namespace orolith::render {

struct LegendBox {
    int width = 0, height = 0;
};

// The box of `legend` at `scale` (1 on the viewer's 650-pixel picture):
// 140 to 200 pixels wide by its longest text, as high as its rows, bar or
// wheel need.
LegendBox legendBox(const Legend& legend, double scale);

// The size factor for a viewport: 1 up to twice the viewer's picture, then
// growing in halves with the shorter side, at most 3, so that the legend
// of a large --image stays readable.
double legendScale(int viewportWidth, int viewportHeight);

// The box's lower left corner in the viewport (GL's pixels, from the
// bottom left): a margin in from the bottom left corner. None when the
// viewport cannot hold the box and its margins, so a tiny picture keeps
// its terrain.
struct LegendPlace {
    int x = 0, y = 0;
};
std::optional<LegendPlace> legendPlace(int viewportWidth, int viewportHeight, const LegendBox& box, double scale);

// RGBA with premultiplied alpha, rows from the bottom as glDrawPixels
// takes them (blend with GL_ONE, GL_ONE_MINUS_SRC_ALPHA).
struct LegendImage {
    int width = 0, height = 0;
    std::vector<unsigned char> rgba;
};

LegendImage rasterizeLegend(const Legend& legend, double scale);

// The image of the last legend asked for, rasterised again only when the
// legend or the scale differs.
class LegendImageCache {
public:
    const LegendImage& imageFor(const Legend& legend, double scale);
    // The last image made, for frames that must not read the data set;
    // null before the first.
    const LegendImage* last() const { return valid_ ? &image_ : nullptr; }
    int rasterisations() const { return rasterisations_; }

private:
    bool valid_ = false;
    Legend legend_;
    double scale_ = 0;
    LegendImage image_;
    int rasterisations_ = 0;
};

} // namespace orolith::render

#endif

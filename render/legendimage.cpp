// The legend's box drawn with cairo and Pango.
#include "render/legendimage.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "model/constants.h"
#include "render/names.h"

namespace orolith::render {

namespace {

// The layout at scale 1, in pixels. Text widths are estimated from the
// number of characters (a Sans letter averages under 0.6 of the font
// size), so the box's size does not depend on the fonts installed; a text
// wider than its room is drawn smaller when the box is rasterised.
constexpr double PAD = 8;
constexpr double TITLE_SIZE = 12;
constexpr double TEXT_SIZE = 11;
constexpr double LETTER_WIDTH = 0.58;
constexpr double TITLE_ROW = 20;
constexpr double ROW = 18;
constexpr double SWATCH = 13;
constexpr double LABEL_GAP = 6;
constexpr double BAR_WIDTH = 16;
constexpr double BAR_HEIGHT = 120;
constexpr double TICK = 4;
constexpr double BAR_ENDS = 7; // room for the end ticks' labels above and below the bar
constexpr double WHEEL = 76;   // the ring's outer diameter
constexpr double RING = 0.42;  // its inner radius, a share of the outer
constexpr double COMPASS = 14; // room for N, E, S and W around the ring
constexpr int MIN_WIDTH = 140, MAX_WIDTH = 200;
constexpr double MARGIN = 10;
constexpr double BOX_ALPHA = 0.85;
constexpr double VIEWER_SIDE = 650; // the viewer's picture at start

// Characters of a UTF-8 text.
std::size_t characters(const std::string& s)
{
    return static_cast<std::size_t>(
        std::count_if(s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

double textWidth(const std::string& s, double size) { return characters(s) * LETTER_WIDTH * size; }

// Where the parts of a legend go at scale 1.
struct Layout {
    double width = 0, height = 0;
    double top = 0; // of the content below the title
};

Layout layoutOf(const Legend& l)
{
    Layout out;
    out.top = PAD + TITLE_ROW;
    double content = 0, height = 0;
    auto rows = [&](double labelsLeft) {
        for (const LegendSwatch& s : l.swatches)
            content = std::max(content, labelsLeft + textWidth(s.label, TEXT_SIZE));
        height += ROW * static_cast<double>(l.swatches.size());
    };
    switch (l.kind) {
    case LegendKind::classes: rows(SWATCH + LABEL_GAP); break;
    case LegendKind::ramp:
        for (const RampTick& t : l.ticks)
            content = std::max(content, BAR_WIDTH + TICK + LABEL_GAP + textWidth(t.label, TEXT_SIZE));
        height = BAR_ENDS + BAR_HEIGHT + BAR_ENDS;
        break;
    case LegendKind::wheel:
        content = WHEEL + 2 * COMPASS;
        height = COMPASS + WHEEL + COMPASS + 4;
        rows(SWATCH + LABEL_GAP);
        break;
    }
    const double title = textWidth(l.title, TITLE_SIZE);
    out.width = std::clamp(std::ceil(2 * PAD + std::max(title, content)), double{MIN_WIDTH}, double{MAX_WIDTH});
    out.height = std::ceil(out.top + height + PAD);
    return out;
}

// Pango text in Sans at an absolute size, its top left corner placed.
class Text {
public:
    explicit Text(cairo_t* cr) : cr_(cr), layout_(pango_cairo_create_layout(cr))
    {
        font_ = pango_font_description_from_string("Sans");
    }
    ~Text()
    {
        pango_font_description_free(font_);
        g_object_unref(layout_);
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    // Draws `s` at most `room` wide, smaller when it would be wider;
    // (x, y) is its left end, y its middle.
    void draw(const std::string& s, double x, double y, double size, bool bold, double room)
    {
        double w = 0, h = 0;
        set(s, size, bold, w, h);
        if (w > room && room > 0)
            set(s, std::max(size * room / w, 1.0), bold, w, h);
        cairo_move_to(cr_, x, y - h / 2);
        pango_cairo_show_layout(cr_, layout_);
        cairo_new_path(cr_);
    }

    // Draws `s` centred on (x, y).
    void centred(const std::string& s, double x, double y, double size, bool bold)
    {
        double w = 0, h = 0;
        set(s, size, bold, w, h);
        cairo_move_to(cr_, x - w / 2, y - h / 2);
        pango_cairo_show_layout(cr_, layout_);
        cairo_new_path(cr_);
    }

private:
    void set(const std::string& s, double size, bool bold, double& w, double& h)
    {
        pango_font_description_set_absolute_size(font_, size * PANGO_SCALE);
        pango_font_description_set_weight(font_, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_layout_set_font_description(layout_, font_);
        pango_cairo_update_layout(cr_, layout_);
        pango_layout_set_text(layout_, s.c_str(), -1);
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        w = logical.width / static_cast<double>(PANGO_SCALE);
        h = logical.height / static_cast<double>(PANGO_SCALE);
    }

    cairo_t* cr_;
    PangoLayout* layout_;
    PangoFontDescription* font_;
};

constexpr double INK = 0.15;   // text
constexpr double FRAME = 0.35; // the box's and the swatches' outlines

void setColor(cairo_t* cr, const ColorRGB& c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void swatch(cairo_t* cr, double x, double y, const ColorRGB& c)
{
    cairo_rectangle(cr, x + 0.5, y + 0.5, SWATCH - 1, SWATCH - 1);
    setColor(cr, c);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, FRAME, FRAME, FRAME);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void drawSwatches(cairo_t* cr, Text& text, const Legend& l, double top, double width)
{
    for (std::size_t i = 0; i < l.swatches.size(); ++i) {
        const double y = top + ROW * static_cast<double>(i);
        swatch(cr, PAD, y + (ROW - SWATCH) / 2, l.swatches[i].color);
        cairo_set_source_rgb(cr, INK, INK, INK);
        const double x = PAD + SWATCH + LABEL_GAP;
        text.draw(l.swatches[i].label, x, y + ROW / 2, TEXT_SIZE, false, width - PAD - x);
    }
}

void drawRamp(cairo_t* cr, Text& text, const Legend& l, double top, double width)
{
    const double y0 = top + BAR_ENDS, x0 = PAD;
    cairo_pattern_t* gradient = cairo_pattern_create_linear(0, y0 + BAR_HEIGHT, 0, y0);
    for (const RampStop& s : l.stops)
        cairo_pattern_add_color_stop_rgb(gradient, s.at, s.color.r, s.color.g, s.color.b);
    cairo_rectangle(cr, x0, y0, BAR_WIDTH, BAR_HEIGHT);
    cairo_set_source(cr, gradient);
    cairo_fill(cr);
    cairo_pattern_destroy(gradient);
    cairo_rectangle(cr, x0 + 0.5, y0 + 0.5, BAR_WIDTH - 1, BAR_HEIGHT - 1);
    cairo_set_source_rgb(cr, FRAME, FRAME, FRAME);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    for (const RampTick& t : l.ticks) {
        const double y = std::round(y0 + (1 - t.at) * (BAR_HEIGHT - 1)) + 0.5;
        cairo_set_source_rgb(cr, FRAME, FRAME, FRAME);
        cairo_move_to(cr, x0 + BAR_WIDTH, y);
        cairo_line_to(cr, x0 + BAR_WIDTH + TICK, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, INK, INK, INK);
        const double x = x0 + BAR_WIDTH + TICK + LABEL_GAP;
        text.draw(t.label, x, y, TEXT_SIZE, false, width - PAD - x);
    }
}

void drawWheel(cairo_t* cr, Text& text, const Legend& l, double top, double width)
{
    const double cx = width / 2, cy = top + COMPASS + WHEEL / 2;
    const double outer = WHEEL / 2, inner = outer * RING;
    const double step = 360.0 / static_cast<double>(std::max<std::size_t>(l.wheel.size(), 1));
    auto radians = [](double compass) { return (compass - 90) * model::PI_DOUBLE / 180; };
    for (std::size_t i = 0; i < l.wheel.size(); ++i) {
        // Each sector reaches a little into the next, so no seam shows.
        const double mid = step * static_cast<double>(i);
        const double a0 = radians(mid - step / 2 - 0.6), a1 = radians(mid + step / 2 + 0.6);
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, outer, a0, a1);
        cairo_arc_negative(cr, cx, cy, inner, a1, a0);
        cairo_close_path(cr);
        setColor(cr, l.wheel[i]);
        cairo_fill(cr);
    }
    cairo_set_source_rgb(cr, FRAME, FRAME, FRAME);
    cairo_set_line_width(cr, 1);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, outer, 0, 2 * model::PI_DOUBLE);
    cairo_stroke(cr);
    cairo_arc(cr, cx, cy, inner, 0, 2 * model::PI_DOUBLE);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, INK, INK, INK);
    const double reach = outer + COMPASS / 2;
    text.centred("N", cx, cy - reach, TEXT_SIZE, true);
    text.centred("E", cx + reach, cy, TEXT_SIZE, true);
    text.centred("S", cx, cy + reach, TEXT_SIZE, true);
    text.centred("W", cx - reach, cy, TEXT_SIZE, true);
    drawSwatches(cr, text, l, top + COMPASS + WHEEL + COMPASS + 4, width);
}

} // namespace

LegendBox legendBox(const Legend& legend, double scale)
{
    const Layout l = layoutOf(legend);
    return {static_cast<int>(std::ceil(l.width * scale)), static_cast<int>(std::ceil(l.height * scale))};
}

double legendScale(int viewportWidth, int viewportHeight)
{
    const double side = std::min(viewportWidth, viewportHeight);
    const double halves = std::floor(side / VIEWER_SIDE);
    return std::clamp(halves / 2, 1.0, 3.0);
}

std::optional<LegendPlace> legendPlace(int viewportWidth, int viewportHeight, const LegendBox& box, double scale)
{
    const int margin = static_cast<int>(std::lround(MARGIN * scale));
    if (box.width + 2 * margin > viewportWidth || box.height + 2 * margin > viewportHeight)
        return std::nullopt;
    return LegendPlace{margin, margin};
}

LegendImage rasterizeLegend(const Legend& legend, double scale)
{
    const LegendBox box = legendBox(legend, scale);
    LegendImage image;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box.width, box.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return image;
    }
    cairo_t* cr = cairo_create(surface);
    cairo_scale(cr, scale, scale);
    const Layout l = layoutOf(legend);

    cairo_rectangle(cr, 0.5, 0.5, l.width - 1, l.height - 1);
    cairo_set_source_rgba(cr, 1, 1, 1, BOX_ALPHA);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, FRAME, FRAME, FRAME);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    {
        Text text(cr);
        cairo_set_source_rgb(cr, INK, INK, INK);
        text.draw(legend.title, PAD, PAD + TITLE_ROW / 2 - 2, TITLE_SIZE, true, l.width - 2 * PAD);
        switch (legend.kind) {
        case LegendKind::classes: drawSwatches(cr, text, legend, l.top, l.width); break;
        case LegendKind::ramp: drawRamp(cr, text, legend, l.top, l.width); break;
        case LegendKind::wheel: drawWheel(cr, text, legend, l.top, l.width); break;
        }
    }
    cairo_destroy(cr);
    cairo_surface_flush(surface);

    // Cairo's pixels are native 32-bit words, alpha in the top byte and
    // already premultiplied; GL wants bytes R, G, B, A and the bottom row
    // first.
    image.width = box.width;
    image.height = box.height;
    image.rgba.resize(static_cast<std::size_t>(box.width) * box.height * 4);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < box.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        unsigned char* out = image.rgba.data() + static_cast<std::size_t>(box.height - 1 - y) * box.width * 4;
        for (int x = 0; x < box.width; ++x) {
            const std::uint32_t p = row[x];
            out[4 * x] = static_cast<unsigned char>(p >> 16);
            out[4 * x + 1] = static_cast<unsigned char>(p >> 8);
            out[4 * x + 2] = static_cast<unsigned char>(p);
            out[4 * x + 3] = static_cast<unsigned char>(p >> 24);
        }
    }
    cairo_surface_destroy(surface);
    return image;
}

const LegendImage& LegendImageCache::imageFor(const Legend& legend, double scale)
{
    if (!valid_ || scale != scale_ || legend != legend_) {
        image_ = rasterizeLegend(legend, scale);
        legend_ = legend;
        scale_ = scale;
        valid_ = true;
        ++rasterisations_;
    }
    return image_;
}

} // namespace orolith::render

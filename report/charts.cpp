#include "report/charts.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <locale>
#include <sstream>

#include "model/constants.h"

namespace orolith::report {

namespace {

constexpr double TURN = 2 * model::PI_DOUBLE; // a full circle, in radians

// ---- colours -------------------------------------------------------------

struct Colour {
    double r, g, b;
};
constexpr Colour INK{0.15, 0.15, 0.15};
constexpr Colour AXIS_GREY{0.35, 0.35, 0.35};
constexpr Colour GRID_GREY{0.88, 0.88, 0.88};
constexpr Colour BLUE{33 / 255.0, 102 / 255.0, 172 / 255.0};
constexpr Colour ORANGE{230 / 255.0, 120 / 255.0, 20 / 255.0};
constexpr Colour RED{178 / 255.0, 24 / 255.0, 43 / 255.0};
constexpr Colour HATCH_GREY{0.33, 0.33, 0.33};
constexpr Colour POINT_GREY{0.3, 0.3, 0.35};

void setColour(cairo_t* cr, const Colour& c, double alpha = 1) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }

void setColour(cairo_t* cr, const Rgb& c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

// ---- numbers -------------------------------------------------------------

// Written the same in every locale, with a true minus sign and no "-0".
std::string number(double v, int decimals)
{
    if (!std::isfinite(v))
        return "n/a";
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out.setf(std::ios::fixed);
    out.precision(std::max(decimals, 0));
    out << std::fabs(v);
    const std::string digits = out.str();
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return (v < 0 && !zero ? "\u2212" : "") + digits;
}

// The decimals that tell ticks `step` apart: 0 for 1, 2, 5 and more; 1 for
// 0.5 to 0.1; and so on.
int decimalsForStep(double step)
{
    if (!(step > 0))
        return 0;
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

int decimalsOf(const std::vector<double>& ticks)
{
    return ticks.size() >= 2 ? decimalsForStep(ticks[1] - ticks[0]) : 0;
}

// A median, NMAD or error level: two decimals below 10, fewer above.
std::string figure(double v)
{
    const double a = std::fabs(v);
    return number(v, a >= 100 ? 0 : a >= 10 ? 1 : 2);
}

// A class bound as a person writes it: "5", "2.5", "0.25".
std::string plain(double v)
{
    std::string s = number(v, 2);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    return s;
}

std::string withUnit(const std::string& text, const std::string& unit)
{
    return unit.empty() ? text : text + " " + unit;
}

std::string axisTitle(const std::string& text, const std::string& unit)
{
    return unit.empty() ? text : text + " (" + unit + ")";
}

// "500 m", "2 km", "0.5 m": the scale bar's ground length.
std::string groundLength(double metres)
{
    const bool km = metres >= 1000;
    const double v = km ? metres / 1000 : metres;
    return number(v, decimalsForStep(v)) + (km ? " km" : " m");
}

std::vector<double> ticksWithin(const std::vector<double>& ticks, double lo, double hi)
{
    const double slack = (hi - lo) * 1e-9;
    std::vector<double> out;
    for (double t : ticks)
        if (t >= lo - slack && t <= hi + slack)
            out.push_back(t);
    return out;
}

// Round ticks inside a fixed range [lo, hi], at least three of them where
// the range allows: niceTicks covers the range, and its outer ticks may
// fall outside it.
std::vector<double> ticksInside(double lo, double hi, int count)
{
    std::vector<double> best;
    for (int c = count; c <= count + 6; ++c) {
        best = ticksWithin(niceTicks(lo, hi, c), lo, hi);
        if (best.size() >= 3)
            break;
    }
    return best;
}

// ---- text ----------------------------------------------------------------

// The size of the report's text in the surface's units: about 13 px on a
// 900-pixel-wide PNG and 10 pt on a 500-point-wide area of an A4 page, a
// little smaller in a small area and never larger than a short area can
// hold.
double fontSizeFor(const Area& a)
{
    const double byWidth = std::clamp(0.0095 * a.w + 5.2, 8.0, 14.0);
    return std::max(4.0, std::min(byWidth, a.h / 12));
}

struct TextSize {
    double w = 0, h = 0;
};

// Pango text in "Sans" at a size in the surface's units, placed by an
// anchor: (0, 0) puts the text's top left corner at the point, (0.5, 0.5)
// its centre, (1, 1) its bottom right.
class Text {
public:
    Text(cairo_t* cr, double size) : cr_(cr), size_(size)
    {
        layout_ = pango_cairo_create_layout(cr);
        font_ = pango_font_description_from_string("Sans");
        setSize(size, false);
    }
    ~Text()
    {
        pango_font_description_free(font_);
        g_object_unref(layout_);
    }
    Text(const Text&) = delete;
    Text& operator=(const Text&) = delete;

    double size() const { return size_; }
    // The height of one line.
    double line() const { return lineHeight_; }

    void setSize(double size, bool bold)
    {
        current_ = size;
        pango_font_description_set_absolute_size(font_, size * PANGO_SCALE);
        pango_font_description_set_weight(font_, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
        pango_layout_set_font_description(layout_, font_);
        pango_layout_set_width(layout_, -1);
        lineHeight_ = measure("Ag").h;
    }
    void reset() { setSize(size_, false); }

    TextSize measure(const std::string& s)
    {
        pango_cairo_update_layout(cr_, layout_);
        pango_layout_set_text(layout_, s.c_str(), -1);
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        return {logical.width / static_cast<double>(PANGO_SCALE), logical.height / static_cast<double>(PANGO_SCALE)};
    }

    void draw(const std::string& s, double x, double y, double anchorX = 0, double anchorY = 0)
    {
        const TextSize t = measure(s);
        cairo_move_to(cr_, x - anchorX * t.w, y - anchorY * t.h);
        pango_cairo_show_layout(cr_, layout_);
        cairo_new_path(cr_);
    }

    // One line no wider than maxWidth: the size steps down to three
    // quarters, then the end gives way to an ellipsis.
    void drawFitted(const std::string& s, double x, double y, double maxWidth, double anchorX = 0, double anchorY = 0)
    {
        const double was = current_;
        const bool bold = pango_font_description_get_weight(font_) == PANGO_WEIGHT_BOLD;
        double w = measure(s).w;
        if (w > maxWidth && maxWidth > 0) {
            setSize(std::max(was * 0.75, was * maxWidth / w), bold);
            w = measure(s).w;
        }
        if (w > maxWidth && maxWidth > 0) {
            pango_layout_set_width(layout_, static_cast<int>(maxWidth * PANGO_SCALE));
            pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
            w = maxWidth;
        }
        PangoRectangle logical;
        pango_layout_get_extents(layout_, nullptr, &logical);
        cairo_move_to(cr_, x - anchorX * w, y - anchorY * logical.height / PANGO_SCALE);
        pango_cairo_show_layout(cr_, layout_);
        cairo_new_path(cr_);
        pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
        setSize(was, bold);
    }

    // Reading upwards, centred on (x, y): the title of a vertical axis.
    void drawUpwards(const std::string& s, double x, double y, double maxLength)
    {
        cairo_save(cr_);
        cairo_translate(cr_, x, y);
        cairo_rotate(cr_, -TURN / 4);
        drawFitted(s, 0, 0, maxLength, 0.5, 0.5);
        cairo_restore(cr_);
    }

private:
    cairo_t* cr_;
    PangoLayout* layout_;
    PangoFontDescription* font_;
    double size_, current_ = 0, lineHeight_ = 0;
};

// ---- drawing helpers -----------------------------------------------------

// Everything a chart draws stays in its area.
class ClipTo {
public:
    ClipTo(cairo_t* cr, const Area& a) : cr_(cr)
    {
        cairo_save(cr);
        cairo_rectangle(cr, a.x, a.y, a.w, a.h);
        cairo_clip(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
    }
    ~ClipTo() { cairo_restore(cr_); }
    ClipTo(const ClipTo&) = delete;
    ClipTo& operator=(const ClipTo&) = delete;

private:
    cairo_t* cr_;
};

void line(cairo_t* cr, double x0, double y0, double x1, double y1)
{
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_stroke(cr);
}

// The x (or y) of a marker line moved to the middle of a device pixel, so
// that a line about two pixels wide shows its full colour in a PNG instead
// of two pale columns; on a PDF page it moves by half a point at most.
double crispX(cairo_t* cr, double x)
{
    double dx = x, dy = 0;
    cairo_user_to_device(cr, &dx, &dy);
    dx = std::floor(dx) + 0.5;
    cairo_device_to_user(cr, &dx, &dy);
    return dx;
}

double crispY(cairo_t* cr, double y)
{
    double dx = 0, dy = y;
    cairo_user_to_device(cr, &dx, &dy);
    dy = std::floor(dy) + 0.5;
    cairo_device_to_user(cr, &dx, &dy);
    return dy;
}

void dashed(cairo_t* cr, double length)
{
    const double pattern[] = {length, length * 0.6};
    cairo_set_dash(cr, pattern, 2, 0);
}

void solid(cairo_t* cr) { cairo_set_dash(cr, nullptr, 0, 0); }

// A legend's colour swatch, its top left corner at (x, y).
void swatch(cairo_t* cr, double x, double y, double size, const Colour& c, double alpha)
{
    cairo_rectangle(cr, x, y, size, size);
    setColour(cr, c, alpha);
    cairo_fill_preserve(cr);
    setColour(cr, c);
    cairo_set_line_width(cr, std::max(0.5, size * 0.08));
    cairo_stroke(cr);
}

// ---- axes ----------------------------------------------------------------

// A rectangle of the surface showing [xlo, xhi] x [ylo, yhi].
struct Plot {
    double x = 0, y = 0, w = 0, h = 0;
    double xlo = 0, xhi = 1, ylo = 0, yhi = 1;
    double px(double v) const { return x + (v - xlo) / (xhi - xlo) * w; }
    double py(double v) const { return y + h - (v - ylo) / (yhi - ylo) * h; }
    void clip(cairo_t* cr) const
    {
        cairo_rectangle(cr, x, y, w, h);
        cairo_clip(cr);
    }
};

struct Axis {
    double lo = 0, hi = 1;
    std::vector<double> ticks;
    std::vector<std::string> labels; // one per tick
    std::string title;
    double labelSize = 0; // of the x labels, when smaller than the text's
};

Axis numberAxis(double lo, double hi, const std::vector<double>& ticks, const std::string& title)
{
    Axis a{lo, hi, ticksWithin(ticks, lo, hi), {}, title};
    const int decimals = decimalsOf(ticks);
    for (double t : a.ticks)
        a.labels.push_back(number(t, decimals));
    return a;
}

// The plot rectangle that leaves room in `area`, below a band of height
// `top`, for the axes' tick labels and titles.
Plot layOutPlot(Text& text, const Area& area, double top, const Axis& x, const Axis& y)
{
    const double pad = text.size() * 0.6;
    const double tick = text.size() * 0.35;
    double labelWidth = 0;
    for (const std::string& s : y.labels)
        labelWidth = std::max(labelWidth, text.measure(s).w);
    double lastXLabel = x.labels.empty() ? 0 : text.measure(x.labels.back()).w;
    Plot p;
    const double left = pad + (y.title.empty() ? 0 : text.line() + pad * 0.5) + labelWidth + tick + pad * 0.5;
    const double bottom = tick + pad * 0.3 + text.line() + (x.title.empty() ? 0 : text.line() + pad * 0.3) + pad;
    const double right = std::max(pad, lastXLabel / 2 + pad * 0.5);
    p.x = area.x + left;
    p.y = area.y + top + text.line() / 2;
    p.w = std::max(1.0, area.w - left - right);
    p.h = std::max(1.0, area.h - (p.y - area.y) - bottom);
    p.xlo = x.lo;
    p.xhi = x.hi > x.lo ? x.hi : x.lo + 1;
    p.ylo = y.lo;
    p.yhi = y.hi > y.lo ? y.hi : y.lo + 1;
    return p;
}

// Light grid lines at the y ticks, drawn before the data.
void drawGrid(cairo_t* cr, const Plot& p, const Axis& y, double lineWidth)
{
    setColour(cr, GRID_GREY);
    cairo_set_line_width(cr, lineWidth);
    for (double t : y.ticks)
        line(cr, p.x, p.py(t), p.x + p.w, p.py(t));
}

// The axes' lines, ticks, labels and titles, drawn over the data.
void drawAxes(cairo_t* cr, Text& text, const Area& area, const Plot& p, const Axis& x, const Axis& y)
{
    const double pad = text.size() * 0.6;
    const double tick = text.size() * 0.35;
    cairo_set_line_width(cr, std::max(0.6, text.size() * 0.08));
    setColour(cr, AXIS_GREY);
    solid(cr);
    line(cr, p.x, p.y + p.h, p.x + p.w, p.y + p.h);
    line(cr, p.x, p.y, p.x, p.y + p.h);
    for (double t : x.ticks)
        line(cr, p.px(t), p.y + p.h, p.px(t), p.y + p.h + tick);
    for (double t : y.ticks)
        line(cr, p.x - tick, p.py(t), p.x, p.py(t));

    setColour(cr, INK);
    const double labelTop = p.y + p.h + tick + pad * 0.3;
    if (x.labelSize > 0)
        text.setSize(x.labelSize, false);
    for (std::size_t i = 0; i < x.ticks.size(); ++i)
        text.draw(x.labels[i], p.px(x.ticks[i]), labelTop, 0.5, 0);
    text.reset();
    double labelWidth = 0;
    for (std::size_t i = 0; i < y.ticks.size(); ++i) {
        text.draw(y.labels[i], p.x - tick - pad * 0.3, p.py(y.ticks[i]), 1, 0.5);
        labelWidth = std::max(labelWidth, text.measure(y.labels[i]).w);
    }
    if (!x.title.empty())
        text.drawFitted(x.title, p.x + p.w / 2, labelTop + text.line() + pad * 0.3, area.w, 0.5, 0);
    if (!y.title.empty()) {
        const double centre = p.x - tick - pad * 0.8 - labelWidth - text.line() / 2;
        text.drawUpwards(y.title, std::max(area.x + text.line() / 2, centre), p.y + p.h / 2, p.h + text.line());
    }
}

// ---- maps ----------------------------------------------------------------

bool usable(const MapGrid& g)
{
    return g.rows > 0 && g.cols > 0 && g.values.size() >= static_cast<std::size_t>(g.rows) * g.cols &&
           g.cellWidth > 0 && g.cellHeight > 0 && std::isfinite(g.cellWidth) && std::isfinite(g.cellHeight);
}

// An image surface of one pixel per map cell, in the colours `colourOf`
// gives the cell indices.
template <class ColourOf>
cairo_surface_t* cellImage(const MapGrid& g, ColourOf colourOf)
{
    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, g.cols, g.rows);
    if (cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
        return image;
    cairo_surface_flush(image);
    unsigned char* data = cairo_image_surface_get_data(image);
    const int stride = cairo_image_surface_get_stride(image);
    for (int r = 0; r < g.rows; ++r) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(r) * stride);
        for (int c = 0; c < g.cols; ++c) {
            const Rgb rgb = colourOf(static_cast<std::size_t>(r) * g.cols + c);
            row[c] = (std::uint32_t{rgb.r} << 16) | (std::uint32_t{rgb.g} << 8) | rgb.b;
        }
    }
    cairo_surface_mark_dirty(image);
    return image;
}

// Paints `image` stretched over the rectangle: cells stay sharp squares
// when they are larger than a pixel and are averaged when smaller.
void paintImage(cairo_t* cr, cairo_surface_t* image, int width, int height, double x, double y, double w, double h)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / width, h / height);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(image);
    double ux = 1, uy = 1;
    cairo_user_to_device_distance(cr, &ux, &uy);
    const bool enlarged = std::fabs(ux) >= 1 && std::fabs(uy) >= 1;
    cairo_pattern_set_filter(pattern, enlarged ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    // The edge cells' colour reaches the rectangle's edge instead of fading.
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_fill(cr);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
}

// Diagonal hatching over the absent cells, so that a hole does not read as
// a grey slope of the hillshade.
void hatchAbsent(cairo_t* cr, const MapGrid& g, double x, double y, double w, double h, double spacing)
{
    bool any = false;
    const std::size_t cells = static_cast<std::size_t>(g.rows) * g.cols;
    for (std::size_t i = 0; i < cells && !any; ++i)
        any = std::isnan(g.values[i]);
    if (!any)
        return;
    cairo_surface_t* mask = cairo_image_surface_create(CAIRO_FORMAT_A8, g.cols, g.rows);
    if (cairo_surface_status(mask) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(mask);
        return;
    }
    cairo_surface_flush(mask);
    unsigned char* data = cairo_image_surface_get_data(mask);
    const int stride = cairo_image_surface_get_stride(mask);
    for (int r = 0; r < g.rows; ++r)
        for (int c = 0; c < g.cols; ++c)
            data[static_cast<std::size_t>(r) * stride + c] =
                std::isnan(g.values[static_cast<std::size_t>(r) * g.cols + c]) ? 255 : 0;
    cairo_surface_mark_dirty(mask);

    cairo_save(cr);
    cairo_push_group(cr);
    setColour(cr, HATCH_GREY);
    cairo_set_line_width(cr, std::max(0.6, spacing * 0.2));
    for (double d = -h; d < w; d += spacing) {
        cairo_move_to(cr, x + d, y + h);
        cairo_line_to(cr, x + d + h, y);
    }
    cairo_stroke(cr);
    cairo_pop_group_to_source(cr); // the hatching stays where it was drawn
    cairo_translate(cr, x, y);
    cairo_scale(cr, w / g.cols, h / g.rows);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(mask);
    cairo_pattern_set_filter(pattern, CAIRO_FILTER_NEAREST);
    cairo_mask(cr, pattern);
    cairo_pattern_destroy(pattern);
    cairo_restore(cr);
    cairo_surface_destroy(mask);
}

// The colour bar beside the difference map: the ramp from -limit at the
// bottom to +limit at the top, round values in `unit` beside it.
struct ColourBar {
    double limit = 0;
    std::string unit;
};

// Enough ticks that a limit like 3 gets its ends labelled, not just +-2.
constexpr int COLOUR_BAR_TICKS = 7;

double colourBarLabelWidth(Text& text, const ColourBar& bar)
{
    double w = text.measure(bar.unit).w;
    const int decimals = decimalsOf(niceTicks(-bar.limit, bar.limit, COLOUR_BAR_TICKS));
    for (double t : niceTicks(-bar.limit, bar.limit, COLOUR_BAR_TICKS))
        w = std::max(w, text.measure(number(t, decimals)).w);
    return w;
}

void drawColourBar(cairo_t* cr, Text& text, const ColourBar& bar, double x, double y, double w, double h)
{
    const bool scaled = bar.limit > 0 && std::isfinite(bar.limit);
    const double shownLimit = scaled ? bar.limit : 1;
    cairo_pattern_t* ramp = cairo_pattern_create_linear(0, y, 0, y + h);
    const int stops = 40;
    for (int i = 0; i <= stops; ++i) {
        const double offset = static_cast<double>(i) / stops;
        const Rgb c = divergingColour(shownLimit * (1 - 2 * offset), shownLimit);
        cairo_pattern_add_color_stop_rgb(ramp, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0);
    }
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, ramp);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(ramp);
    setColour(cr, AXIS_GREY);
    cairo_set_line_width(cr, std::max(0.5, text.size() * 0.06));
    cairo_stroke(cr);

    const double tick = text.size() * 0.3;
    std::vector<double> ticks =
        scaled ? ticksWithin(niceTicks(-bar.limit, bar.limit, COLOUR_BAR_TICKS), -bar.limit, bar.limit)
               : std::vector<double>{0};
    const int decimals = decimalsOf(niceTicks(-shownLimit, shownLimit, COLOUR_BAR_TICKS));
    for (double t : ticks) {
        const double ty = y + (shownLimit - t) / (2 * shownLimit) * h;
        setColour(cr, AXIS_GREY);
        line(cr, x + w, ty, x + w + tick, ty);
        setColour(cr, INK);
        text.draw(number(t, decimals), x + w + tick * 1.6, ty, 0, 0.5);
    }
    setColour(cr, INK);
    text.draw(bar.unit, x, y - text.size() * 0.25, 0, 1);
}

// A black and white bar of a round ground length with its length beside
// it, its top left corner at (x, y); `metresPerUnit` the map's scale.
void drawScaleBar(cairo_t* cr, Text& text, double x, double y, double maxWidth, double unitsPerMetre)
{
    const double metres = scaleBarMetres(maxWidth * 0.45 / unitsPerMetre);
    if (!(metres > 0))
        return;
    const double length = metres * unitsPerMetre;
    const double thick = text.size() * 0.45;
    const double barY = y + (text.line() - thick) / 2;
    cairo_set_line_width(cr, std::max(0.5, text.size() * 0.07));
    for (int half = 0; half < 2; ++half) {
        cairo_rectangle(cr, x + half * length / 2, barY, length / 2, thick);
        if (half == 0)
            setColour(cr, INK);
        else
            cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_fill_preserve(cr);
        setColour(cr, INK);
        cairo_stroke(cr);
    }
    text.draw(groundLength(metres), x + length + text.size() * 0.5, y + text.line() / 2, 0, 0.5);
}

// What is drawn over a map's cells, given the map's rectangle and the
// text of its labels; clipped to the rectangle.
using MapOverlay = std::function<void(const Area& map, Text& text)>;

// A map with its title above, its colour bar (when there is one) beside
// and its scale bar under it, the whole group centred in the area.
template <class ColourOf>
void drawMap(cairo_t* cr, const Area& area, const MapGrid& grid, ColourOf colourOf, bool hatch, const ColourBar* bar,
             const std::string& title, const MapOverlay& overlay = {})
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;

    text.setSize(fs * 1.1, true);
    const double titleHeight = text.line() + pad * 0.5;
    text.reset();
    const double scaleHeight = pad * 0.6 + text.line();
    const double barWidth = fs * 1.1;
    const double barBlock = bar ? fs * 1.2 + barWidth + fs * 0.5 + colourBarLabelWidth(text, *bar) : 0;

    const double roomW = area.w - 2 * pad - barBlock;
    const double roomH = area.h - titleHeight - scaleHeight - pad;
    if (!usable(grid) || roomW <= 1 || roomH <= 1) {
        setColour(cr, INK);
        text.setSize(fs * 1.1, true);
        text.drawFitted(title, area.x + area.w / 2, area.y + pad * 0.5, area.w - 2 * pad, 0.5, 0);
        text.reset();
        if (!usable(grid))
            text.draw("no map", area.x + area.w / 2, area.y + area.h / 2, 0.5, 0.5);
        return;
    }
    const double groundW = grid.cols * grid.cellWidth, groundH = grid.rows * grid.cellHeight;
    const double unitsPerMetre = std::min(roomW / groundW, roomH / groundH);
    const double mapW = groundW * unitsPerMetre, mapH = groundH * unitsPerMetre;
    const double mapX = area.x + (area.w - mapW - barBlock) / 2;
    const double mapY = area.y + (area.h - titleHeight - mapH - scaleHeight) / 2 + titleHeight;

    setColour(cr, INK);
    text.setSize(fs * 1.1, true);
    // Over the map's middle, or the area's when it is wider than the map.
    const double titleX = text.measure(title).w <= mapW ? mapX + mapW / 2 : area.x + area.w / 2;
    text.drawFitted(title, titleX, mapY - titleHeight + pad * 0.2, area.w - 2 * pad, 0.5, 0);
    text.reset();

    cairo_surface_t* image = cellImage(grid, colourOf);
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS)
        paintImage(cr, image, grid.cols, grid.rows, mapX, mapY, mapW, mapH);
    cairo_surface_destroy(image);
    if (hatch)
        hatchAbsent(cr, grid, mapX, mapY, mapW, mapH, fs * 0.7);
    if (overlay) {
        cairo_save(cr);
        cairo_rectangle(cr, mapX, mapY, mapW, mapH);
        cairo_clip(cr);
        overlay({mapX, mapY, mapW, mapH}, text);
        cairo_restore(cr);
    }
    cairo_rectangle(cr, mapX, mapY, mapW, mapH);
    setColour(cr, AXIS_GREY);
    cairo_set_line_width(cr, std::max(0.5, fs * 0.06));
    cairo_stroke(cr);

    if (bar) {
        const double barTop = mapY + text.line();
        drawColourBar(cr, text, *bar, mapX + mapW + fs * 1.2, barTop, barWidth, std::max(1.0, mapY + mapH - barTop));
    }
    drawScaleBar(cr, text, mapX, mapY + mapH + pad * 0.6, mapW, unitsPerMetre);
}

// ---- charts --------------------------------------------------------------

struct Series {
    const Histogram* histogram;
    Colour colour;
};

bool hasBars(const Histogram& h) { return !h.counts.empty() && h.hi > h.lo; }

// What the marks of a fit panel are, on the title's line at its right end;
// left out when the panel is too narrow for it.
void drawFitKey(cairo_t* cr, Text& text, double left, double right, double y)
{
    const double fs = text.size();
    const double mark = fs * 1.2, gap = fs * 0.4, space = fs * 1.2;
    const char* names[] = {"point", "median of a 10\u00b0 bin", "fit"};
    double width = 0;
    for (const char* n : names)
        width += mark + gap + text.measure(n).w + space;
    width -= space;
    if (width > right - left)
        return;
    double x = right - width;
    const double mid = y + text.line() / 2;
    for (int i = 0; i < 3; ++i) {
        if (i == 0) {
            setColour(cr, POINT_GREY, 0.6);
            cairo_arc(cr, x + mark / 2, mid, std::max(0.7, fs * 0.16), 0, TURN);
            cairo_fill(cr);
        } else if (i == 1) {
            cairo_arc(cr, x + mark / 2, mid, fs * 0.3, 0, TURN);
            setColour(cr, RED);
            cairo_fill(cr);
        } else {
            setColour(cr, BLUE);
            cairo_set_line_width(cr, std::max(1.0, fs * 0.16));
            line(cr, x, mid, x + mark, mid);
        }
        setColour(cr, INK);
        text.draw(names[i], x + mark + gap, y);
        x += mark + gap + text.measure(names[i]).w + space;
    }
}

} // namespace

void drawDifferenceMap(cairo_t* cr, const Area& area, const MapGrid& differences, double limit, const std::string& unit,
                       const std::string& title)
{
    const ColourBar bar{limit, unit};
    drawMap(
        cr, area, differences, [&](std::size_t i) { return divergingColour(differences.values[i], limit); }, false,
        &bar, title);
}

namespace {

void drawShaded(cairo_t* cr, const Area& area, const MapGrid& heights, const ColourBar* bar, const std::string& title,
                const MapOverlay& overlay)
{
    const std::vector<float> shade = usable(heights) ? hillshade(heights) : std::vector<float>{};
    drawMap(
        cr, area, heights,
        [&](std::size_t i) {
            if (std::isnan(shade[i]))
                return ABSENT_GREY;
            const auto grey = static_cast<unsigned char>(std::lround(shade[i] * 255));
            return Rgb{grey, grey, grey};
        },
        true, bar, title, overlay);
}

} // namespace

void drawHillshadeMap(cairo_t* cr, const Area& area, const MapGrid& heights, const std::string& title)
{
    drawShaded(cr, area, heights, nullptr, title, {});
}

void drawPointMap(cairo_t* cr, const Area& area, const MapGrid& heights, const std::vector<MapPoint>& points,
                  double limit, const std::string& unit, const std::string& title)
{
    // The largest differences drawn last, on top of the crowd of small ones.
    std::vector<const MapPoint*> order;
    order.reserve(points.size());
    for (const MapPoint& p : points)
        order.push_back(&p);
    std::stable_sort(order.begin(), order.end(),
                     [](const MapPoint* a, const MapPoint* b) { return std::fabs(a->value) < std::fabs(b->value); });
    const ColourBar bar{limit, unit};
    drawShaded(cr, area, heights, &bar, title, [&](const Area& map, Text& text) {
        if (!usable(heights))
            return;
        const double radius = std::max(1.5, text.size() * 0.3);
        // A thin dark ring keeps the white of a point near 0 apart from
        // the light slopes of the hillshade.
        cairo_set_line_width(cr, std::max(0.4, radius * 0.25));
        for (const MapPoint* p : order) {
            const double x = map.x + p->x / heights.cols * map.w, y = map.y + p->y / heights.rows * map.h;
            cairo_new_sub_path(cr);
            cairo_arc(cr, x, y, radius, 0, TURN);
            setColour(cr, divergingColour(p->value, limit));
            cairo_fill_preserve(cr);
            setColour(cr, INK, 0.7);
            cairo_stroke(cr);
        }
    });
}

void drawHistogram(cairo_t* cr, const Area& area, const Histogram& before, const Histogram& after,
                   const std::string& unit)
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;

    std::vector<Series> series;
    if (hasBars(before))
        series.push_back({&before, BLUE});
    if (hasBars(after))
        series.push_back({&after, ORANGE});

    double lo = series.empty() ? -1 : series[0].histogram->lo, hi = series.empty() ? 1 : series[0].histogram->hi;
    std::size_t most = 0;
    for (const Series& s : series) {
        lo = std::min(lo, s.histogram->lo);
        hi = std::max(hi, s.histogram->hi);
        for (std::size_t c : s.histogram->counts)
            most = std::max(most, c);
    }
    // At least 5 on the axis, so that its steps are whole counts.
    const std::vector<double> countTicks = niceTicks(0, std::max<double>(static_cast<double>(most), 5), 5);
    const Axis x = numberAxis(lo, hi, ticksInside(lo, hi, 8), axisTitle("difference", unit));
    const Axis y = numberAxis(0, countTicks.back(), countTicks, "count");

    // The legend above the plot, a line per histogram.
    const double legendHeight = pad * 1.3 + std::max<std::size_t>(series.size(), 1) * text.line() * 1.15;
    const Plot p = layOutPlot(text, area, legendHeight, x, y);
    drawGrid(cr, p, y, std::max(0.5, fs * 0.06));

    cairo_save(cr);
    p.clip(cr);
    for (const Series& s : series) {
        const Histogram& h = *s.histogram;
        const double width = (h.hi - h.lo) / static_cast<double>(h.counts.size());
        // One outline over the tops of the bars, filled below.
        cairo_move_to(cr, p.px(h.lo), p.py(0));
        for (std::size_t i = 0; i < h.counts.size(); ++i) {
            const double top = p.py(static_cast<double>(h.counts[i]));
            cairo_line_to(cr, p.px(h.lo + i * width), top);
            cairo_line_to(cr, p.px(h.lo + (i + 1) * width), top);
        }
        cairo_line_to(cr, p.px(h.hi), p.py(0));
        cairo_close_path(cr);
        setColour(cr, s.colour, 0.42);
        cairo_fill_preserve(cr);
        setColour(cr, s.colour, 0.9);
        cairo_set_line_width(cr, std::max(0.5, fs * 0.07));
        cairo_stroke(cr);
    }
    for (const Series& s : series) {
        const Histogram& h = *s.histogram;
        if (!std::isfinite(h.median))
            continue;
        setColour(cr, s.colour);
        cairo_set_line_width(cr, std::max(1.0, fs * 0.14));
        const double mx = crispX(cr, p.px(h.median));
        line(cr, mx, p.y, mx, p.y + p.h);
        if (std::isfinite(h.nmad)) {
            dashed(cr, fs * 0.5);
            cairo_set_line_width(cr, std::max(0.8, fs * 0.11));
            for (double at : {h.median - h.nmad, h.median + h.nmad}) {
                const double nx = crispX(cr, p.px(at));
                line(cr, nx, p.y, nx, p.y + p.h);
            }
            solid(cr);
        }
    }
    cairo_restore(cr);
    drawAxes(cr, text, area, p, x, y);

    double lineY = area.y + pad * 0.5;
    const double box = text.line() * 0.7;
    for (const Series& s : series) {
        const Histogram& h = *s.histogram;
        std::string entry = (h.label.empty() ? std::string("differences") : h.label) + ": median " +
                            withUnit(figure(h.median), unit) + ", NMAD " + withUnit(figure(h.nmad), unit);
        if (h.below || h.above) {
            entry += "; off the axis:";
            if (h.below)
                entry += " " + std::to_string(h.below) + " below";
            if (h.below && h.above)
                entry += ",";
            if (h.above)
                entry += " " + std::to_string(h.above) + " above";
        }
        swatch(cr, p.x, lineY + (text.line() - box) / 2, box, s.colour, 0.42);
        setColour(cr, INK);
        text.drawFitted(entry, p.x + box + pad * 0.6, lineY, area.x + area.w - p.x - box - pad * 1.2);
        lineY += text.line() * 1.15;
    }
    if (series.empty()) {
        setColour(cr, INK);
        text.draw("no differences", p.x + p.w / 2, p.y + p.h / 2, 0.5, 0.5);
    }
}

void drawCumulative(cairo_t* cr, const Area& area, const Cumulative& curve, const std::string& unit)
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;

    const bool hasCurve = curve.x.size() >= 2 && curve.x.size() == curve.share.size();
    double largest = hasCurve ? curve.x.back() : 1;
    // A long tail of blunders would squeeze the curve against the axis:
    // past 2.5 times LE95 the axis ends at twice LE95 and says how far the
    // largest |d| lies.
    const bool cut = curve.le95 > 0 && largest > 2.5 * curve.le95;
    const double shownMax = cut ? 2 * curve.le95 : largest > 0 ? largest : 1;
    const std::vector<double> xTicks = niceTicks(0, shownMax, 7);
    const Axis x = numberAxis(0, xTicks.back(), xTicks, axisTitle("|d|", unit));
    const Axis y = numberAxis(0, 100, niceTicks(0, 100, 5), "share of points (%)");
    const Plot p = layOutPlot(text, area, pad * 0.5, x, y);
    drawGrid(cr, p, y, std::max(0.5, fs * 0.06));

    cairo_save(cr);
    p.clip(cr);
    if (hasCurve) {
        cairo_move_to(cr, p.px(curve.x[0]), p.py(curve.share[0] * 100));
        for (std::size_t i = 1; i < curve.x.size(); ++i)
            cairo_line_to(cr, p.px(curve.x[i]), p.py(curve.share[i] * 100));
        setColour(cr, BLUE);
        cairo_set_line_width(cr, std::max(1.0, fs * 0.15));
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke(cr);
    }
    struct Level {
        double at, share;
        Colour colour;
        const char* name;
    };
    const Level levels[] = {{curve.le90, 90, ORANGE, "LE90"}, {curve.le95, 95, RED, "LE95"}};
    cairo_set_line_width(cr, std::max(1.0, fs * 0.12));
    for (const Level& l : levels) {
        if (!std::isfinite(l.at))
            continue;
        const double lx = crispX(cr, p.px(l.at)), ly = crispY(cr, p.py(l.share));
        setColour(cr, l.colour);
        dashed(cr, fs * 0.45);
        cairo_move_to(cr, lx, p.py(0));
        cairo_line_to(cr, lx, ly);
        cairo_line_to(cr, p.px(0), ly);
        cairo_stroke(cr);
        solid(cr);
        cairo_arc(cr, lx, ly, fs * 0.22, 0, TURN);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    drawAxes(cr, text, area, p, x, y);

    // The levels' key in the lower right, where the rising curve leaves
    // room.
    std::vector<std::string> lines;
    for (const Level& l : levels)
        lines.push_back(std::string(l.name) + " = " + withUnit(figure(l.at), unit));
    if (cut)
        lines.push_back("largest |d| " + withUnit(figure(largest), unit));
    double keyW = 0;
    for (const std::string& s : lines)
        keyW = std::max(keyW, text.measure(s).w);
    const double sample = fs * 2;
    keyW += sample + pad * 2;
    const double keyH = lines.size() * text.line() + pad;
    const double keyX = p.x + p.w - keyW - pad, keyY = p.y + p.h - keyH - pad;
    cairo_rectangle(cr, keyX, keyY, keyW, keyH);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_fill_preserve(cr);
    setColour(cr, GRID_GREY);
    cairo_set_line_width(cr, std::max(0.5, fs * 0.06));
    cairo_stroke(cr);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double rowY = keyY + pad / 2 + i * text.line();
        if (i < std::size(levels)) {
            setColour(cr, levels[i].colour);
            dashed(cr, fs * 0.45);
            cairo_set_line_width(cr, std::max(0.8, fs * 0.1));
            line(cr, keyX + pad / 2, rowY + text.line() / 2, keyX + pad / 2 + sample, rowY + text.line() / 2);
            solid(cr);
        }
        setColour(cr, INK);
        text.draw(lines[i], keyX + pad + sample, rowY);
    }
    if (!hasCurve) {
        setColour(cr, INK);
        text.draw("no differences", p.x + p.w / 2, p.y + p.h / 2, 0.5, 0.5);
    }
}

void drawSlopeChart(cairo_t* cr, const Area& area, const std::vector<SlopeBar>& classes, const std::string& unit)
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;

    double lo = 0, hi = 0;
    for (const SlopeBar& b : classes)
        if (b.count > 0) {
            for (double v : {b.median, b.nmad})
                if (std::isfinite(v)) {
                    lo = std::min(lo, v);
                    hi = std::max(hi, v);
                }
        }
    if (hi - lo <= 0)
        hi = lo + 1;
    const std::vector<double> ticks = niceTicks(lo, hi, 6);
    const std::size_t groups = std::max<std::size_t>(classes.size(), 1);
    Axis x{0, static_cast<double>(groups), {}, {}, "slope class"};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        x.ticks.push_back(i + 0.5);
        x.labels.push_back(plain(classes[i].from) + "\u2013" + plain(classes[i].to) + "\u00b0");
    }
    const Axis y = numberAxis(ticks.front(), ticks.back(), ticks, axisTitle("median and NMAD", unit));

    // Class names in one size for every group, small enough for the
    // widest; the plot's width is about the area's less the y axis.
    double widestClass = 0;
    for (const std::string& s : x.labels)
        widestClass = std::max(widestClass, text.measure(s).w);
    const double roughGroupW = (area.w - fs * 6) / groups;
    if (widestClass > roughGroupW * 0.9)
        x.labelSize = std::max(fs * 0.6, fs * roughGroupW * 0.9 / widestClass);

    // The key on the first line above the plot, the counts on the second.
    const double top = pad * 0.5 + text.line() * 2.3;
    const Plot p = layOutPlot(text, area, top, x, y);
    drawGrid(cr, p, y, std::max(0.5, fs * 0.06));

    const double groupW = p.w / groups;
    cairo_save(cr);
    p.clip(cr);
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const SlopeBar& b = classes[i];
        if (b.count == 0)
            continue;
        const double x0 = p.x + i * groupW;
        struct Bar {
            double value, from;
            Colour colour;
        };
        for (const Bar& bar : {Bar{b.median, 0.14, BLUE}, Bar{b.nmad, 0.5, ORANGE}}) {
            if (!std::isfinite(bar.value))
                continue;
            const double y0 = p.py(0), y1 = p.py(bar.value);
            cairo_rectangle(cr, x0 + bar.from * groupW, std::min(y0, y1), groupW * 0.36, std::fabs(y1 - y0));
            setColour(cr, bar.colour, 0.85);
            cairo_fill_preserve(cr);
            setColour(cr, bar.colour);
            cairo_set_line_width(cr, std::max(0.5, fs * 0.06));
            cairo_stroke(cr);
        }
    }
    // The zero line over the bars' feet.
    setColour(cr, INK);
    cairo_set_line_width(cr, std::max(0.8, fs * 0.1));
    line(cr, p.x, p.py(0), p.x + p.w, p.py(0));
    cairo_restore(cr);
    drawAxes(cr, text, area, p, x, y);

    const double keyY = area.y + pad * 0.5;
    const double box = text.line() * 0.7;
    double keyX = p.x;
    for (const auto& [name, colour] : {std::pair<const char*, Colour>{"median", BLUE}, {"NMAD", ORANGE}}) {
        swatch(cr, keyX, keyY + (text.line() - box) / 2, box, colour, 0.85);
        setColour(cr, INK);
        text.draw(name, keyX + box + pad * 0.5, keyY);
        keyX += box + pad * 0.5 + text.measure(name).w + pad * 2;
    }
    // Counts in one size for every group, small enough for the widest.
    std::vector<std::string> counts;
    double widest = 0;
    for (const SlopeBar& b : classes) {
        counts.push_back("n = " + std::to_string(b.count));
        widest = std::max(widest, text.measure(counts.back()).w);
    }
    if (widest > groupW * 0.95)
        text.setSize(std::max(fs * 0.6, fs * groupW * 0.95 / widest), false);
    setColour(cr, INK);
    for (std::size_t i = 0; i < counts.size(); ++i)
        text.draw(counts[i], p.x + (i + 0.5) * groupW, p.y - text.size() * 0.3, 0.5, 1);
    text.reset();
    if (classes.empty())
        text.draw("no slope classes", p.x + p.w / 2, p.y + p.h / 2, 0.5, 0.5);
}

void drawFitPanel(cairo_t* cr, const Area& area, const FitPanel& panel)
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;

    const std::vector<double> medians = binMedians(panel.aspect, panel.y, 10);
    const Range range = fitPanelRange(panel, medians);
    const Axis x = numberAxis(0, 360, {0, 90, 180, 270, 360}, "aspect (\u00b0)");
    const Axis y = numberAxis(range.lo, range.hi, ticksInside(range.lo, range.hi, 5), "d / tan(slope)");

    text.setSize(fs * 1.1, true);
    const double titleLine = text.line();
    const std::string title = "Iteration " + std::to_string(panel.iteration);
    const double titleW = text.measure(title).w;
    setColour(cr, INK);
    text.drawFitted(title, area.x + pad, area.y + pad * 0.4, area.w - 2 * pad);
    text.reset();
    drawFitKey(cr, text, area.x + pad + titleW + pad * 3, area.x + area.w - pad,
               area.y + pad * 0.4 + (titleLine - text.line()) / 2);
    text.drawFitted("east " + figure(panel.east) + "   north " + figure(panel.north) + "   c " + figure(panel.c) +
                        "   (" + std::to_string(panel.points) + " points)",
                    area.x + pad, area.y + pad * 0.4 + titleLine, area.w - 2 * pad);
    const Plot p = layOutPlot(text, area, pad * 0.4 + titleLine + text.line() + pad * 0.3, x, y);
    drawGrid(cr, p, y, std::max(0.5, fs * 0.06));

    cairo_save(cr);
    p.clip(cr);
    if (range.lo < 0 && range.hi > 0) {
        setColour(cr, AXIS_GREY);
        cairo_set_line_width(cr, std::max(0.5, fs * 0.07));
        line(cr, p.x, p.py(0), p.x + p.w, p.py(0));
    }
    // Each point filled on its own, so that where they crowd they darken.
    const std::size_t n = std::min(panel.aspect.size(), panel.y.size());
    const double dot = std::max(0.7, fs * 0.13);
    setColour(cr, POINT_GREY, 0.3);
    for (std::size_t i = 0; i < n; ++i) {
        if (!std::isfinite(panel.aspect[i]) || !std::isfinite(panel.y[i]))
            continue;
        const double py = p.py(panel.y[i]);
        if (py < p.y - dot || py > p.y + p.h + dot)
            continue;
        cairo_arc(cr, p.px(panel.aspect[i]), py, dot, 0, TURN);
        cairo_fill(cr);
    }
    cairo_move_to(cr, p.px(0), p.py(panel.c + panel.north));
    for (int a = 2; a <= 360; a += 2) {
        const double rad = a * model::RADIANS_PER_DEGREE;
        cairo_line_to(cr, p.px(a), p.py(panel.north * std::cos(rad) + panel.east * std::sin(rad) + panel.c));
    }
    setColour(cr, BLUE);
    cairo_set_line_width(cr, std::max(1.0, fs * 0.16));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
    const double width = 360.0 / static_cast<double>(std::max<std::size_t>(medians.size(), 1));
    for (std::size_t b = 0; b < medians.size(); ++b) {
        if (!std::isfinite(medians[b]))
            continue;
        cairo_arc(cr, p.px((b + 0.5) * width), p.py(medians[b]), fs * 0.3, 0, TURN);
        setColour(cr, RED);
        cairo_fill_preserve(cr);
        cairo_set_source_rgb(cr, 1, 1, 1);
        cairo_set_line_width(cr, std::max(0.5, fs * 0.06));
        cairo_stroke(cr);
    }
    cairo_restore(cr);
    drawAxes(cr, text, area, p, x, y);
}

void drawPicture(cairo_t* cr, const Area& area, int width, int height, const std::vector<unsigned char>& rgb,
                 const std::vector<LegendEntry>& legend)
{
    ClipTo clip(cr, area);
    Text text(cr, fontSizeFor(area));
    const double fs = text.size();
    const double pad = fs * 0.6;
    const double box = text.line() * 0.75;
    if (width <= 0 || height <= 0 || rgb.size() < static_cast<std::size_t>(width) * height * 3)
        return;

    std::vector<double> entryW;
    double widest = 0;
    for (const LegendEntry& e : legend) {
        entryW.push_back(box + pad * 0.5 + text.measure(e.text).w);
        widest = std::max(widest, entryW.back());
    }
    // The legend beside the picture, a column of entries, or below it, the
    // entries in centred rows as wide as the area: whichever leaves the
    // larger picture.
    const double besideW = legend.empty() ? 0 : widest + pad * 2;
    const double gap = pad * 1.5;
    std::vector<std::size_t> rowStarts; // the first entry of each row below
    double rowW = 0;
    for (std::size_t i = 0; i < entryW.size(); ++i) {
        if (i == 0 || rowW + gap + entryW[i] > area.w - 2 * pad) {
            rowStarts.push_back(i);
            rowW = entryW[i];
        } else {
            rowW += gap + entryW[i];
        }
    }
    const auto rows = static_cast<double>(rowStarts.size());
    const double belowH = rows * text.line() * 1.2 + (rows ? pad : 0);
    const double scaleBeside = std::min((area.w - besideW - pad) / width, (area.h - pad) / height);
    const double scaleBelow = std::min((area.w - pad) / width, (area.h - belowH - pad) / height);
    const bool beside = !legend.empty() && scaleBeside > scaleBelow;
    const double scale =
        std::max(0.0, legend.empty() ? std::min(area.w / width, area.h / height) : std::max(scaleBeside, scaleBelow));
    if (scale <= 0)
        return;
    const double w = width * scale, h = height * scale;
    const double groupW = w + (beside ? besideW : 0), groupH = h + (beside ? 0 : belowH);
    const double x = area.x + (area.w - groupW) / 2, y = area.y + (area.h - groupH) / 2;

    cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    if (cairo_surface_status(image) == CAIRO_STATUS_SUCCESS) {
        cairo_surface_flush(image);
        unsigned char* data = cairo_image_surface_get_data(image);
        const int stride = cairo_image_surface_get_stride(image);
        for (int r = 0; r < height; ++r) {
            auto* row = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(r) * stride);
            const unsigned char* in = rgb.data() + static_cast<std::size_t>(r) * width * 3;
            for (int c = 0; c < width; ++c)
                row[c] = (std::uint32_t{in[3 * c]} << 16) | (std::uint32_t{in[3 * c + 1]} << 8) | in[3 * c + 2];
        }
        cairo_surface_mark_dirty(image);
        paintImage(cr, image, width, height, x, y, w, h);
    }
    cairo_surface_destroy(image);

    auto drawEntry = [&](const LegendEntry& e, double ex, double ey) {
        cairo_rectangle(cr, ex, ey + (text.line() - box) / 2, box, box);
        setColour(cr, e.colour);
        cairo_fill_preserve(cr);
        setColour(cr, AXIS_GREY);
        cairo_set_line_width(cr, std::max(0.5, fs * 0.06));
        cairo_stroke(cr);
        setColour(cr, INK);
        text.draw(e.text, ex + box + pad * 0.5, ey);
    };
    if (beside) {
        for (std::size_t i = 0; i < legend.size(); ++i)
            drawEntry(legend[i], x + w + pad * 1.5, y + i * text.line() * 1.2);
        return;
    }
    for (std::size_t r = 0; r < rowStarts.size(); ++r) {
        const std::size_t end = r + 1 < rowStarts.size() ? rowStarts[r + 1] : legend.size();
        double rowWidth = 0;
        for (std::size_t i = rowStarts[r]; i < end; ++i)
            rowWidth += entryW[i] + (i > rowStarts[r] ? gap : 0);
        double ex = std::max(area.x + pad, area.x + (area.w - rowWidth) / 2);
        const double ey = y + h + pad + r * text.line() * 1.2;
        for (std::size_t i = rowStarts[r]; i < end; ++i) {
            drawEntry(legend[i], ex, ey);
            ex += entryW[i] + gap;
        }
    }
}

} // namespace orolith::report

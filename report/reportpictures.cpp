#include "report/reportpictures.h"

#include <cmath>

#include "report/names.h"

namespace orolith::report {

namespace {

cairo_status_t appendBytes(void* closure, const unsigned char* data, unsigned int length)
{
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

// Height over width of a map with its title, colour bar and scale bar.
double mapAspect(const MapGrid& g)
{
    const double ground = g.cols > 0 ? (g.rows * g.cellHeight) / (g.cols * g.cellWidth) : 1;
    return std::min(1.4, std::max(0.35, ground * 0.8 + 0.12));
}

} // namespace

std::vector<Picture> mapPictures(const AccuracyDocument& doc)
{
    std::vector<Picture> out;
    const double limit = doc.limit;
    const std::string unit = doc.unit;
    out.push_back(
        {"difference map", mapAspect(doc.differenceBefore.grid), [&doc, limit, unit](cairo_t* cr, const Area& a) {
             drawDifferenceMap(cr, a, doc.differenceBefore.grid, limit, unit, doc.differenceBefore.title);
         }});
    if (doc.shift)
        out.push_back({"difference map after the shift", mapAspect(doc.differenceAfter.grid),
                       [&doc, limit, unit](cairo_t* cr, const Area& a) {
                           drawDifferenceMap(cr, a, doc.differenceAfter.grid, limit, unit, doc.differenceAfter.title);
                       }});
    out.push_back({"hillshade", mapAspect(doc.heights.grid), [&doc](cairo_t* cr, const Area& a) {
                       drawHillshadeMap(cr, a, doc.heights.grid, doc.heights.title);
                   }});
    return out;
}

std::vector<Picture> viewPictures(const AccuracyDocument& doc)
{
    if (doc.viewRgb.empty())
        return {};
    const double aspect = static_cast<double>(doc.viewHeight) / doc.viewWidth + 0.08;
    return {{"3-D view", aspect, [&doc](cairo_t* cr, const Area& a) {
                 drawPicture(cr, a, doc.viewWidth, doc.viewHeight, doc.viewRgb, doc.viewLegend);
             }}};
}

std::vector<Picture> distributionPictures(const AccuracyDocument& doc)
{
    const std::string unit = doc.unit;
    return {{"histogram of the differences", 0.55,
             [&doc, unit](cairo_t* cr, const Area& a) {
                 drawHistogram(cr, a, doc.histogramBefore, doc.shift ? doc.histogramAfter : Histogram{}, unit);
             }},
            {"cumulative distribution of |d|", 0.55,
             [&doc, unit](cairo_t* cr, const Area& a) { drawCumulative(cr, a, doc.cumulative, unit); }}};
}

std::vector<Picture> slopePictures(const AccuracyDocument& doc)
{
    const std::string unit = doc.unit;
    return {{"median and NMAD per slope class", 0.5,
             [&doc, unit](cairo_t* cr, const Area& a) { drawSlopeChart(cr, a, doc.slopeBars, unit); }}};
}

namespace {

std::vector<Picture> panels(const std::vector<FitPanel>& fits)
{
    std::vector<Picture> out;
    out.reserve(fits.size());
    for (const FitPanel& p : fits)
        out.push_back({"fit of iteration " + std::to_string(p.iteration), 0.55,
                       [&p](cairo_t* cr, const Area& a) { drawFitPanel(cr, a, p); }});
    return out;
}

} // namespace

std::vector<Picture> fitPictures(const AccuracyDocument& doc) { return panels(doc.fits); }

std::vector<Picture> checkpointPictures(const AccuracyDocument& doc)
{
    if (!doc.checkpoints)
        return {};
    const CheckpointFacts& f = *doc.checkpoints;
    const std::string unit = doc.unit;
    return {{"checkpoints map", mapAspect(doc.heights.grid),
             [&doc, &f, unit](cairo_t* cr, const Area& a) {
                 drawPointMap(cr, a, doc.heights.grid, f.points, f.limit, unit, "DEM minus checkpoints");
             }},
            {"histogram of the checkpoints' differences", 0.55, [&f, unit](cairo_t* cr, const Area& a) {
                 drawHistogram(cr, a, f.histogram, f.shift ? f.histogramAfter : Histogram{}, unit);
             }}};
}

std::vector<Picture> pointFitPictures(const AccuracyDocument& doc)
{
    return doc.checkpoints ? panels(doc.checkpoints->fits) : std::vector<Picture>{};
}

std::vector<unsigned char> picturePng(const Picture& picture, int width)
{
    const int height = static_cast<int>(std::lround(width * picture.aspect));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    picture.draw(cr, {0, 0, static_cast<double>(width), static_cast<double>(height)});
    cairo_destroy(cr);
    std::vector<unsigned char> png;
    cairo_surface_write_to_png_stream(surface, appendBytes, &png);
    cairo_surface_destroy(surface);
    return png;
}

} // namespace orolith::report

// The pictures of the report, each a function that draws into an area of
// any cairo surface: the HTML page renders them to PNGs, the PDF draws
// them on its pages. Both take them from here, in the same order.
#ifndef OROLITH_REPORT_REPORTPICTURES_H
#define OROLITH_REPORT_REPORTPICTURES_H

#include <cairo.h>

#include <functional>
#include <string>
#include <vector>

#include "report/accuracydocument.h"
#include "report/charts.h"

namespace orolith::report {

struct Picture {
    std::string name;     // for the HTML's alt text
    double aspect = 0.75; // height over width
    std::function<void(cairo_t*, const Area&)> draw;
};

// The maps: the differences before, after the shift (with one), the hillshade.
std::vector<Picture> mapPictures(const AccuracyDocument& doc);
// The 3-D view and its legend; none when it could not be drawn.
std::vector<Picture> viewPictures(const AccuracyDocument& doc);
// The histogram, then the cumulative curve.
std::vector<Picture> distributionPictures(const AccuracyDocument& doc);
std::vector<Picture> slopePictures(const AccuracyDocument& doc);
// One panel per kept iteration of the fit.
std::vector<Picture> fitPictures(const AccuracyDocument& doc);
// The checkpoints on the hillshade coloured by d, then their histogram;
// none without checkpoints.
std::vector<Picture> checkpointPictures(const AccuracyDocument& doc);
// The panels of the fit to the checkpoints; none without a shift.
std::vector<Picture> pointFitPictures(const AccuracyDocument& doc);

// The picture drawn on a white image surface `width` pixels wide, as PNG
// file bytes.
std::vector<unsigned char> picturePng(const Picture& picture, int width);

} // namespace orolith::report

#endif

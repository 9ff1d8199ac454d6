// The pictures of the accuracy report, drawn with cairo onto any surface
// (an image surface for the HTML page's PNGs, a PDF surface for the PDF):
// maps of the DEM's grid with their colour bar and scale bar, the
// histogram and cumulative curve of the differences, the chart of the
// slope classes and the panels of the co-registration fit. Each function
// draws inside `area` and nothing outside it; sizes are in the surface's
// units (pixels, or points on a PDF page), text set with Pango.
//
// What a picture shows is decided by the plain functions of
// report/chartdata.h; these only draw it.
#ifndef OROLITH_REPORT_CHARTS_H
#define OROLITH_REPORT_CHARTS_H

#include <cairo.h>

#include <string>
#include <vector>

#include "report/chartdata.h"

namespace orolith::report {

struct Area {
    double x = 0, y = 0, w = 0, h = 0;
};

// The signed differences on a diverging scale centred on 0, clipped at
// +-limit, absent cells grey; a colour bar labelled in `unit` beside the
// map and a scale bar under it. Cells keep their ground proportions.
void drawDifferenceMap(cairo_t* cr, const Area& area, const MapGrid& differences, double limit, const std::string& unit,
                       const std::string& title);

// The DEM lit from the north-west (hillshade), absent cells grey, with a
// scale bar.
void drawHillshadeMap(cairo_t* cr, const Area& area, const MapGrid& heights, const std::string& title);

// The hillshade of drawHillshadeMap with `points` drawn on it as small
// dots on the scale of drawDifferenceMap, and its colour bar.
void drawPointMap(cairo_t* cr, const Area& area, const MapGrid& heights, const std::vector<MapPoint>& points,
                  double limit, const std::string& unit, const std::string& title);

// Histograms of the differences (`after` may be empty: then only
// `before`), the median and +-NMAD of each marked.
void drawHistogram(cairo_t* cr, const Area& area, const Histogram& before, const Histogram& after,
                   const std::string& unit);

// The share of points whose |d| is at most x, with LE90 and LE95 marked.
void drawCumulative(cairo_t* cr, const Area& area, const Cumulative& curve, const std::string& unit);

// Median and NMAD per slope class, with the count of each class.
void drawSlopeChart(cairo_t* cr, const Area& area, const std::vector<SlopeBar>& classes, const std::string& unit);

// One iteration of the fit: d / tan(slope) against aspect, the points'
// sample, the medians of 10-degree bins and the fitted curve.
void drawFitPanel(cairo_t* cr, const Area& area, const FitPanel& panel);

// An RGB picture (rows top first, 3 bytes a pixel) scaled to fit `area`,
// keeping its proportions; a legend of colour swatches and texts below or
// beside it when `legend` is not empty.
void drawPicture(cairo_t* cr, const Area& area, int width, int height, const std::vector<unsigned char>& rgb,
                 const std::vector<LegendEntry>& legend);

} // namespace orolith::report

#endif

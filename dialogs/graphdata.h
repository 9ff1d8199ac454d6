// What the class graph window shows, worked out without a window: the
// histogram bins of curvature and difference values, the large height
// classes a user may take out, the axis labels and the bars' rectangles.
// Graphb and graph() in graph.h only draw and place these.
#ifndef OROLITH_DIALOGS_GRAPHDATA_H
#define OROLITH_DIALOGS_GRAPHDATA_H

#include "dialogs/names.h"
#include <string>
#include <vector>

namespace orolith::ui {

// Kinds of graph (GRAPH_TYPE); any other value shows height classes.
constexpr int GRAPHC = 1;     // curvature values
constexpr int GRAPHCLASS = 2; // height class counts
constexpr int GRAPHD = 3;     // elevation differences

// Bins of the curvature and difference histograms.
constexpr int NUM_BINS = 25;

// Histogram of `count` values between min and max in NUM_BINS bins of
// width (max - min) / 25; sets range to max - min. A bin holds the values
// above its lower bound up to and including its upper bound; bin 0 also
// takes the values at or below min, and the last bin every value up to
// max, so that rounding of the bounds cannot lose the largest value.
// Values above max and values that are not finite go in no bin; with a
// bound that is not finite, or max below min, every bin stays empty.
std::vector<int> arrangeDiff(int count, float max, float min, const float* values, float& range);

// What a graph window draws of a set of values: the bins of arrangeDiff
// over the finite values alone, between bounds taken from them, and how
// many values were left out for not being finite (a grid with heights
// near the float limit gives infinite curvatures and differences).
struct Histogram {
    std::vector<int> bins;  // NUM_BINS counts
    float min = 0, max = 0; // the bounds of the bins
    double range = 0;       // max - min, in double: it may exceed the float range
    int finite = 0;         // values in the bins
    int notFinite = 0;      // infinite or not a number
};

// Bins from the smallest finite value to the largest (the curvature graph).
Histogram histogramOf(const float* values, std::size_t count);
// Bins from `lowest` up to the largest finite value, or to `lowest` when
// none lies above it (the difference graph counts from 0).
Histogram histogramFrom(float lowest, const float* values, std::size_t count);

// The note under a histogram about the values it leaves out: "" when
// there are none, "1 value that is not finite is not shown", "12 values
// that are not finite are not shown".
std::string notFiniteNote(int notFinite);

// Smallest and largest entry of the bins.
void findminmax(int& min, int& max, const std::vector<int>& bins);

// Largest and smallest of the first n counts; both unchanged when n is 0.
void getInfo(int& max, int& min, int n, const int* counts);

// The counts with the unusually large classes (a count of at least 1.25
// times the average, in whole numbers) set to 0. newMax becomes the largest
// count kept; removed is set (never cleared) when a class was taken out.
// Empty classes are never "large".
std::vector<int> editClasses(int& newMax, const std::vector<int>& counts, bool& removed);

// Width of the plotting area in the graph's own units: bars may take up
// MAX_BARS units side by side, starting at x = 5.
constexpr int MAX_BARS = 150;

// Classes drawn as bars: with more classes than MAX_BARS, neighbouring
// classes share a bar (their counts summed), so that every bar keeps a
// width of at least one unit.
struct BarCounts {
    std::vector<int> counts;
    int classesPerBar = 1;
};
BarCounts groupClasses(const std::vector<int>& counts);

// Width of one bar in graph units: 6 for up to 25 bars, else the plotting
// width shared out (at least 1 for up to MAX_BARS bars).
int barWidth(int numBars);

// The count the top of the y axis stands for: maxCount rounded up to the
// next multiple of 100 (unchanged when it is one; 100 for no counts). The
// bars and the y labels are both scaled to it.
int axisTop(int maxCount);

// One bar: from x0 to x1, 5 units above the graph's bottom edge up to top.
struct Bar {
    float x0, x1, top;
};
// A bar per count, scaled so that axisTop(maxCount) is 150 units high;
// negative counts get no height.
std::vector<Bar> barGeometry(const std::vector<int>& counts, int maxCount);

// A read-only number on an axis: its value and its place in the graph
// window (x for the x axis, y for the y axis), in pixels.
struct AxisLabel {
    double value;
    int pos;
};

// Counts up the y axis: 0, step, 2 step, ... below maxCount, step a tenth
// of axisTop(maxCount), the label of tick j at y = 150 - 16 j.
std::vector<AxisLabel> yAxisLabels(int maxCount);

// Value labels under a histogram's bars: every fifth bin boundary, from
// min to min + range, at x = 47 + 30 k.
std::vector<AxisLabel> valueAxisLabels(double min, double range);

// Class labels under the height-class bars: the class a bar starts with,
// every fifth bar (or a multiple of five, so that labels stay 30 pixels
// apart), up to the right end of the last bar, at x = 47 plus the bar's
// offset.
std::vector<AxisLabel> classAxisLabels(int numBars, int classesPerBar);

// An axis number as short as the 20-pixel label field needs: whole
// numbers and numbers from 100 up to whole numbers, smaller ones to three
// significant digits; from 10 million up, two digits and the exponent
// ("3.4e38").
std::string axisNumberText(double v);

} // namespace orolith::ui

#endif

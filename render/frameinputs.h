// What the drawing code reads of a data set and a view state, gathered
// into the inputs of the colour rules.
#ifndef OROLITH_RENDER_FRAMEINPUTS_H
#define OROLITH_RENDER_FRAMEINPUTS_H

#include "model/dataset.h"
#include "render/names.h"
#include "render/surfacecolor.h"
#include "render/viewstate.h"

namespace orolith::render {

inline ViewFlags viewFlags(const ViewState& v)
{
    ViewFlags f;
    f.drawContours = v.drawContours;
    f.drawPoints = v.drawPoints;
    f.drawCurveColor = v.drawCurveColor;
    f.drawDiffColor = v.drawDiffColor;
    f.drawCurveDiff = v.drawCurveDiff;
    f.drawDiff = v.drawDiff;
    f.colorHeightClasses = v.colorHeightClasses;
    f.drawColors = v.drawColors;
    f.colorSlope = v.colorSlope;
    f.treeLine = v.treeLine;
    return f;
}

// The height classes the surface may colour by: only a histogram built for
// the contour interval of the comparison data in use.
inline HeightClassTable heightClassTable(const DataSet& d)
{
    const HeightClasses& h = d.heightClasses();
    const bool fresh = d.hasHeightClasses() && d.contourInterval() > 0;
    return {fresh ? h.counts.data() : nullptr, d.contourInterval(), h.minCount, h.maxCount};
}

} // namespace orolith::render

#endif

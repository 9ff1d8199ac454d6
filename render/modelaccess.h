// What the drawing code may safely read from the model objects right now,
// and the current view state gathered into the inputs of the colour rules.
#ifndef OROLITH_RENDER_MODELACCESS_H
#define OROLITH_RENDER_MODELACCESS_H

#include "model/mountain.h"
#include "render/profilegeometry.h"
#include "render/surfacecolor.h"
#include "render/viewstate.h"

// A DEM grid is loaded.
inline bool haveDem()
{
    return mt.getRows() > 0 && mt.getCols() > 0;
}

// A comparison grid of the DEM's size is loaded, so rd may be read at every
// cell of mt. After a size mismatch the grids no longer belong together.
inline bool haveComparison()
{
    return multFiles && haveDem() && rd.getRows() == mt.getRows() && rd.getCols() == mt.getCols();
}

// Whether the comparison grid has a height at (r, c): by the kind it was
// loaded as (sparse and contour data only above 0).
inline bool comparisonPresent(int r, int c)
{
    return rd.isPresent(r, c);
}

// The mesh frame was computed for the grid now loaded.
inline bool meshMatchesGrid(const mountain& m)
{
    return m.hasMesh();
}

inline ViewFlags currentViewFlags()
{
    ViewFlags f;
    f.drawContours = drawContours;
    f.drawPoints = drawPoints;
    f.drawCurveColor = drawCurveColor;
    f.drawDiffColor = drawDiffColor;
    f.drawCurveDiff = drawCurveDiff;
    f.drawDiff = drawDiff;
    f.colorHeightClasses = colorHeightClasses;
    f.drawColors = drawColors;
    f.colorSlope = colorSlope;
    f.treeLine = TREELINE;
    return f;
}

inline HeightClassTable currentHeightClasses(const mountain& m)
{
    int n = rd.getContourInt();
    // A later comparison file may bring another interval than the one the
    // histogram was built for.
    bool fresh = m.heightClasses() && n > 0 && n == m.getNumClasses();
    return {fresh ? m.getClasses() : nullptr, n, m.getMinClassCount(), m.getMaxClassCount()};
}

inline MeshFrame meshFrame(const mountain& m)
{
    MeshFrame f;
    f.rows = m.getRows();
    f.cols = m.getCols();
    f.cellX = static_cast<float>(m.spacing().x);
    f.cellY = static_cast<float>(m.spacing().y);
    f.movex = m.getMovex();
    f.movey = m.getMovey();
    f.scalefactor = m.getScalefactor();
    f.zmid = m.getZmid();
    f.zscale = m.getZscale();
    f.zmin = m.getZmin();
    f.zmax = m.getZmax();
    return f;
}

#endif

// Which colour a surface triangle gets: the scheme precedence of drawgrid
// as plain functions of the view flags, the stored classes and the sampled
// cell. No GL here; drawgrid submits what these return.
#ifndef OROLITH_RENDER_SURFACECOLOR_H
#define OROLITH_RENDER_SURFACECOLOR_H

#include <optional>

#include "model/cellmath.h"
#include "model/colors.h"
#include "render/colorrgb.h"
#include "render/names.h"
#include "render/slopeaspect.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// A packed colour as GL sees it after glColor3ub.
inline ColorRGB packedColor(int packed)
{
    RGB8 c = unpackColor(packed);
    return {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f};
}

// TERRAIN and TERRAINHIGH in a colour field mean "no class here".
inline bool hasClass(int packed) { return packed != TERRAIN && packed != TERRAINHIGH; }

// The height ramp: dark green through yellow to red, each third of the
// relief one leg.
ColorRGB rampColor(int zmax, int zmin, int elev);

// Height-class colour of a height, or nothing when the height is in no
// class (no histogram, interval 0, or rounded below 0).
struct HeightClassTable {
    const int* classes; // histogram of `interval` counts, or null
    int interval;       // contour interval the histogram was built for
    int minCount, maxCount;
};
std::optional<ColorRGB> heightClassColor(float elev, const HeightClassTable& table);

// A difference mark: blue where the DEM lies above the comparison, red
// below; a zero difference leaves the colour before it (no colour here).
struct DiffMark {
    std::optional<ColorRGB> color;
    float length;
};
DiffMark diffMark(float dem, float comp, float zscale);

// The view flags that choose a scheme.
struct ViewFlags {
    bool drawContours = false;
    bool drawPoints = false;
    bool drawCurveColor = false;
    bool drawDiffColor = false;
    bool drawCurveDiff = false;
    bool drawDiff = false;
    bool colorHeightClasses = false;
    bool drawColors = false;
    bool colorSlope = false;
    int treeLine = 4100;
};

// What drawgrid samples for one triangle: the heights at its cell's first
// point and the cell's classes.
struct CellSample {
    float elev;       // DEM height
    float comp;       // comparison height there, 0 without a comparison grid
    bool hasComp;     // a comparison grid of the DEM's size is loaded
    bool compPresent; // ... and it has a height at this point
    int curveColor;   // the cell's stored classes
    int diffColor;    // elevation difference
    int curveDiffColor = TERRAIN;
    bool evenTriangle;
    float zscale;   // mesh scale, for the difference mark's length
    int zmin, zmax; // truncated height extremes, for the ramp
    // Present in both grids but removed by the stable-terrain rules.
    bool unstable = false;
};

struct TriangleLook {
    ColorRGB color;
    bool cube = false; // comparison point cube at vertex 1
    std::optional<DiffMark> mark;
};

constexpr ColorRGB CONTOUR_GREY = {0.7f, 0.7f, 0.7f};
constexpr ColorRGB CUBE_COLOR = {0.9f, 0.6f, 0.6f};

// Points the stable-terrain rules removed are drawn this much darker in
// every scheme: the accuracy figures leave them out, the picture shows
// where.
constexpr float UNSTABLE_SHADE = 0.45f;
ColorRGB unstableShade(const ColorRGB& c);

// Whether grid point (row, col) is present in both grids of `d` and was
// removed by the stable-terrain rules in force (none: no point is).
bool removedFromStableTerrain(const DataSet& d, int row, int col);

// The precedence of drawgrid: a base colour (contour grey, cube point,
// tree line or steep ground), then the first scheme that applies, darker
// where the stable-terrain rules removed the point. Steep() and Aspect()
// are asked only when their rule is reached, as the slope and aspect
// stencils are the expensive part of a frame.
template <class Steep, class Aspect>
TriangleLook triangleLook(const ViewFlags& f, const CellSample& s, const HeightClassTable& classes, Steep steep,
                          Aspect aspect);

// ---------------------------------------------------------------------------

template <class Steep, class Aspect>
TriangleLook schemeLook(const ViewFlags& f, const CellSample& s, const HeightClassTable& classes, Steep steep,
                        Aspect aspect)
{
    TriangleLook look;
    const bool c = s.hasComp && s.compPresent;

    if (f.drawContours && c) {
        look.color = CONTOUR_GREY;
    } else if (f.drawPoints && c) {
        look.cube = s.evenTriangle;
        look.color = packedColor(TERRAIN);
    } else if (s.elev > static_cast<float>(f.treeLine) || steep()) {
        look.color = packedColor(TERRAINHIGH);
    } else {
        look.color = packedColor(TERRAIN);
    }

    if (f.drawCurveColor && hasClass(s.curveColor)) {
        look.color = packedColor(s.curveColor);
        return look;
    }
    if (f.drawDiffColor && hasClass(s.diffColor)) {
        look.color = packedColor(s.diffColor);
        return look;
    }
    if (f.drawCurveDiff && hasClass(s.curveDiffColor)) {
        look.color = packedColor(s.curveDiffColor);
        return look;
    }
    if (f.drawDiff && hasClass(s.diffColor) && s.hasComp) {
        look.mark = diffMark(s.elev, s.comp, s.zscale);
        if (look.mark->color)
            look.color = *look.mark->color;
        return look;
    }
    if (f.colorHeightClasses) {
        if (std::optional<ColorRGB> hc = heightClassColor(s.elev, classes)) {
            look.color = *hc;
            return look;
        }
    }
    if (f.drawColors) {
        look.color = rampColor(s.zmax, s.zmin, truncToInt(s.elev));
        return look;
    }
    if (f.colorSlope)
        look.color = slopeColor(aspect());
    return look;
}

template <class Steep, class Aspect>
TriangleLook triangleLook(const ViewFlags& f, const CellSample& s, const HeightClassTable& classes, Steep steep,
                          Aspect aspect)
{
    TriangleLook look = schemeLook(f, s, classes, steep, aspect);
    if (s.unstable)
        look.color = unstableShade(look.color);
    return look;
}

} // namespace orolith::render

#endif

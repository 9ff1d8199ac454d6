// The terrain under a window position: the line of sight through it, cast
// against the DEM's full grid (not the thinned mesh a large grid is drawn
// with), as the frame's camera sees it. The first triangle it meets,
// nearest the eye, is the point under the mouse; holes (absent corners)
// let it through. No GL here.
#ifndef OROLITH_RENDER_SURFACEPICK_H
#define OROLITH_RENDER_SURFACEPICK_H

#include <optional>

#include "render/framematrices.h"
#include "render/names.h"
#include "render/surfacewalk.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// A point of the surface in grid coordinates: fractional row and column
// (row 0 the northern one) and the DEM's height there on the triangle it
// lies on.
struct SurfaceHit {
    double row = 0, col = 0;
    double height = 0;
};

// The surface point under `at` in a width x height picture of `view`;
// nothing where the line of sight meets no triangle the picture shows (the
// surface switched off, or the side of the profile's cut it leaves out).
std::optional<SurfaceHit> surfaceUnder(const DataSet& d, const ViewState& view, int width, int height,
                                       const WindowPoint& at);

// The same along a line of sight given in model coordinates, with the
// triangles the profile's cut leaves out let through.
std::optional<SurfaceHit> surfaceAlong(const DataSet& d, const Ray& ray, const ProfileCut& cut = {});

// Where the grid point (row, col) with height h is drawn, in model
// coordinates (y mirrored, z exaggerated), as the surface places it.
Vec3 modelPointOf(const DataSet& d, double row, double col, double h);

} // namespace orolith::render

#endif

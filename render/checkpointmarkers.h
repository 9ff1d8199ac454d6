// The checkpoints on the surface: a small square at each point the DEM was
// assessed at, on the surface where the DEM's height there puts it, in the
// colour of the class of its |d| (the classes of the elevation differences,
// in the difference unit). Points outside the DEM or next to absent cells
// have no height there and no marker. No GL here; the frame draws them.
#ifndef OROLITH_RENDER_CHECKPOINTMARKERS_H
#define OROLITH_RENDER_CHECKPOINTMARKERS_H

#include <vector>

#include "model/checkpoints.h"
#include "model/mesh.h"
#include "render/colorrgb.h"
#include "render/names.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// Markers stand this far (model units) above the surface, so that the
// triangles around a point do not hide it.
constexpr float MARKER_LIFT = 0.01f;
// Their size in pixels, and that of the dark square under each one that
// sets the lightest class apart from the terrain.
constexpr float MARKER_PIXELS = 5.0f, MARKER_OUTLINE_PIXELS = 8.0f;

struct MarkerPosition {
    float x, y, z; // as the surface is drawn: y mirrored, z exaggerated
};

// Where the marker of a point at grid position `at` with DEM height
// `demHeight` there is drawn: the surface's own placement of a vertex,
// lifted by MARKER_LIFT.
MarkerPosition markerPosition(const MeshFrame& mesh, const GridPosition& at, double demHeight);

// The difference class colour of a point's d in unit `unit`.
ColorRGB markerColor(double d, float unit);

struct CheckpointMarker {
    MarkerPosition at;
    ColorRGB color;
};

// The markers of the data set's checkpoints that were used, in the order
// given; none without checkpoints.
std::vector<CheckpointMarker> checkpointMarkers(const DataSet& d, float unit);

} // namespace orolith::render

#endif

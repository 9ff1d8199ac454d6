#include "render/checkpointmarkers.h"

#include <cmath>

#include "model/cellmath.h"
#include "model/dataset.h"
#include "render/surfacecolor.h"

namespace orolith::render {

MarkerPosition markerPosition(const MeshFrame& mesh, const GridPosition& at, double demHeight)
{
    return {mesh.xOfCol(static_cast<float>(at.col)), mesh.yOfRow(static_cast<float>(at.row)),
            mesh.zOf(static_cast<float>(demHeight)) + MARKER_LIFT};
}

ColorRGB markerColor(double d, float unit)
{
    return packedColor(DIFF_CLASS_COLORS[diffClass(static_cast<float>(std::fabs(d)), unit)]);
}

std::vector<CheckpointMarker> checkpointMarkers(const DataSet& d, float unit)
{
    std::vector<CheckpointMarker> out;
    if (!d.loaded() || !d.hasCheckpoints() || !d.mesh().usable())
        return out;
    const std::vector<Checkpoint>& points = d.checkpoints();
    const CheckpointAssessment& a = d.checkpointAssessment();
    for (std::size_t i = 0; i < points.size() && i < a.fate.size(); ++i) {
        if (a.fate[i] != PointFate::used)
            continue;
        const GridPosition at = gridPositionOf(d.header(), points[i].x, points[i].y);
        out.push_back({markerPosition(d.mesh(), at, a.demHeight[i]), markerColor(a.d[i], unit)});
    }
    return out;
}

} // namespace orolith::render

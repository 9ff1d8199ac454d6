// A checkpoint assessment as text: what --metrics prints for a point file
// and the statistics window shows under the grids' figures.
#ifndef OROLITH_MODEL_CHECKPOINTTEXT_H
#define OROLITH_MODEL_CHECKPOINTTEXT_H

#include <string>

#include "model/checkpoints.h"

namespace orolith::model {

// "checkpoints: 1000 given, 990 used, 6 outside the DEM, 4 next to absent
// cells", the accuracy table (slope classes and all), the table per point
// class, then the NVA and VVA lines.
std::string checkpointText(const CheckpointAssessment& a, const CheckpointClasses& classes);

// Why an assessment with no point used is refused: "No checkpoint lies on
// the DEM: 12 outside it, 3 next to absent cells".
std::string noCheckpointOnDemText(const CheckpointAssessment& a);

// The class list as the NVA and VVA lines name it: "all classes" for no
// open class named, "none" for no vegetated one, else "forest, shrub".
std::string classListText(const std::vector<std::string>& names, const char* whenEmpty);

} // namespace orolith::model

#endif

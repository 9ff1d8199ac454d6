#include "dialogs/checkpointtext.h"

#include "model/checkpointtext.h"
#include "model/dataset.h"

namespace orolith::ui {

std::string checkpointText(const DataSet& d)
{
    if (!d.loaded() || !d.hasCheckpoints())
        return "";
    return "Checkpoints from " + d.checkpointsName() + "\n" +
           model::checkpointText(d.checkpointAssessment(), d.checkpointClasses());
}

} // namespace orolith::ui

// The checkpoints' part of the statistics window: the file they came from,
// then the model's text of their assessment (model/checkpointtext.h).
#ifndef OROLITH_DIALOGS_CHECKPOINTTEXT_H
#define OROLITH_DIALOGS_CHECKPOINTTEXT_H

#include <string>

#include "dialogs/names.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::ui {

// Empty without checkpoints.
std::string checkpointText(const DataSet& d);

} // namespace orolith::ui

#endif

// The user interface (the dialogs and the application) reads the model's
// and the renderer's names as its own.
#ifndef OROLITH_DIALOGS_NAMES_H
#define OROLITH_DIALOGS_NAMES_H

#include "render/names.h"

namespace orolith::report {
}

namespace orolith::ui {
using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::report;
} // namespace orolith::ui

#endif

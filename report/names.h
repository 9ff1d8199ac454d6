// The report reads the model and draws with the renderer; its files use
// their names unqualified, as the layers above do.
#ifndef OROLITH_REPORT_NAMES_H
#define OROLITH_REPORT_NAMES_H

#include "render/names.h"

namespace orolith::report {
using namespace orolith::model;
using namespace orolith::render;
} // namespace orolith::report

#endif

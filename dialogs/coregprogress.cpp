#include "dialogs/coregprogress.h"

#include <algorithm>

#include "dialogs/names.h"
#include "model/coregister.h"

namespace orolith::ui {

std::string coregStartLabel() { return "Co-registering: finding the sloping ground"; }

std::string coregProgressLabel(int iteration)
{
    return "Co-registering: iteration " + std::to_string(iteration) + " of at most " +
           std::to_string(COREGISTER_MAX_ITERATIONS);
}

double coregProgressFraction(int iteration)
{
    const double done = static_cast<double>(iteration - 1) / COREGISTER_MAX_ITERATIONS;
    return std::clamp(done, 0.0, 1.0);
}

std::string coregTablesLabel() { return "Co-registering: accuracy before and after the shift"; }

} // namespace orolith::ui

#include "dialogs/statusrow.h"

#include <algorithm>
#include <cmath>

int statusDecimals(double value)
{
    return std::fabs(value) >= 1e6 ? 0 : -1;
}

std::string progressLabel(const std::string& stage, double fraction)
{
    // Also a fraction that is not a number reads 0 %. The stages' sums of
    // tenths fall a hair short (0.6 + 0.3): they still count as whole.
    const double percent = fraction > 0 ? std::floor(std::min(fraction, 1.0) * 100 + 1e-9) : 0;
    return stage + " " + std::to_string(static_cast<int>(percent)) + " %";
}

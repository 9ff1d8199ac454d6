#include "dialogs/statusrow.h"

#include <cmath>

int statusDecimals(double value)
{
    return std::fabs(value) >= 1e6 ? 0 : -1;
}

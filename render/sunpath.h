// The sun's path: x and z of the light position on the ellipse
// x^2 / 5.29 + z^2 / 4 = 1.00001, z >= 0. The constant just above 1 keeps
// the root real at the ends of the path (x = +-2.3).
#ifndef OROLITH_RENDER_SUNPATH_H
#define OROLITH_RENDER_SUNPATH_H

#include "render/names.h"
#include <cmath>

namespace orolith::render {

// One step of 0.1 along x, towards +x for direction > 0, else towards -x.
// Refused (false) once the sun has reached the end of its path.
inline bool sunStep(float position[4], int direction)
{
    float x = position[0];
    if (direction > 0 ? x > 2.200001f : x < -2.200001f)
        return false;
    x = direction > 0 ? x + 0.1f : x - 0.1f;
    position[0] = x;
    position[2] = static_cast<float>(std::sqrt((1.00001 - x * x / 5.29) * 4.0));
    return true;
}

} // namespace orolith::render

#endif

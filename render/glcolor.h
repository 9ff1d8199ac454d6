// Colour helpers that set the current GL colour.
#ifndef OROLITH_RENDER_GLCOLOR_H
#define OROLITH_RENDER_GLCOLOR_H

#include "render/colorrgb.h"
#include "render/names.h"

namespace orolith::render {

// A packed colour (R * 1000000 + G * 1000 + B).
void setColor(int packed);
// The height ramp (rampColor).
void setColors(int zmax, int zmin, int elev);
// The aspect colour wheel (slopeColor).
void setSlopeColor(float deg);
void setColorRGB(const ColorRGB& c);

} // namespace orolith::render

#endif

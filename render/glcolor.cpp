#include "render/glcolor.h"

#include <GL/gl.h>

#include "model/colors.h"
#include "render/names.h"
#include "render/slopeaspect.h"
#include "render/surfacecolor.h"

namespace orolith::render {

void setColor(int packed)
{
    RGB8 c = unpackColor(packed);
    glColor3ub(static_cast<GLubyte>(c.r), static_cast<GLubyte>(c.g), static_cast<GLubyte>(c.b));
}

void setColors(int zmax, int zmin, int elev) { setColorRGB(rampColor(zmax, zmin, elev)); }

void setSlopeColor(float deg) { setColorRGB(slopeColor(deg)); }

void setColorRGB(const ColorRGB& c) { glColor3f(c.r, c.g, c.b); }

} // namespace orolith::render

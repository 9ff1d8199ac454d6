// Solid cube and sphere. GLUT draws them once glutInit has run (start-up
// calls it); before that GLUT would end the program, so GLU and plain
// quads stand in.
#ifndef OROLITH_RENDER_SOLIDS_H
#define OROLITH_RENDER_SOLIDS_H
#include "render/names.h"

namespace orolith::render {

void solidCube(float edge);
void solidSphere(double radius, int slices, int stacks);

} // namespace orolith::render

#endif

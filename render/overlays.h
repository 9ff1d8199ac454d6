// Overlays of the frame besides the mountain's own members.
#ifndef OROLITH_RENDER_OVERLAYS_H
#define OROLITH_RENDER_OVERLAYS_H

// The sun, one unit below the light position it stands for, under the
// model transform.
void drawSunSphere();

// Switch lighting back on after an overlay, unless the user turned it off.
void restoreLighting();

#endif

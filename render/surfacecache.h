// The surface kept in GL buffers between frames. drawgrid asks it to draw;
// it rebuilds its buffers only when something the picture depends on has
// changed (the grids or their classes, a colour flag, the profile cut, the
// light, the level of detail), so a frame that only moves the camera
// builds nothing. (Under a software renderer a large grid's frame hands GL
// a list of the triangles that reach a pixel, render/smalltriangles.h.)
#ifndef OROLITH_RENDER_SURFACECACHE_H
#define OROLITH_RENDER_SURFACECACHE_H

#include "render/surfacemesh.h"

class mountain;

// Draws the surface of `m` from buffers; `dragging` selects the coarse
// level of detail that a drag of a large grid shows. Call with the GL
// context current.
void drawBufferedSurface(const mountain& m, bool dragging);

// The GL context was made anew and its buffers went with the old one: they
// are built again before next use.
void forgetSurfaceBuffers();

// How many times the buffers were built, for tests of when they are.
int surfaceBuilds();

// Set by the shell while a load replaces the data set or an analysis runs
// (app/busy.h). The model is then half replaced, so drawBufferedSurface
// reads nothing of it: it draws the full-detail buffers it has, or nothing
// when it has none, and builds none.
extern bool holdSurface;

// Off, drawgrid draws every triangle directly in every frame, the way the
// buffered picture must look; tests compare the two.
extern bool bufferedDrawing;

// On, a flat surface drawn by a software renderer leaves out, each frame,
// the triangles that reach no pixel (render/smalltriangles.h); tests
// compare the pictures with and without.
extern bool leaveOutSmallTriangles;

#endif

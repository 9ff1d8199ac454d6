// The viewer's picture of the current view state drawn off screen, for the
// --image mode: the frame of the viewer window (reshape, minit, display)
// run unchanged in an off-screen context of the picture's size.
#ifndef OROLITH_RENDER_VIEWIMAGE_H
#define OROLITH_RENDER_VIEWIMAGE_H

#include <string>
#include <vector>

// How much the viewer's square projection is narrowed along x and y for a
// picture of width x height pixels. A picture wider or taller than it is
// sees more on its longer side at the scale of the shorter one, rather
// than a stretched terrain; a square picture is the viewer's own (1, 1).
struct ClipScale {
    double x, y;
};
ClipScale imageClipScale(int width, int height);

// Draws the frame of the data set in mt and rd as the view-state globals
// say into a width x height picture and returns its RGB rows, top row
// first. At 650 x 650 it is the viewer's own viewport, pixel for pixel.
// False, with the reason, when no off-screen context can be made.
bool renderViewImage(int width, int height, std::vector<unsigned char>& rgbRowsTopDown, std::string& error);

#endif

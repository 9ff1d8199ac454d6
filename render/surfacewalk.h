// How drawgrid walks the mesh: the triangle step while dragging, the grid
// cursor whose cell colours each triangle, and the profile cut.
#ifndef OROLITH_RENDER_SURFACEWALK_H
#define OROLITH_RENDER_SURFACEWALK_H

#include "render/names.h"
#include "render/viewstate.h"

namespace orolith::render {

// Grid points above which a drag thins the mesh.
constexpr int NUMTRIANGLES = 200000;

// Every triangle normally; while a button is held, every n-th so that a
// large grid keeps up with the pointer.
inline int triangleStep(bool dragging, int gridsize) { return dragging ? gridsize / NUMTRIANGLES + 1 : 1; }

// Above NUMTRIANGLES points even the thinned mesh is too slow to fill while
// dragging: the frame draws outlines until the button is released.
inline bool outlineWhileDragging(int gridsize) { return gridsize > NUMTRIANGLES; }

// Pressing or releasing a button changes the picture of such a grid (thin
// or outlined, then whole again), so the viewer repaints.
inline bool dragChangesPicture(int gridsize)
{
    return triangleStep(true, gridsize) > 1 || outlineWhileDragging(gridsize);
}

// The cursor (i, j) starts at (0, 1). It samples the mesh rather than
// tracking each triangle's own cell: it stays within the grid for a mesh
// of (rows - 1) * (2 cols - 2) triangles walked with step 1.
struct GridCursor {
    int i = 0;
    int j = 1;
};

inline void advanceCursor(GridCursor& cur, int t, int cols)
{
    if (cur.j == cols - 1) {
        cur.i += 1;
        cur.j = 0;
    } else if (t % 2 != 0) {
        cur.j += 1;
    }
}

// The profile view cuts the surface away on one side of its section so the
// section stands free at the cut edge.
struct ProfileCut {
    bool on = false;
    int view = VERTP;
    int ypos = 0;
    int xpos = 0;
};

inline bool triangleShown(const ProfileCut& cut, int rows, const GridCursor& cur)
{
    if (!cut.on)
        return true;
    if (cut.view == VERTP)
        return rows - cur.i - 2 > cut.ypos;
    if (cut.view == HORIZ)
        return cur.j > cut.xpos;
    return false;
}

} // namespace orolith::render

#endif

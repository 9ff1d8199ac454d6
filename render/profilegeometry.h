// Where the profile section, its cutting plane and its comparison marks go,
// in the mesh's model coordinates, and how they are coloured. No GL here.
#ifndef OROLITH_RENDER_PROFILEGEOMETRY_H
#define OROLITH_RENDER_PROFILEGEOMETRY_H

#include "model/mesh.h"
#include "render/colorrgb.h"
#include "render/names.h"

namespace orolith::render {

// The section of a profile at the stored positions (profileYpos, profileXpos).
// The vertical section runs along grid row gridy = rows - Y - 1; the
// horizontal one takes its heights from column gx = X - 1 and stands at the
// x of column X. Positions outside the grid are clamped to the nearest
// section inside it (Y to 0..rows-1, X to 1..cols), so no row or column
// outside the grid is read; `usable` is false for a grid too small to cut.
struct ProfilePlacement {
    bool usable = false;
    int Y = 0, X = 0;
    int gridy = 0, gx = 0;
    float yval = 0, yvalCut = 0;
    float xval = 0, xvalCut = 0;
    float zlow = 0, zhigh = 0;
};

ProfilePlacement placeProfile(const MeshFrame& m, int ypos, int xpos);

// The grid cells of a profile's section in the order the profile view draws
// them: along grid row gridy for a vertical section (view VERTP), along
// column gx for a horizontal one (HORIZ), from the first column or row on.
// The last column or row is not drawn, and not part of it. No cells for
// another view or a section that is not usable.
struct SectionCells {
    int count = 0;
    bool alongRow = true;
    int line = 0; // the grid row or column the section runs along

    int row(int k) const { return alongRow ? line : k; }
    int col(int k) const { return alongRow ? k : line; }
};
SectionCells sectionCells(int view, const ProfilePlacement& p, int rows, int cols);

// A position the user may choose for the section: a row 0 to rows - 1 for
// a vertical section (view VERTP), a column 1 to cols for a horizontal one,
// the ranges placeProfile draws without clamping.
bool profilePositionValid(int view, int v, int rows, int cols);

// Colour of the dense comparison line at a cell: red where the DEM lies
// below the comparison by more than `units`, blue where above, else white.
ColorRGB compareLineColor(float comp, float dem, float units);

// A comparison mark: colour (reddening or bluing with the difference) and
// the tick's top and bottom offsets in model z.
struct MarkStyle {
    ColorRGB color;
    float top, bottom;
};
MarkStyle markStyle(float comp, float dem, float units);

} // namespace orolith::render

#endif

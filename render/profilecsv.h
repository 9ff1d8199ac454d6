// The profile as "Save Profile..." writes it: the section the viewer shows,
// as text a spreadsheet reads.
#ifndef OROLITH_RENDER_PROFILECSV_H
#define OROLITH_RENDER_PROFILECSV_H

#include <string>

#include "render/profilegeometry.h"

// The header line "distance,dem,comparison", then a line per cell of the
// section in the order the profile draws them: the distance from the first
// cell in map units (cellsize x index), the DEM's height, and the comparison
// height where `comp` is given and its value is present (above 0), else
// nothing. `dem` and `comp` are row-major grids of `cols` columns. Numbers
// are written in the fewest digits that read back as the same float.
std::string profileCsv(const float* dem, const float* comp, int cols, float cellsize, const SectionCells& cells);

// The profile of the grids in use (mt, rd) at the section the view state
// places (profView, profileYpos, profileXpos); the header alone while no
// DEM is loaded.
std::string shownProfileCsv();

#endif

// The profile as "Save Profile..." writes it: the section the viewer shows,
// as text a spreadsheet reads.
#ifndef OROLITH_RENDER_PROFILECSV_H
#define OROLITH_RENDER_PROFILECSV_H

#include <string>

#include "model/gridview.h"
#include "render/names.h"
#include "render/profilegeometry.h"
#include "render/viewstate.h"

namespace orolith::model {
class DataSet;
}

namespace orolith::render {

// The header line "distance,dem,comparison", then a line per cell of the
// section in the order the profile draws them: the distance from the first
// cell (`step` a cell: the grid's spacing along the section, metres for a
// geographic grid), the DEM's height where it is present, and the
// comparison height where `comp` has heights and one is present there;
// an empty field elsewhere. Numbers are written in the fewest digits that
// read back as the same float.
std::string profileCsv(const GridView& dem, const GridView& comp, double step, const SectionCells& cells);

// The profile of the data set at the section the view places (profView,
// profileYpos, profileXpos); the header alone while no DEM is loaded.
std::string shownProfileCsv(const DataSet& d, const ViewState& view);

} // namespace orolith::render

#endif

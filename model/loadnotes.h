// Notes on a data set that loaded but may not be what the user meant: a
// grid in degrees that does not say so, a "DEM" comparison grid that is
// mostly zeros. The command line prints them on standard error; the viewer
// shows them.
#ifndef OROLITH_MODEL_LOADNOTES_H
#define OROLITH_MODEL_LOADNOTES_H

#include <string>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

// A one-line note for a DEM of no coordinate system that looks
// geographic (looksGeographic); empty otherwise.
std::string geographicNote(const GridHeader& dem);

// With a comparison grid read as a DEM whose cells are at least half
// exactly 0, a suggestion of the sparse kind.
std::vector<std::string> comparisonNotes(const GridData& comparison, ComparisonKind kind);

// The notes of a load: the DEM's, then the comparison grid's (`comparison`
// null without one).
std::vector<std::string> loadNotes(const GridHeader& dem, const GridData* comparison, ComparisonKind kind);

} // namespace orolith::model

#endif

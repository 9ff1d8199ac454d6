// File > Open... > "Checkpoints...": what its dialog's fields ask the
// session to read. The points are read through GDAL, moved into the DEM's
// coordinate system, and assessed against the DEM.
#ifndef OROLITH_DIALOGS_CHECKPOINTFIELDS_H
#define OROLITH_DIALOGS_CHECKPOINTFIELDS_H

#include <string>
#include <vector>

#include "dialogs/names.h"
#include "model/checkpoints.h"
#include "model/pointio.h"

namespace orolith::ui {

// The dialog's fields as typed.
struct CheckpointFields {
    std::string path;
    std::string x = "x", y = "y", z = "z", pointClass = "class"; // column names
    std::string crs;                                             // empty: the DEM's, or the layer's own
    std::string open, vegetated;                                 // comma lists of point classes
};

// What the session reads: the source (its demWkt the session's to fill)
// and the classes of the vertical accuracies.
struct CheckpointChoice {
    PointSource source;
    CheckpointClasses classes;
};

// The choice of the fields: a column left empty takes its usual name, an
// empty class list the assessment's default (every point open, none
// vegetated). Empty on success, else what to correct.
std::string checkpointChoiceOf(const CheckpointFields& fields, CheckpointChoice& choice);

// The chooser's filter: the files GDAL reads as points.
const char* pointFilePattern();

} // namespace orolith::ui

#endif

// A comparison grid made ready to be compared with the DEM cell by cell:
// on the DEM's grid (resampled when asked, refused when not), its heights
// in the DEM's unit, its present cells by its kind. The load and the
// command line's accuracy modes both go through it.
#ifndef OROLITH_MODEL_PAIRING_H
#define OROLITH_MODEL_PAIRING_H

#include <string>
#include <vector>

#include "model/align.h"
#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

struct PairOptions {
    ComparisonKind kind = ComparisonKind::dem;
    // Resample a comparison grid that does not lie on the DEM's grid; the
    // sparse and contour kinds are always moved cell by cell to the nearest
    // DEM cell.
    bool align = false;
    AlignMethod method = AlignMethod::bilinear;
    // A comparison DEM that is mostly zeros gets a note suggesting the
    // sparse kind; not where the kind decides nothing (the report's rule).
    bool suggestKind = true;
};

struct PairedComparison {
    GridData grid;                      // on the DEM's grid
    std::vector<std::uint8_t> presence; // by the kind; empty: all present
    Alignment alignment;                // how it came onto the DEM's grid
    std::vector<std::string> notes;     // for the user (loadnotes.h)
};

// How a comparison pairs with the DEM. `placed` tells only by the headers,
// before the heights are read: false when the grids do not lie on the same
// grid and no alignment is asked for, `err` then saying so (PLACEMENT).
bool placedForComparison(const GridHeader& dem, const GridHeader& comparison, const PairOptions& options,
                         const GridIo& io, ModelError& err);

// The factor that brings the comparison's heights into the DEM's unit,
// with the conversion and a datum that differs noted in `a`.
double heightsOntoDem(const GridHeader& dem, const GridHeader& comp, Alignment& a);

// The notes on them for the user: "Note: the comparison's heights were
// converted from ...", and the datums'.
std::vector<std::string> unitAndDatumNotes(const Alignment& a);

// The comparison (read whole) made ready against the DEM (read whole).
// False, with the error, when the grids lie apart and no alignment is
// asked, or the alignment fails (no overlap, no GDAL).
bool pairComparison(const GridHeader& dem, const GridView& demView, GridData&& comparison, const PairOptions& options,
                    const GridIo& io, PairedComparison& out, ModelError& err);

} // namespace orolith::model

#endif

// The co-registration of model/coregister.h over a pair read strip by
// strip, by one process or by every process of an MPI run over its own
// rows. Each iteration's medians and NMADs are exact selections by key
// histograms (model/exactrank.h) and its least-squares sums are taken per
// row block and added in block order, so the shift, the bias and the NMADs
// are those of coregister() on the grids read whole, to the last bit,
// however the rows are split. Nothing grid-sized is kept: every figure is
// worked out again from the strips, a few passes over the rows for each.
#ifndef OROLITH_MODEL_STREAMEDCOREGISTER_H
#define OROLITH_MODEL_STREAMEDCOREGISTER_H

#include <string>
#include <vector>

#include "model/coregister.h"
#include "model/pairrows.h"
#include "model/reduction.h"
#include "model/rowblocks.h"

namespace orolith::model {

// coregister(dem, comp, spacing) over `rows`, without the moved grid
// (`shifted` stays empty: ShiftedPairRows gives its strips) and without
// the fits' records (`fits` stays empty). False when a process could not
// read a strip, `error` then naming the file and the rows in every
// process; a co-registration that finds no shift is true with out.ok
// false, as coregister() says it.
bool streamedCoregister(PairRows& rows, const GroundSpacing& spacing, const StreamPlan& plan, Reduction& reduction,
                        Coregistration& out, std::string& error);

// The strips of `rows` with the comparison moved back by (east, north)
// cells as shiftBack() moves it (model/coregister.h), the DEM as it is.
class ShiftedPairRows : public PairRows {
public:
    ShiftedPairRows(PairRows& rows, double east, double north) : rows_(rows), east_(east), north_(north) {}
    int rows() const override { return rows_.rows(); }
    int cols() const override { return rows_.cols(); }
    bool read(int first, int last, PairStrip& strip, std::string& error) override;

    // The rows beyond a strip the shift reaches.
    static int reach(double north);

private:
    PairRows& rows_;
    double east_, north_;
    std::vector<float> heights_;
    std::vector<std::uint8_t> present_;
};

} // namespace orolith::model

#endif

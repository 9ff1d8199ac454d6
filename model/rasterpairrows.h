// A DEM and its comparison on one grid, read from their raster files a
// strip of rows at a time through the raster row reader (GDAL's). Cells
// holding NaN or a file's no-data value are absent; the comparison's
// heights are converted to the DEM's unit and take the presence its kind
// gives them (sparse and contour data: above 0 only), as when the grids
// are read whole (model/pairing.h).
#ifndef OROLITH_MODEL_RASTERPAIRROWS_H
#define OROLITH_MODEL_RASTERPAIRROWS_H

#include <cstdint>
#include <memory>
#include <vector>

#include "model/gridfile.h"
#include "model/pairrows.h"

namespace orolith::model {

class RasterPairRows : public PairRows {
public:
    // Null, with the error, when either raster cannot be opened. A
    // comparison of no path: the DEM alone, the strips' comparison a view
    // of no heights.
    static std::unique_ptr<RasterPairRows> open(const RasterRowReader& reader, const GridHeader& dem,
                                                const GridHeader& comp, ComparisonKind kind, double compFactor,
                                                ModelError& err);
    ~RasterPairRows() override;
    RasterPairRows(const RasterPairRows&) = delete;
    RasterPairRows& operator=(const RasterPairRows&) = delete;

    int rows() const override { return dem_.header.rows; }
    int cols() const override { return dem_.header.cols; }
    bool read(int first, int last, PairStrip& strip, std::string& error) override;

private:
    struct Side {
        GridHeader header;
        RasterRows* rows = nullptr;
        std::vector<float> heights;
        std::vector<std::uint8_t> present;
    };
    RasterPairRows(const RasterRowReader& reader, ComparisonKind kind, double compFactor)
        : reader_(reader), kind_(kind), factor_(compFactor)
    {
    }
    bool readSide(Side& side, int first, int count, std::string& error);

    const RasterRowReader& reader_;
    ComparisonKind kind_;
    double factor_;
    Side dem_, comp_;
};

} // namespace orolith::model

#endif

// Two grids on one grid read a strip of rows at a time: the DEM and its
// comparison as the streamed analyses see them. A strip of grids already
// in memory is a view into them; a strip of rasters on disk is read when
// asked for (model/gdal/gdalrows.h), so that memory holds a strip and not
// the grid.
#ifndef OROLITH_MODEL_PAIRROWS_H
#define OROLITH_MODEL_PAIRROWS_H

#include <string>

#include "model/gridview.h"

namespace orolith::model {

// Rows [first, first + dem.rows) of both grids; the views' row 0 is row
// `first` of the grids.
struct PairStrip {
    int first = 0;
    GridView dem, comp;
};

class PairRows {
public:
    virtual ~PairRows() = default;
    virtual int rows() const = 0;
    virtual int cols() const = 0;
    // Rows [first, last) of both grids (0 <= first < last <= rows()). The
    // strip stays valid until the next call. False with a message that
    // names the file and the rows it could not read.
    virtual bool read(int first, int last, PairStrip& strip, std::string& error) = 0;
};

// The rows of two grids held in memory: views, nothing copied.
class GridPairRows : public PairRows {
public:
    GridPairRows(const GridView& dem, const GridView& comp) : dem_(dem), comp_(comp) {}
    int rows() const override { return dem_.rows; }
    int cols() const override { return dem_.cols; }
    bool read(int first, int last, PairStrip& strip, std::string&) override
    {
        strip.first = first;
        strip.dem = rowsOf(dem_, first, last);
        strip.comp = rowsOf(comp_, first, last);
        return true;
    }

private:
    static GridView rowsOf(const GridView& g, int first, int last)
    {
        const std::size_t at = g.index(first, 0);
        return {g.heights + at, g.present ? g.present + at : nullptr, last - first, g.cols};
    }
    GridView dem_, comp_;
};

} // namespace orolith::model

#endif

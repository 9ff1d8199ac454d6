// Picked places: the readouts a user kept, numbered in the order picked,
// and their files. A number stays with its pick when others are deleted,
// so that the marks on the surface and the rows of a saved file keep
// meaning the same place; a cleared list starts again at 1.
#ifndef OROLITH_MODEL_PICKS_H
#define OROLITH_MODEL_PICKS_H

#include <optional>
#include <string>
#include <vector>

#include "model/readout.h"

namespace orolith::model {

struct Pick {
    int number = 0;
    double row = 0, col = 0; // where on the grid it was picked
    double height = 0;       // the surface's height there, where its mark stands
    CellReadout at;
    std::optional<LonLat> lonLat; // when the DEM's system is known
};

class PickList {
public:
    const std::vector<Pick>& picks() const { return picks_; }
    bool empty() const { return picks_.empty(); }
    std::size_t size() const { return picks_.size(); }
    // Adds the pick under the next number and returns it.
    const Pick& add(Pick pick);
    // Removes the pick at `index` of the list; false when there is none.
    bool remove(std::size_t index);
    void clear();
    // Changes every pick in place (new readouts); the numbers stay.
    template <class Change>
    void update(Change change)
    {
        for (Pick& p : picks_) {
            const int number = p.number;
            change(p);
            p.number = number;
        }
    }

private:
    std::vector<Pick> picks_;
    int next_ = 1;
};

// A class as an interval of the values it holds, in its unit: "> 3",
// "(2,3]", "(1,2]", "<= 1" for curvature classes of unit 1.
std::string classLabel(const ClassAt& k);

// The columns of the pick table and its files, and a pick's cells in
// them ("" where it has no value). Coordinates to a millimetre of a
// projected grid, to 1e-8 degrees of a geographic one.
std::vector<std::string> pickColumns();
std::vector<std::string> pickCells(const Pick& p, bool geographic);

// The status row's lines for a readout: where and the heights, then the
// shape of the ground and the classes; every value named, "n/a" where the
// data have none.
std::string readoutLine(const CellReadout& r, const std::optional<LonLat>& lonLat, bool geographic);

// The picks as a CSV table (the columns above, a header line first) and
// as GeoJSON: a FeatureCollection of points at the picks' longitude and
// latitude (and DEM height) when every pick has them, otherwise at their
// map coordinates, with the values as properties (null where none).
std::string picksCsv(const std::vector<Pick>& picks, bool geographic);
std::string picksGeoJson(const std::vector<Pick>& picks, bool geographic);

} // namespace orolith::model

#endif

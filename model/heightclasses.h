// Height classes: how the DEM's rounded heights fall modulo the contour
// interval of the comparison data. Peaks at class 0 show terracing at the
// contour levels of an interpolated DEM.
#ifndef OROLITH_MODEL_HEIGHTCLASSES_H
#define OROLITH_MODEL_HEIGHTCLASSES_H

#include <string>
#include <vector>

#include "model/gridview.h"

namespace orolith::model {

// Largest contour interval that height classes accept: a comparison grid
// whose first value is a no-data sentinel gives a meaningless interval of
// that size, and one class per unit would exhaust memory.
constexpr int MAX_HEIGHT_CLASSES = 1000000;

struct HeightClasses {
    std::vector<int> counts; // one per class, `interval` of them; empty: none computed
    int interval = 0;
    int minCount = 0, maxCount = 0;
    long long below = 0; // points that round below 0, in no class
};

// The histogram of the DEM's heights (absent points as the 0 stored for
// them, as the statistics have always counted them) for contour interval
// n; empty, with the reason, when n is not a usable interval.
HeightClasses heightClassesOf(const GridView& dem, int interval, std::string& why);

// The lines the command line's --heights prints: "Height Classes Output",
// then "k count" for every class but 0.
std::string heightClassLines(const HeightClasses& h);

} // namespace orolith::model

#endif

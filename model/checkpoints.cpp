#include "model/checkpoints.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "model/coregister.h"
#include "model/parallel.h"

namespace orolith::model {

namespace {

constexpr double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

bool named(const std::vector<std::string>& list, const std::string& name)
{
    return std::find(list.begin(), list.end(), name) != list.end();
}

// Horn's slope in degrees at the grid point nearest to `at`, NaN where the
// point is on the border or its window is not wholly present.
double slopeNear(const GridView& dem, const GridPosition& at, const GroundSpacing& spacing)
{
    const int r = static_cast<int>(std::lround(at.row)), c = static_cast<int>(std::lround(at.col));
    if (r < 1 || c < 1 || r > dem.rows - 2 || c > dem.cols - 2 || !windowPresent(dem, r, c))
        return NOT_A_NUMBER;
    const Gradient g = hornGradient(dem, r, c, spacing);
    return slopeDegrees(std::hypot(g.east, g.north));
}

} // namespace

GridPosition gridPositionOf(const GridHeader& dem, double x, double y)
{
    const double top = dem.yllcorner + dem.rows * dem.cellsizeY;
    return {(top - y) / dem.cellsizeY - 0.5, (x - dem.xllcorner) / dem.cellsizeX - 0.5};
}

CheckpointAssessment assessCheckpoints(const GridView& dem, const GridHeader& header, const GroundSpacing& spacing,
                                       const std::vector<Checkpoint>& points, const std::vector<double>& slopeBounds,
                                       const CheckpointClasses& classes)
{
    CheckpointAssessment a;
    const std::size_t n = points.size();
    a.fate.assign(n, PointFate::used);
    a.demHeight.assign(n, NOT_A_NUMBER);
    a.d.assign(n, NOT_A_NUMBER);
    a.slope.assign(n, NOT_A_NUMBER);

    // Each point is sampled on its own, so the points are split between
    // the cores; the figures then take them in the order given.
    forEachPart(0, static_cast<int>(n), threadsFor(static_cast<long long>(n)), [&](int, int first, int last) {
        for (int i = first; i < last; ++i) {
            const Checkpoint& p = points[i];
            const GridPosition at = gridPositionOf(header, p.x, p.y);
            if (!(at.row >= 0 && at.row <= dem.rows - 1 && at.col >= 0 && at.col <= dem.cols - 1)) {
                a.fate[i] = PointFate::outside;
                continue;
            }
            const double h = bilinearAt(dem, at.row, at.col);
            if (std::isnan(h)) {
                a.fate[i] = PointFate::nextToAbsent;
                continue;
            }
            a.demHeight[i] = h;
            a.d[i] = h - p.z;
            a.slope[i] = slopeNear(dem, at, spacing);
        }
    });

    std::vector<double> all;
    std::vector<std::vector<double>> bySlope(slopeBounds.size());
    std::map<std::string, std::vector<double>> byClass;
    std::vector<double>* classValues = nullptr;
    const std::string* lastClass = nullptr;
    std::vector<double> open, vegetated;
    bool lastOpen = false, lastVegetated = false;
    all.reserve(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (a.fate[i] != PointFate::used) {
            ++(a.fate[i] == PointFate::outside ? a.outside : a.nextToAbsent);
            continue;
        }
        const double d = a.d[i];
        all.push_back(d);
        if (!std::isnan(a.slope[i])) {
            // The last class whose lower bound the slope reaches.
            for (std::size_t k = slopeBounds.size(); k-- > 0;)
                if (a.slope[i] >= slopeBounds[k]) {
                    bySlope[k].push_back(d);
                    break;
                }
        }
        // Points come in runs of one class: look a class up only when it
        // changes.
        const std::string& name = points[i].pointClass;
        if (!lastClass || name != *lastClass) {
            classValues = &byClass[name];
            lastClass = &name;
            lastOpen = classes.open.empty() || named(classes.open, name);
            lastVegetated = named(classes.vegetated, name);
        }
        classValues->push_back(d);
        if (lastOpen)
            open.push_back(d);
        if (lastVegetated)
            vegetated.push_back(d);
    }

    a.report.all = accuracyOf(all.data(), all.size());
    for (std::size_t k = 0; k < slopeBounds.size(); ++k) {
        SlopeClassFigures f;
        f.from = slopeBounds[k];
        f.to = k + 1 < slopeBounds.size() ? slopeBounds[k + 1] : 90.0;
        f.figures = accuracyOf(bySlope[k].data(), bySlope[k].size());
        a.report.classes.push_back(f);
    }
    for (auto& [name, values] : byClass)
        a.classes.push_back({name, accuracyOf(values.data(), values.size())});

    a.nva.count = open.size();
    if (!open.empty()) {
        const AccuracyFigures f = accuracyOf(open.data(), open.size());
        a.nva.rmse = f.rmse;
        a.nva.accuracy95 = 1.96 * f.rmse;
    }
    a.vva.count = vegetated.size();
    if (!vegetated.empty())
        a.vva.p95 = accuracyOf(vegetated.data(), vegetated.size()).le95;
    return a;
}

} // namespace orolith::model

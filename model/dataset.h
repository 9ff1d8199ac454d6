// One loaded pair: the DEM, the comparison data when there is some (its
// kind, how it came onto the DEM's grid), and everything derived from them
// that the viewer draws and the reports read: the mesh's frame, the
// curvature and difference values and their classes, the height classes.
// A load (model/load.h) makes a whole new DataSet, which its owner swaps
// in only when it is complete; the operations below change only the
// derived results, each growing the version the viewer's buffers follow.
#ifndef OROLITH_MODEL_DATASET_H
#define OROLITH_MODEL_DATASET_H

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/align.h"
#include "model/checkpoints.h"
#include "model/fields.h"
#include "model/gridfile.h"
#include "model/gridview.h"
#include "model/heightclasses.h"
#include "model/mesh.h"
#include "model/messages.h"
#include "model/stableterrain.h"

namespace orolith::model {

// The comparison grid of a pair, on the DEM's grid.
struct Comparison {
    GridData grid;
    ComparisonKind kind = ComparisonKind::dem;
    std::vector<std::uint8_t> presence; // by the kind; empty: every cell
    Alignment alignment;
    GridView view() const { return comparisonView(grid, presence); }
};

// The units the classes are in: bounds at u, 2u, 3u (curvature) and at d
// to 4d (differences).
struct ClassUnits {
    float curvature = 1.0f;
    float difference = 1.0f;
};

class DataSet {
public:
    // Nothing loaded.
    DataSet() = default;
    // A DEM alone, or with comparison data on its grid, analysed for a
    // mesh of vertical exaggeration `exaggeration` and classes in `units`.
    // The analyses' progress lines go to `messages` ("Computing curvature",
    // ...), in the order the analyses run: curvature, then elevation and
    // curvature differences.
    // `stage`, when given, is called with each analysis's name before it
    // runs, for a progress bar.
    using Stage = std::function<void(const std::string& stage)>;
    DataSet(GridData dem, std::optional<Comparison> comparison, int exaggeration, const ClassUnits& units,
            Messages& messages, const Stage& stage = {});
    // The same DEM (shared, not copied) and its curvature with another
    // comparison: what a change of the comparison file makes.
    DataSet withComparison(std::optional<Comparison> comparison, const ClassUnits& units, Messages& messages,
                           const Stage& stage = {}) const;

    bool loaded() const { return dem_ != nullptr; }
    const GridData& dem() const { return *dem_; }
    const GridHeader& header() const { return dem_->header; }
    int rows() const { return loaded() ? dem_->header.rows : 0; }
    int cols() const { return loaded() ? dem_->header.cols : 0; }
    GridView demView() const { return loaded() ? viewOf(*dem_) : GridView{}; }
    const GroundSpacing& spacing() const { return spacing_; }
    float zmin() const { return dem_->zmin; }
    float zmax() const { return dem_->zmax; }

    bool hasComparison() const { return comparison_ != nullptr; }
    const Comparison& comparison() const { return *comparison_; }
    GridView comparisonView() const { return hasComparison() ? comparison_->view() : GridView{}; }
    // The contour interval detected in the comparison grid, 0 without one.
    int contourInterval() const { return hasComparison() ? comparison_->grid.contourInt : 0; }

    // The mesh's frame; a new exaggeration rebuilds it.
    const MeshFrame& mesh() const { return mesh_; }
    void setExaggeration(int exaggeration);

    // Values and classes. classify... reclassifies in another unit; the
    // difference operations do nothing without comparison data.
    const CurvatureField& curvature() const { return *curvature_; }
    const CellClasses& curvatureClasses() const { return curvatureClasses_; }
    void classifyCurvature(float unit);
    const ElevationField& elevation() const { return elevation_; }
    const CellClasses& elevationClasses() const { return elevationClasses_; }
    void classifyElevation(float unit);
    const std::vector<float>& curvatureDifference() const { return curvatureDifference_; }
    const CellClasses& curvatureDifferenceClasses() const { return curvatureDifferenceClasses_; }
    void classifyCurvatureDifference(float unit);

    // Class colours of a cell for drawing (TERRAIN where it has none).
    int curveColorOfCell(std::size_t cell) const;
    int diffColorOfCell(std::size_t cell) const;
    int curveDiffColorOfCell(std::size_t cell) const;

    // Height classes: the histogram for the contour interval of the
    // comparison data, computed on demand (heightclasses.h).
    const HeightClasses& heightClasses() const { return heightClasses_; }
    bool hasHeightClasses() const;
    // False (after a notice) when there is no contour interval to class by.
    bool computeHeightClasses(Messages& messages);

    // Stable terrain: the rules in force and the paired points they keep.
    // Without rules every point present in both grids is stable. The
    // accuracy analyses (figures, co-registration, the accuracy report)
    // take stableComparisonView(); the statistics report and the classes
    // keep the whole comparison. False, with `why`, and nothing changed,
    // when there is no comparison grid, the mask is not on the DEM's grid
    // or the rules keep no point. A new comparison clears the rules.
    bool setStableTerrain(const StableTerrainRules& rules, std::string& why);
    void clearStableTerrain();
    bool hasStableTerrain() const { return stable_ != nullptr; }
    const StableTerrainRules& stableRules() const { return stable_->rules; }
    const StableTerrain& stableTerrain() const { return stable_->kept; }
    // The comparison with the points the rules removed absent.
    GridView stableComparisonView() const;
    // One value a cell, non-zero where stable; null without rules.
    const std::uint8_t* stableMask() const { return stable_ ? stable_->kept.stable.data() : nullptr; }

    // Checkpoints: surveyed points assessed against the DEM, beside (not
    // instead of) a comparison grid. `name` is the file they came from.
    void setCheckpoints(std::vector<Checkpoint> points, const std::string& name, const CheckpointClasses& classes,
                        const std::vector<double>& slopeBounds);
    // The same with their assessment made already (assessCheckpoints of
    // this DEM), so that a caller who checked it need not make it again.
    void setCheckpoints(std::vector<Checkpoint> points, const std::string& name, const CheckpointClasses& classes,
                        CheckpointAssessment assessment);
    void clearCheckpoints();
    bool hasCheckpoints() const { return checkpoints_ != nullptr; }
    const std::vector<Checkpoint>& checkpoints() const { return checkpoints_->points; }
    const std::string& checkpointsName() const { return checkpoints_->name; }
    const CheckpointClasses& checkpointClasses() const { return checkpoints_->classes; }
    const CheckpointAssessment& checkpointAssessment() const { return checkpoints_->assessment; }

    // Grows whenever something a picture depends on changes: the pair
    // (a load), the mesh frame, a classification, the height classes.
    unsigned long long version() const { return version_; }
    // Grows only when the comparison data are replaced.
    unsigned long long comparisonVersion() const { return comparisonVersion_; }
    // A data set swapped in for another continues its versions, so that
    // nothing made for the old one is taken for the new one's.
    void continueVersionsOf(const DataSet& previous);

private:
    std::shared_ptr<const GridData> dem_;
    std::shared_ptr<const Comparison> comparison_;
    GroundSpacing spacing_;
    MeshFrame mesh_;
    std::shared_ptr<const CurvatureField> curvature_ = std::make_shared<const CurvatureField>();
    CellClasses curvatureClasses_;
    ElevationField elevation_;
    CellClasses elevationClasses_;
    std::vector<float> curvatureDifference_;
    CellClasses curvatureDifferenceClasses_;
    HeightClasses heightClasses_;
    struct Stable {
        StableTerrainRules rules;
        StableTerrain kept;
    };
    std::shared_ptr<const Stable> stable_;
    struct Checkpoints {
        std::vector<Checkpoint> points;
        std::string name;
        CheckpointClasses classes;
        CheckpointAssessment assessment;
    };
    std::shared_ptr<const Checkpoints> checkpoints_;
    unsigned long long version_ = 1;
    unsigned long long comparisonVersion_ = 1;

    void analyseComparison(const ClassUnits& units, Messages& messages, const Stage& stage);
};

} // namespace orolith::model

#endif

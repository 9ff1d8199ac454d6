#include "model/dataset.h"

#include "model/cellmath.h"

namespace orolith::model {

namespace {

int colorOf(const CellClasses& k, const int* palette, std::size_t cell)
{
    return cell < k.classes.size() ? palette[k.classes[cell]] : TERRAIN;
}

} // namespace

namespace {
void tell(const DataSet::Stage& stage, const char* name)
{
    if (stage)
        stage(name);
}
} // namespace

DataSet::DataSet(GridData dem, std::optional<Comparison> comparison, int exaggeration, const ClassUnits& units,
                 Messages& messages, const Stage& stage)
{
    tell(stage, "Building the mesh");
    spacing_ = groundSpacing(dem.header);
    dem_ = std::make_shared<const GridData>(std::move(dem));
    mesh_ = meshFrame(rows(), cols(), spacing_, zmin(), zmax(), exaggeration);
    tell(stage, "Computing curvature");
    messages.line("Computing curvature");
    curvature_ = std::make_shared<const CurvatureField>(curvatureField(demView()));
    classifyCurvature(units.curvature);
    if (comparison) {
        comparison_ = std::make_shared<const Comparison>(std::move(*comparison));
        analyseComparison(units, messages, stage);
    }
}

DataSet DataSet::withComparison(std::optional<Comparison> comparison, const ClassUnits& units, Messages& messages,
                                const Stage& stage) const
{
    DataSet out;
    out.dem_ = dem_;
    out.spacing_ = spacing_;
    out.mesh_ = mesh_;
    out.curvature_ = curvature_;
    out.curvatureClasses_ = curvatureClasses_;
    out.checkpoints_ = checkpoints_;
    out.version_ = version_ + 1;
    out.comparisonVersion_ = comparisonVersion_ + 1;
    // Every analysis of the comparison starts afresh; the curvature is
    // classified again, as a load always did.
    out.classifyCurvature(units.curvature);
    if (comparison) {
        out.comparison_ = std::make_shared<const Comparison>(std::move(*comparison));
        out.analyseComparison(units, messages, stage);
    }
    return out;
}

void DataSet::analyseComparison(const ClassUnits& units, Messages& messages, const Stage& stage)
{
    tell(stage, "Computing elevation differences");
    messages.line("Computing elevation differences");
    elevation_ = elevationField(demView(), comparisonView());
    classifyElevation(units.difference);
    tell(stage, "Computing curvature differences");
    messages.line("Computing curvature differences");
    curvatureDifference_ = curvatureDifferenceField(comparisonView(), *curvature_);
    classifyCurvatureDifference(units.difference);
}

void DataSet::setExaggeration(int exaggeration)
{
    if (!loaded())
        return;
    mesh_ = meshFrame(rows(), cols(), spacing_, zmin(), zmax(), exaggeration);
    ++version_;
}

void DataSet::classifyCurvature(float unit)
{
    if (!loaded())
        return;
    curvatureClasses_ = model::curvatureClasses(*curvature_, demView(), unit);
    ++version_;
}

void DataSet::classifyElevation(float unit)
{
    if (!hasComparison())
        return;
    elevationClasses_ = model::elevationClasses(elevation_, demView(), comparisonView(), unit);
    ++version_;
}

void DataSet::classifyCurvatureDifference(float unit)
{
    if (!hasComparison())
        return;
    curvatureDifferenceClasses_ =
        model::curvatureDifferenceClasses(curvatureDifference_, demView(), comparisonView(), unit);
    ++version_;
}

int DataSet::curveColorOfCell(std::size_t cell) const { return colorOf(curvatureClasses_, CURVE_CLASS_COLORS, cell); }

int DataSet::diffColorOfCell(std::size_t cell) const { return colorOf(elevationClasses_, DIFF_CLASS_COLORS, cell); }

int DataSet::curveDiffColorOfCell(std::size_t cell) const
{
    return colorOf(curvatureDifferenceClasses_, DIFF_CLASS_COLORS, cell);
}

bool DataSet::setStableTerrain(const StableTerrainRules& rules, std::string& why)
{
    if (!hasComparison()) {
        why = "Stable terrain needs comparison data: open a comparison grid first";
        return false;
    }
    if (!rules.mask.empty() && rules.mask.size() != demView().cells()) {
        why = "The mask is not on the DEM's grid";
        return false;
    }
    StableTerrain kept = model::stableTerrain(demView(), comparisonView(), spacing_, rules);
    if (kept.counts.kept == 0) {
        why = stableTerrainEmptyText(kept.counts);
        return false;
    }
    stable_ = std::make_shared<const Stable>(Stable{rules, std::move(kept)});
    ++version_;
    return true;
}

void DataSet::clearStableTerrain()
{
    if (!stable_)
        return;
    stable_.reset();
    ++version_;
}

GridView DataSet::stableComparisonView() const
{
    GridView v = comparisonView();
    if (stable_)
        v.present = stable_->kept.stable.data();
    return v;
}

void DataSet::setCheckpoints(std::vector<Checkpoint> points, const std::string& name, const CheckpointClasses& classes,
                             const std::vector<double>& slopeBounds)
{
    if (!loaded())
        return;
    CheckpointAssessment assessment = assessCheckpoints(demView(), header(), spacing_, points, slopeBounds, classes);
    setCheckpoints(std::move(points), name, classes, std::move(assessment));
}

void DataSet::setCheckpoints(std::vector<Checkpoint> points, const std::string& name, const CheckpointClasses& classes,
                             CheckpointAssessment assessment)
{
    if (!loaded())
        return;
    checkpoints_ =
        std::make_shared<const Checkpoints>(Checkpoints{std::move(points), name, classes, std::move(assessment)});
    ++version_;
}

void DataSet::clearCheckpoints()
{
    if (!checkpoints_)
        return;
    checkpoints_.reset();
    ++version_;
}

bool DataSet::hasHeightClasses() const
{
    // A later comparison file may bring another interval than the one the
    // histogram was built for.
    return !heightClasses_.counts.empty() && heightClasses_.interval == contourInterval();
}

bool DataSet::computeHeightClasses(Messages& messages)
{
    std::string why;
    HeightClasses h = heightClassesOf(loaded() ? demView() : GridView{}, contourInterval(), why);
    if (!why.empty()) {
        messages.notice(why);
        return false;
    }
    heightClasses_ = std::move(h);
    ++version_;
    if (heightClasses_.below > 0)
        messages.notice(std::to_string(heightClasses_.below) + " points below height 0 left out of the height classes");
    return true;
}

void DataSet::continueVersionsOf(const DataSet& previous)
{
    version_ += previous.version_ + 1;
    comparisonVersion_ += previous.comparisonVersion_ + 1;
}

} // namespace orolith::model

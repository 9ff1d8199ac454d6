// The values behind the classes of a data set, and the classes: the
// curvature of the DEM (the magnitude of its discrete Laplacian at every
// interior point), the elevation differences and the curvature
// differences against the comparison grid. Pure functions of the grids.
//
// The values and the class counts keep the statistics report's rule: a
// reference value counts only when it is above 0 (sparse and contour files
// hold 0 where they have no data) and an absent DEM point as the 0 the
// reader stores. The class of each cell, which the surface is coloured by,
// leaves out every point either grid does not have.
#ifndef OROLITH_MODEL_FIELDS_H
#define OROLITH_MODEL_FIELDS_H

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/gridfile.h"
#include "model/gridview.h"

namespace orolith::model {

// The curvature magnitude at the (rows - 2) x (cols - 2) interior points,
// row-major, with the figures of the statistics report: the largest
// magnitude (0 without interior points), the smallest, and the sum of the
// squares in single precision, in row-major order, as its last bits depend
// on it.
struct CurvatureField {
    std::vector<float> magnitude;
    float peak = 0, minimum = 0, totalSquared = 0;
};
CurvatureField curvatureField(const GridView& dem);

// |DEM - reference| at every cell (rows - 1 x cols - 1, a cell taking its
// first point), 0 where the reference is not above 0; the signed extremes
// over the cells that have a reference value (both 0 without one).
// `pictureDiffers` when the report's rule and presence disagree somewhere
// (absent DEM points, heights at or below 0 of a comparison DEM, a no-data
// value above 0), so that the picture's classes need a pass of their own.
struct ElevationField {
    std::vector<float> magnitude;
    float max = 0, min = 0;
    bool pictureDiffers = false;
};
ElevationField elevationField(const GridView& dem, const GridView& comparison);

// ||Laplacian of the reference| - curvature| at the interior points.
std::vector<float> curvatureDifferenceField(const GridView& comparison, const CurvatureField& dem);

// The class of every cell ((rows - 1) x (cols - 1), row-major) in `unit`,
// as an index of CURVE_CLASS_COLORS or DIFF_CLASS_COLORS, and the number of
// cells of each class by the report's rule. Empty before classification.
struct CellClasses {
    std::vector<std::uint8_t> classes;
    std::array<int, 5> counts{};
    float unit = NAN;
};

// Curvature classes (4): cells of the border row and column, and those of
// a point whose stencil reaches an absent point, have none in the picture.
CellClasses curvatureClasses(const CurvatureField& field, const GridView& dem, float unit);
// Elevation-difference classes (5): none where either grid is absent.
CellClasses elevationClasses(const ElevationField& field, const GridView& dem, const GridView& comparison, float unit);
// Curvature-difference classes (5): none where either grid lacks a point of
// the stencil.
CellClasses curvatureDifferenceClasses(const std::vector<float>& field, const GridView& dem, const GridView& comparison,
                                       float unit);

// Class counts in another unit, without classes: what a report in that
// unit says.
std::array<int, 5> curvatureCounts(const CurvatureField& field, int rows, int cols, float unit);
std::array<int, 5> elevationCounts(const ElevationField& field, int rows, int cols, float unit);
std::array<int, 5> curvatureDifferenceCounts(const std::vector<float>& field, int rows, int cols, float unit);

// The RMSE of the report: over the cells whose reference value is above 0,
// the squares summed as floats in row-major order; empty when none is.
std::optional<float> reportRmse(const GridView& dem, const GridView& comparison);

// |DEM - reference| of the cells both grids have, in cell order: the
// difference graph's values.
std::vector<float> presentDifferences(const GridView& dem, const GridView& comparison);
// The curvature of the interior points whose four neighbours are present:
// the curvature graph's values.
std::vector<float> definedCurvatures(const CurvatureField& field, const GridView& dem);

} // namespace orolith::model

#endif

// Grid input into the model objects. The reading itself is in gridfile.cpp;
// here a grid that was read replaces what a model holds.
#include <new>
#include <ostream>

#include "model/mountain.h"

void mountain::readgridfile(const std::string names[], int index)
{
    const std::string& path = names[index - 1];
    GridData data;
    ModelError err;
    GridHeader header;
    if (!readGridHeader(path, header, err))
        error(err);
    // The progress line comes before the heights are read, as the reading
    // can take a while.
    const bool dem = index == 1;
    announceReading(header, dem ? GridRole::dem : GridRole::comparison);
    if (!readGridHeights(header, dem ? GridRole::dem : GridRole::comparison, data, err, 2))
        error(err);
    if (!dem)
        sparseData = true;
    adopt(std::move(data));
}

void announceReading(const GridHeader& header, GridRole role)
{
    console() << (role == GridRole::dem ? "Reading DEM data, " : "Reading comparison data, ") << header.rows
              << " rows and " << header.cols << " columns..." << std::endl;
}

void mountain::readgrid(GridData&& data)
{
    announceReading(data.header, GridRole::dem);
    adopt(std::move(data));
}

void mountain::readrawdata(GridData&& data)
{
    announceReading(data.header, GridRole::comparison);
    sparseData = true;
    adopt(std::move(data));
}

// Everything derived from the old heights goes with them, so that no
// caller has to reset counts, extremes or the contour interval first.
void mountain::adopt(GridData&& data, ComparisonKind kind)
{
    header_ = data.header;
    ++version_;
    const GridHeader& h = header_;
    rows = h.rows;
    cols = h.cols;
    spacing_ = groundSpacing(h);
    nodata = h.nodata;
    kind_ = kind;
    present_ = kind == ComparisonKind::dem ? std::move(data.present) : comparisonPresence(data, kind);
    headerText = h.text;
    zmin = data.zmin;
    zmax = data.zmax;
    setContourInt(data.contourInt);

    heights_ = std::move(data.heights);
    rowStarts_.resize(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r)
        rowStarts_[static_cast<std::size_t>(r)] = heights_.data() + static_cast<std::size_t>(r) * cols;
    grid = rowStarts_.data();

    resetCounts();
    cArray.reset();
    dArray.reset();
    cdArray.reset();
    maxCurve = minCurve = maxDiff = minDiff = 0;
    sumSqCurve = peakCurve = 0;
    for (auto* classes : {&curveClass_, &elevDiffClass_, &curveDiffClass_}) {
        classes->clear();
        classes->shrink_to_fit();
    }
    elevDiffPresenceDiffers_ = false;
    classes.reset();
    curveCountsUnit_ = elevCountsUnit_ = curveDiffCountsUnit_ = NAN;
    numClasses = minClassCount = maxClassCount = 0;
    numTriangles = 0;
    meshRows_ = meshCols_ = -1;
}

float** allocate(int rows, int cols)
{
    float** array = new (std::nothrow) float*[rows];
    if (!array)
        error(ARRAY1);
    for (int r = 0; r < rows; ++r) {
        array[r] = new (std::nothrow) float[cols];
        if (!array[r])
            error(ARRAY2);
    }
    return array;
}

void release(float** array, int rows)
{
    if (!array)
        return;
    for (int r = 0; r < rows; ++r)
        delete[] array[r];
    delete[] array;
}

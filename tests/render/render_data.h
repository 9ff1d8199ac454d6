// Data sets made in memory for the render tests: a DEM of a height
// function, alone or with a comparison DEM, analysed as a load analyses
// them, without a file or the loader in between.
#ifndef OROLITH_TESTS_RENDER_RENDER_DATA_H
#define OROLITH_TESTS_RENDER_RENDER_DATA_H

#include <functional>
#include <optional>
#include <vector>

#include "model/dataset.h"
#include "model/gridview.h"
#include "model/madegrid.h"
#include "model/messages.h"
#include "render/names.h"

using namespace orolith::model;
using namespace orolith::render;

using HeightOf = std::function<float(int row, int col)>;

// A rows x cols DEM of square cells, heights h(row, col), with the corner
// the test grid files have.
inline GridData demGrid(int rows, int cols, double cellsize, const HeightOf& h)
{
    GridData g;
    g.header.rows = rows;
    g.header.cols = cols;
    g.header.xllcorner = 1000;
    g.header.yllcorner = 2000;
    g.header.cellsizeX = g.header.cellsizeY = cellsize;
    g.heights.resize(g.header.cells());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.heights[static_cast<std::size_t>(r) * cols + c] = h(r, c);
    finishGrid(g, GridRole::dem);
    return g;
}

// The DEM alone, mesh at vertical exaggeration 1, classes in unit 1.
inline DataSet demDataSet(int rows, int cols, double cellsize, const HeightOf& h)
{
    SilentMessages quiet;
    return DataSet(demGrid(rows, cols, cellsize, h), std::nullopt, 1, ClassUnits{}, quiet);
}

// The DEM with a comparison DEM of heights ref(row, col) on its grid.
inline DataSet pairDataSet(int rows, int cols, double cellsize, const HeightOf& h, const HeightOf& ref)
{
    GridData dem = demGrid(rows, cols, cellsize, h);
    std::vector<float> heights(dem.header.cells());
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            heights[static_cast<std::size_t>(r) * cols + c] = ref(r, c);
    Comparison comparison;
    comparison.grid = madeComparisonGrid(dem.header, rows, cols, std::move(heights));
    comparison.kind = ComparisonKind::dem;
    comparison.presence = comparisonPresence(comparison.grid, comparison.kind);
    SilentMessages quiet;
    return DataSet(std::move(dem), std::move(comparison), 1, ClassUnits{}, quiet);
}

#endif

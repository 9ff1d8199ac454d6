// The sparse sample of the DEM: its peaks plus random spot heights, as a
// raster in which every other cell is 0 (the form read back as a sparse
// comparison file). The sample is built in a raster of its own; the DEM
// under study stays as it is.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "model/mountain.h"
#include "model/sparseformat.h"

int mountain::localMaximums(randomHeight* out)
{
    int count = 0;
    for (int r = 1; count < LOCALNUM && r < rows - 1; ++r) {
        for (int c = 1; count < LOCALNUM && c < cols - 1; ++c) {
            if (!windowPresent(view(), r, c))
                continue; // an absent neighbour, stored as 0, makes no peak
            float h = grid[r][c];
            bool peak = h > grid[r - 1][c - 1] && h > grid[r - 1][c] && h > grid[r - 1][c + 1] &&
                        h > grid[r][c - 1] && h > grid[r][c + 1] &&
                        h > grid[r + 1][c - 1] && h > grid[r + 1][c] && h > grid[r + 1][c + 1];
            if (!peak)
                continue;
            out[count] = {r, c, h};
            std::cerr << "local max " << count << ": " << h << std::endl;
            ++count;
        }
    }
    // No pause for a number on standard input here: the viewer runs this,
    // and its window would freeze until a console answered.
    std::cerr << "Found " << count << " local maximums." << std::endl;
    return count;
}

std::vector<float> mountain::sparseRaster(int n)
{
    if (!grid || rows < 1 || cols < 1) {
        notice("A sparse sample needs a DEM: open one first");
        return {};
    }
    if (n < LOCALNUM) {
        error(SPARSE);
        return {};
    }
    // More spot heights than grid points cannot make a sparser file (the
    // smallest count stays possible on a small grid), and an absurd count
    // would only keep the generator busy.
    int most = std::max(gridsize(), LOCALNUM);
    if (n > most) {
        notice("Number of heights must be <= " + std::to_string(most) + ", the number of grid points");
        return {};
    }
    console() << "Peak heights will be included automatically." << std::endl;

    randomHeight peaks[LOCALNUM];
    int numLocals = localMaximums(peaks);
    std::cerr << "numLocals = " << numLocals << std::endl;

    // Random points are drawn row first, then column, and may repeat or fall
    // on a peak; every point carries the DEM's own height, so the order in
    // which they are written does not matter.
    std::vector<float> raster(static_cast<std::size_t>(rows) * cols, 0.0f);
    for (int i = numLocals; i < n; ++i) {
        int row = std::rand() % rows;
        int column = std::rand() % cols;
        if (isPresent(row, column)) // an absent point has no height to give
            raster[static_cast<std::size_t>(row) * cols + column] = grid[row][column];
    }
    for (int i = 0; i < numLocals; ++i)
        raster[static_cast<std::size_t>(peaks[i].row) * cols + peaks[i].column] = peaks[i].height;
    return raster;
}

void mountain::makeSparseFile(int n)
{
    console() << "Creating sparse data file" << std::endl;
    std::cerr << "Enter desired number of random spot heights: " << std::endl;
    std::vector<float> raster = sparseRaster(n);
    if (raster.empty())
        return;
    std::cout << formatRaster(raster, rows, cols);
    std::cout.flush();
}

std::string mountain::sparseFileText(int n, std::size_t* heights)
{
    std::vector<float> raster = sparseRaster(n);
    if (heights)
        *heights = spotHeightCount(raster);
    return raster.empty() ? std::string() : headerText + formatRaster(raster, rows, cols);
}

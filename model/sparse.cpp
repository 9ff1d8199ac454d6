// The sparse sample of the DEM: its peaks plus random spot heights, as a
// raster in which every other cell is 0 (the form read back as a sparse
// comparison file). The sample is built in a raster of its own; the DEM
// under study stays as it is.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>

#include "model/mountain.h"
#include "model/sparseformat.h"

int mountain::localMaximums(randomHeight* out, bool pause)
{
    int count = 0;
    for (int r = 1; count < LOCALNUM && r < rows - 1; ++r) {
        for (int c = 1; count < LOCALNUM && c < cols - 1; ++c) {
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
    std::cerr << "Found " << count << " local maximums." << std::endl;
    if (pause) {
        std::cerr << "pause" << std::endl;
        int ignored;
        if (!(std::cin >> ignored)) {
            std::cin.clear();
            std::cin.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        }
    }
    return count;
}

std::vector<float> mountain::sparseRaster(int n, bool pause)
{
    if (n < LOCALNUM) {
        error(SPARSE);
        return {};
    }
    console() << "Peak heights will be included automatically." << std::endl;

    std::vector<randomHeight> points(n);
    int numLocals = localMaximums(points.data(), pause);
    std::cerr << "numLocals = " << numLocals << std::endl;
    for (int i = numLocals; i < n; ++i) {
        int row = std::rand() % rows;
        int column = std::rand() % cols;
        points[i] = {row, column, grid[row][column]};
    }

    std::vector<float> raster(static_cast<std::size_t>(rows) * cols, 0.0f);
    for (const randomHeight& p : points)
        raster[static_cast<std::size_t>(p.row) * cols + p.column] = p.height;
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

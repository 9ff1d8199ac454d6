// Grid files written by the tests: a scratch folder that removes itself,
// grids given row by row that write themselves out as grid-file text, and
// grids of a height function written to the scratch folder of the process.
#ifndef OROLITH_TESTS_MODEL_GRID_FILES_H
#define OROLITH_TESTS_MODEL_GRID_FILES_H

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

// A folder of its own in the temporary folder, removed with its contents by
// the process that made it (not by the child of a death test).
struct ScratchDir {
    std::string path = (std::filesystem::temp_directory_path() / "orolith-test-XXXXXX").string();
    pid_t owner = getpid();

    ScratchDir() { mkdtemp(path.data()); }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (getpid() == owner)
            std::filesystem::remove_all(path, ignored);
    }
    std::string write(const std::string& name, const std::string& text) const
    {
        std::ofstream(path + "/" + name, std::ios::binary) << text;
        return path + "/" + name;
    }
};

// Row 0 is the first data line of the file; the header carries the cell
// size and, when given, one more line such as "NODATA_value -9999".
struct Grid {
    int rows, cols;
    std::vector<float> h; // row-major
    float cellsize;
    std::string extraLine;

    Grid(int r, int c, std::vector<float> heights, float size = 10.0f, std::string extra = "")
        : rows(r), cols(c), h(std::move(heights)), cellsize(size), extraLine(std::move(extra))
    {
    }
    float& at(int r, int c) { return h[static_cast<std::size_t>(r) * cols + c]; }

    std::string text() const
    {
        std::ostringstream out;
        out << std::setprecision(9) << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 1000\nyllcorner 2000\n"
            << "cellsize " << cellsize << "\n"
            << extraLine << (extraLine.empty() ? "" : "\n");
        for (std::size_t i = 0; i < h.size(); ++i)
            out << h[i] << ((i + 1) % cols == 0 ? "\n" : " ");
        return out.str();
    }
};

inline Grid filled(int rows, int cols, float value)
{
    return Grid(rows, cols, std::vector<float>(static_cast<std::size_t>(rows) * cols, value));
}

// Irregular but repeatable heights with fractional parts, so that the
// order of float sums matters.
inline Grid bumpy(int rows, int cols, unsigned seed = 7u, float base = 100.0f, float spread = 100.0f)
{
    Grid g = filled(rows, cols, 0.0f);
    for (float& v : g.h) {
        seed = seed * 1103515245u + 12345u;
        v = base + spread * static_cast<float>((seed >> 8) % 100000u) / 99700.0f;
    }
    return g;
}

// A path in the scratch folder of this process.
inline std::string tempPath(const std::string& name)
{
    static const ScratchDir dir;
    return dir.path + "/" + name;
}

// Heights h(row, col) of a rows x cols grid, written to tempPath(name).
inline std::string writeGrid(const std::string& name, int rows, int cols, float cellsize,
                             const std::function<float(int, int)>& h)
{
    Grid g = filled(rows, cols, 0.0f);
    g.cellsize = cellsize;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            g.at(r, c) = h(r, c);
    std::ofstream(tempPath(name), std::ios::binary) << g.text();
    return tempPath(name);
}

#endif

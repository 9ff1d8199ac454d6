// Grid files written by a test. Each is named after the process, so that
// test programs running side by side (also those of other build trees) do
// not read each other's half-written files, and removed when it ends.
#ifndef OROLITH_TESTS_RENDER_GRID_FILES_H
#define OROLITH_TESTS_RENDER_GRID_FILES_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

inline std::string tempPath(const std::string& name)
{
    static struct Files {
        std::vector<std::string> paths;
        ~Files()
        {
            for (const std::string& p : paths)
                std::remove(p.c_str());
        }
    } files;
    files.paths.push_back(::testing::TempDir() + "orolith_" + std::to_string(getpid()) + "_" + name);
    return files.paths.back();
}

// Heights h(row, col), the lower-left corner at 1000, 2000.
inline std::string writeGrid(const std::string& name, int rows, int cols, float cellsize,
                             const std::function<float(int, int)>& h)
{
    std::string path = tempPath(name);
    std::ofstream out(path);
    out << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 1000\nyllcorner 2000\ncellsize " << cellsize
        << "\n";
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            out << h(r, c) << (c + 1 < cols ? " " : "\n");
    return path;
}

#endif

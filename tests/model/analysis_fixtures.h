// Shared set-up for the analysis tests: tiny grid files written to a
// temporary folder and loaded the way the viewer loads them, with the
// model's console captured so that each test can read what was printed.
#ifndef OROLITH_TESTS_MODEL_ANALYSIS_FIXTURES_H
#define OROLITH_TESTS_MODEL_ANALYSIS_FIXTURES_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/mountain.h"

// A grid given row by row (row 0 first), as the file lists it.
struct Grid {
    int rows;
    int cols;
    std::vector<float> h; // row-major
    float cellsize = 10.0f;
    std::string nodataLine; // e.g. "NODATA_value -9999"

    float at(int r, int c) const { return h[static_cast<std::size_t>(r) * cols + c]; }
    float& at(int r, int c) { return h[static_cast<std::size_t>(r) * cols + c]; }
};

inline Grid filled(int rows, int cols, float value, float cellsize = 10.0f)
{
    return Grid{rows, cols, std::vector<float>(static_cast<std::size_t>(rows) * cols, value), cellsize, ""};
}

// Irregular but repeatable heights (a small linear congruential sequence),
// with fractional parts so that the order of float sums matters.
inline Grid bumpy(int rows, int cols, unsigned seed = 7u, float base = 100.0f, float spread = 100.0f)
{
    Grid g = filled(rows, cols, 0.0f);
    unsigned s = seed;
    for (float& v : g.h) {
        s = s * 1103515245u + 12345u;
        v = base + spread * static_cast<float>((s >> 8) % 100000u) / 99700.0f;
    }
    return g;
}

class AnalysisTest : public ::testing::Test {
protected:
    std::ostringstream log;
    std::vector<std::string> written;

    void SetUp() override
    {
        setConsole(log);
        curveUnits = 1.0f;
        diffUnits = 1.0f;
    }

    void TearDown() override
    {
        setConsole(std::cout);
        curveUnits = 1.0f;
        diffUnits = 1.0f;
        for (const std::string& path : written)
            std::remove(path.c_str());
    }

    // Writes the grid as a grid file with a name unique to this test and
    // process; returns its path.
    std::string write(const Grid& g)
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string path = ::testing::TempDir() + "orolith_" + info->test_suite_name() + "_" + info->name() +
                           "_" + std::to_string(::getpid()) + "_" + std::to_string(written.size()) + ".grd";
        std::ofstream out(path);
        out << "ncols " << g.cols << "\nnrows " << g.rows << "\nxllcorner 1000\nyllcorner 2000\ncellsize "
            << g.cellsize << "\n";
        if (!g.nodataLine.empty())
            out << g.nodataLine << "\n";
        char buffer[32];
        for (int r = 0; r < g.rows; ++r) {
            for (int c = 0; c < g.cols; ++c) {
                std::snprintf(buffer, sizeof buffer, "%.9g ", static_cast<double>(g.at(r, c)));
                out << buffer;
            }
            out << "\n";
        }
        written.push_back(path);
        return path;
    }

    // The viewer's preparation before every load.
    static void prepareLoad()
    {
        allocated = false;
        rd.setContourInt(0);
        mt.resetCounts();
        mt.reset();
    }

    // Opens a DEM alone; returns the size-match flag.
    bool loadDem(const Grid& dem, int vertExag = 1)
    {
        std::string path = write(dem);
        prepareLoad();
        bool ok = false;
        start(path, vertExag, "", DEM, ok, 1);
        return ok;
    }

    // Opens a DEM with a comparison grid; returns the size-match flag.
    bool loadPair(const Grid& dem, const Grid& ref, int kind = DEM, int vertExag = 1)
    {
        std::string demPath = write(dem);
        std::string refPath = write(ref);
        prepareLoad();
        bool ok = false;
        start(demPath, vertExag, refPath, kind, ok, 2);
        return ok;
    }

    // Number of times a line was printed on the model's console.
    int printed(const std::string& line) const
    {
        std::istringstream in(log.str());
        std::string l;
        int n = 0;
        while (std::getline(in, l))
            n += l == line;
        return n;
    }

    static int cells() { return (mt.getRows() - 1) * (mt.getCols() - 1); }

    // Triangle index of the first triangle of cell (r, c).
    static int tri(int r, int c) { return 2 * (r * (mt.getCols() - 1) + c); }
};

#endif

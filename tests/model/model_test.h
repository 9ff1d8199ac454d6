// The fixture of the model tests: the model's console captured, grids
// loaded into mt and rd the way the viewer loads them, or read into fresh
// objects.
#ifndef OROLITH_TESTS_MODEL_MODEL_TEST_H
#define OROLITH_TESTS_MODEL_MODEL_TEST_H

#include <gtest/gtest.h>

#include <iostream>
#include <memory>
#include <optional>
#include <sstream>

#include "model/loading.h"
#include "model/mountain.h"
#include "tests/model/grid_files.h"

// Reads a grid into a fresh object: index 1 reads a DEM, 2 comparison data
// (contour interval 0, as before every comparison load).
inline std::unique_ptr<mountain> readGrid(const std::string& path, int index = 1)
{
    std::unique_ptr<mountain> m = index == 1 ? std::make_unique<mountain>() : std::make_unique<rawdata>();
    const std::string names[2] = {path, path};
    m->readgridfile(names, index);
    return m;
}

inline std::vector<float> heights(const mountain& m)
{
    std::vector<float> out;
    for (int r = 0; r < m.getRows(); ++r)
        for (int c = 0; c < m.getCols(); ++c)
            out.push_back(m.getElev(r, c));
    return out;
}

struct Extremes {
    float max, min;
    int count;
};
inline Extremes curveInfo() { Extremes e; mt.getCurveInfo(e.max, e.min, e.count); return e; }
inline Extremes diffInfo() { Extremes e; mt.getDiffInfo(e.max, e.min, e.count); return e; }

class ModelTest : public ::testing::Test {
protected:
    std::ostringstream log;
    ScratchDir dir;

    void SetUp() override { setConsole(log); curveUnits = diffUnits = 1.0f; }
    void TearDown() override { setConsole(std::cout); curveUnits = diffUnits = 1.0f; }

    std::string write(const Grid& g) { return dir.write("grid" + std::to_string(files_++) + ".grd", g.text()); }

    // Loads a DEM, with a comparison grid when one is given, through the
    // load pipeline as the viewer does; returns whether the sizes match.
    bool load(const Grid& dem, const std::optional<Grid>& ref = std::nullopt)
    {
        std::string demPath = write(dem), refPath = ref ? write(*ref) : "";
        bool ok = false;
        start(demPath, 1, refPath, DEM, ok, ref ? 2 : 1);
        return ok;
    }

    // Number of times a line was printed on the model's console.
    int printed(const std::string& line) const
    {
        std::istringstream in(log.str());
        int n = 0;
        for (std::string l; std::getline(in, l);)
            n += l == line;
        return n;
    }

    static int cells() { return (mt.getRows() - 1) * (mt.getCols() - 1); }
    // Triangle `second` (0 or 1) of cell (r, c).
    static mountain::triangleinfo tri(int r, int c, int second = 0)
    {
        return mt.triangle(2 * (r * (mt.getCols() - 1) + c) + second);
    }

private:
    int files_ = 0;
};

#endif

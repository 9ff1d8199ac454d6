// The fixture of the model tests: grids written to files and loaded into a
// data set of the test's own the way the viewer loads them, with the
// model's progress lines and notices kept for the test to read.
#ifndef OROLITH_TESTS_MODEL_MODEL_TEST_H
#define OROLITH_TESTS_MODEL_MODEL_TEST_H

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "model/colors.h"
#include "model/dataset.h"
#include "model/load.h"
#include "model/messages.h"
#include "tests/model/grid_files.h"

using namespace orolith::model;

// What the model said, in order.
class CapturedMessages : public Messages {
public:
    std::vector<std::string> lines, notices;

    void line(const std::string& text) override { lines.push_back(text); }
    void notice(const std::string& text) override { notices.push_back(text); }
    void clear() { lines.clear(), notices.clear(); }
    // Number of times a progress line was said.
    int printed(const std::string& text) const
    {
        return static_cast<int>(std::count(lines.begin(), lines.end(), text));
    }
    // The progress lines, each ended by a newline, as a console shows them.
    std::string text() const
    {
        std::string out;
        for (const std::string& l : lines)
            out += l + "\n";
        return out;
    }
};

// A grid read whole, or the test fails.
inline GridData readData(const std::string& path, GridRole role, const GridIo& io = {})
{
    GridData d;
    ModelError err;
    EXPECT_TRUE(readGridData(path, role, d, err, io, 1)) << err.text();
    return d;
}

class ModelTest : public ::testing::Test {
protected:
    CapturedMessages log;
    ScratchDir dir;
    GridIo io; // text grids only
    // The data set in use, as the viewer holds it: a load replaces it only
    // when the load succeeds.
    DataSet data;
    LoadStatus status; // of the last load

    std::string write(const Grid& g) { return dir.write("grid" + std::to_string(files_++) + ".grd", g.text()); }

    // Loads a DEM, with a comparison grid (a DEM by default) when one is
    // given, as the viewer does, classified in `units`; returns whether it
    // loaded.
    bool load(const Grid& dem, const std::optional<Grid>& ref = std::nullopt, const ClassUnits& units = {},
              ComparisonKind kind = ComparisonKind::dem)
    {
        LoadRequest request;
        request.demPath = write(dem);
        request.comparisonPath = ref ? write(*ref) : std::string();
        request.units = units;
        request.options.kind = kind;
        return swapIn(loadDataSet(request, io, log));
    }

    // The result of a load made in use when it succeeded.
    bool swapIn(Loaded loaded)
    {
        status = loaded.status;
        if (!status.ok())
            return false;
        data = std::move(loaded.dataSet);
        return true;
    }

    int cells() const { return (data.rows() - 1) * (data.cols() - 1); }
    std::size_t cell(int r, int c) const { return static_cast<std::size_t>(r) * (data.cols() - 1) + c; }
    // Triangle `second` (0 or 1) of cell (r, c).
    Triangle tri(int r, int c, int second = 0) const
    {
        return meshTriangle(data.mesh(), data.demView(), data.spacing(), 2 * static_cast<int>(cell(r, c)) + second);
    }
    // The class colours of cell (r, c).
    int curveColor(int r, int c) const { return data.curveColorOfCell(cell(r, c)); }
    int diffColor(int r, int c) const { return data.diffColorOfCell(cell(r, c)); }
    int curveDiffColor(int r, int c) const { return data.curveDiffColorOfCell(cell(r, c)); }

private:
    int files_ = 0;
};

// The first n class counts: 4 for curvature, 5 for the differences.
inline std::vector<int> countsOf(const CellClasses& k, int n)
{
    return std::vector<int>(k.counts.begin(), k.counts.begin() + n);
}

#endif

// Shared set-up for the grid-reader tests: the fixture grids of tests/data,
// a scratch folder for grids written on the fly, and a model loaded the
// way the load pipeline loads it (a fresh object, console captured).
#ifndef OROLITH_TESTS_MODEL_READER_FIXTURES_H
#define OROLITH_TESTS_MODEL_READER_FIXTURES_H

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/errors.h"
#include "model/mountain.h"

namespace reader_test {

inline std::string fixture(const std::string& name)
{
    return std::string(OROLITH_TESTDATA_DIR) + "/" + name;
}

// A path or token quoted for a death-test regular expression.
inline std::string literal(const std::string& text)
{
    std::string out;
    for (char ch : text) {
        if (std::string(".[]()*+?{}|^$\\").find(ch) != std::string::npos)
            out += '\\';
        out += ch;
    }
    return out;
}

// A folder of its own under the system's temporary folder, removed again.
class ScratchDir {
public:
    ScratchDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "orolith-reader-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            dir_ = pattern;
    }
    ~ScratchDir()
    {
        std::error_code ignored;
        if (!dir_.empty())
            std::filesystem::remove_all(dir_, ignored);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return dir_; }
    std::string write(const std::string& name, const std::string& contents) const
    {
        std::string file = dir_ + "/" + name;
        std::ofstream(file, std::ios::binary) << contents;
        return file;
    }

private:
    std::string dir_;
};

// Grid files are read into fresh model objects, as the load pipeline does
// with mt and rd, with the model console captured and restored afterwards.
class ReaderTest : public ::testing::Test {
protected:
    std::ostringstream log;

    void SetUp() override
    {
        savedConsole_ = &console();
        savedSparseData_ = sparseData;
        setConsole(log);
    }
    void TearDown() override
    {
        setConsole(*savedConsole_);
        sparseData = savedSparseData_;
    }

    static std::unique_ptr<mountain> readDem(const std::string& path)
    {
        auto model = std::make_unique<mountain>();
        const std::string names[1] = {path};
        model->readgridfile(names, 1);
        return model;
    }
    // Comparison data as the viewer loads it: the contour interval is set
    // to 0 before every comparison load.
    static std::unique_ptr<rawdata> readComparison(const std::string& path)
    {
        auto model = std::make_unique<rawdata>();
        model->setContourInt(0);
        const std::string names[2] = {std::string(), path};
        model->readgridfile(names, 2);
        return model;
    }
    static std::vector<float> heights(const mountain& m)
    {
        std::vector<float> out;
        for (int r = 0; r < m.getRows(); ++r)
            for (int c = 0; c < m.getCols(); ++c)
                out.push_back(m.getElev(r, c));
        return out;
    }

private:
    std::ostream* savedConsole_ = nullptr;
    bool savedSparseData_ = false;
};

// Statements for death tests: the model's messages go to standard error
// there so that the expected text can be matched.
inline void loadDemReportingOnStderr(const std::string& path)
{
    setConsole(std::cerr);
    mountain m;
    const std::string names[1] = {path};
    m.readgridfile(names, 1);
}
inline void loadComparisonReportingOnStderr(const std::string& path)
{
    setConsole(std::cerr);
    rawdata r;
    const std::string names[2] = {std::string(), path};
    r.readgridfile(names, 2);
}

// Loads a DEM and exits 0 when its heights are the expected ones, 3 when
// not: run inside EXPECT_EXIT so that a reader that wrongly ends the
// program fails one check instead of the whole test run.
inline void loadDemAndExitZeroIfHeightsAre(const std::string& path, const std::vector<float>& expected)
{
    setConsole(std::cerr);
    mountain m;
    const std::string names[1] = {path};
    m.readgridfile(names, 1);
    std::vector<float> got;
    for (int r = 0; r < m.getRows(); ++r)
        for (int c = 0; c < m.getCols(); ++c)
            got.push_back(m.getElev(r, c));
    if (got != expected) {
        std::cerr << "heights read:";
        for (float v : got)
            std::cerr << ' ' << v;
        std::cerr << std::endl;
        std::exit(3);
    }
    std::exit(0);
}

} // namespace reader_test

#define EXPECT_DEM_LOADS_WITH_HEIGHTS(path, ...)                                                         \
    EXPECT_EXIT(::reader_test::loadDemAndExitZeroIfHeightsAre((path), std::vector<float>__VA_ARGS__), \
                ::testing::ExitedWithCode(0), "")

#endif

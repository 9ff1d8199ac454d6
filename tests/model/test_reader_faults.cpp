// Bad grid files are refused with an error naming the file and the first
// cell or header value at fault, never with a crash or an abort, and leave
// the data set in use alone; files at paths of any length load.
#include <sys/stat.h>
#include <unistd.h>

#include <regex>

#include "tests/model/model_test.h"

using namespace orolith::model;

namespace {
using ::testing::ExitedWithCode;
using ReaderFaultTest = ModelTest;
using ReaderDeathTest = ModelTest;

// Whether reading `path` as a DEM (`dem`) or as comparison data fails with
// an error whose text matches `pattern`.
::testing::AssertionResult refusedSaying(const std::string& path, bool dem, const std::string& pattern)
{
    GridData d;
    ModelError err;
    if (readGridData(path, dem ? GridRole::dem : GridRole::comparison, d, err, GridIo{}, 1))
        return ::testing::AssertionFailure() << "read without an error";
    if (!std::regex_search(err.text(), std::regex(pattern)))
        return ::testing::AssertionFailure() << "the error says \"" << err.text() << "\", not /" << pattern << "/";
    return ::testing::AssertionSuccess();
}

TEST_F(ReaderFaultTest, BadFilesAreRefusedSayingWhatIsWrong)
{
    const std::string rest = "xllcorner 0\nyllcorner 0\ncellsize 1\n";
    struct {
        std::string text;
        bool namesFile;
        const char* message;
    } cases[] = {
        {"", false, "'ncols' not found in input file"},
        {"NCOLS 3\nnrows 2\n" + rest + "1 2 3\n4 5 6\n", false, "'ncols' not found in input file"},
        {"nrows 2\nncols 3\n" + rest + "1 2 3\n4 5 6\n", false, "'ncols' not found in input file"},
        {"ncols 2\n" + rest + "1 2\n", false, "'nrows' not found in input file"},
        {"ncols 3\nnrows 2\nxllcenter 0\nyllcenter 0\ncellsize 1\n1 2 3\n4 5 6\n", false, "Some kinda error!"},
        {"ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize ten\n1 2 3\n4 5 6\n", true, "cellsize.*\"ten\""},
        {"ncols three\nnrows 1\n" + rest + "1 2 3\n", true, "'ncols'.*\"three\""},
        {"ncols 1\nnrows 1\n" + rest + "NODATA_value none\n1\n", true, "NODATA_value.*\"none\""},
        {"ncols 0\nnrows 2\n" + rest + "1 2 3\n", true, "'ncols' must be a positive whole number"},
        {"ncols 3\nnrows -2\n" + rest + "1 2 3\n", true, "'nrows' must be a positive whole number"},
        {"ncols 2000000000\nnrows 2000000000\n" + rest + "1 2 3\n", true, "too large"},
        {"ncols 40000\nnrows 40000\n" + rest + "1 2 3\n", true, "too large"}, // above INT_MAX / 2 cells
        // Too short for its size: known before gigabytes are allocated.
        {"ncols 30000\nnrows 30000\n" + rest + "1 2 3\n4 5 6\n", true, "ends before .*row 0, column 6"},
        {"ncols 2\nnrows 2\n" + rest, true, "ends before .*row 0, column 0"},
        {"ncols 4\nnrows 3\n" + rest + "10 11 12 13\n14 15 16\n", true, "ends before .*row 1, column 3"},
        // Long enough in bytes, yet one height short.
        {"ncols 4\nnrows 3\n" + rest + "1000.25 1100.25 1200.25 1300.25\n1400.25 1500.25 1600.25\n", true,
         "ends before .*row 1, column 3"},
        {"ncols 3\nnrows 2\n" + rest + "12 13 14\n15 abc 17\n", true, "row 1, column 1 is not a number: \"abc\""},
        {"ncols 2\nnrows 1\n" + rest + "5 12x\n", true, "row 0, column 1 is not a number: \"12x\""},
        {"ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 0\n1 2 3\n4 5 6\n", false,
         "Some kinda error!\nfile \"[^\"]*\": 'cellsize' must be above 0, not \"0\""},
        {"ncols 3\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize -30\n1 2 3\n4 5 6\n", false, "Some kinda error!\n.*-30"},
        {std::string("II*\0\x08\0\0\0binary", 14), true, "not an ESRI ASCII grid.*built without GDAL"},
    };
    ASSERT_TRUE(load(filled(2, 2, 7.0f)));
    int n = 0;
    for (const auto& k : cases) {
        std::string path = dir.write("bad" + std::to_string(n++) + ".grd", k.text);
        std::string want = "^" + (k.namesFile ? "file \"" + path + "\": .*" : std::string()) + k.message;
        for (bool dem : {true, false}) {
            SCOPED_TRACE(k.text.substr(0, 30) + (dem ? " (DEM)" : " (comparison)"));
            EXPECT_TRUE(refusedSaying(path, dem, want));
        }
        LoadRequest request;
        request.demPath = path;
        EXPECT_FALSE(swapIn(loadDataSet(request, io, log)));
        EXPECT_EQ(status.result, LoadResult::failed);
        EXPECT_TRUE(std::regex_search(status.error.text(), std::regex(want))) << status.error.text();
        EXPECT_EQ(data.demView().at(1, 1), 7.0f) << "the data set in use stays";
    }
}

TEST_F(ReaderFaultTest, MissingFileIsNamedInFullHoweverLongItsPath)
{
    std::string deep = "/nonexistent-orolith-folder";
    while (deep.size() < 5000)
        deep += "/" + std::string(120, 'p');
    for (const std::string& path : {dir.path + "/no such file.grd", deep + "/missing.grd"})
        for (bool dem : {true, false}) {
            GridData d;
            ModelError err;
            EXPECT_FALSE(readGridData(path, dem ? GridRole::dem : GridRole::comparison, d, err, GridIo{}, 1));
            EXPECT_EQ(err.text(), "file \"" + path + "\" not found");
        }
}

// Loads a DEM in a child process that exits 0 when its heights are the
// expected ones: a reader that crashes fails one check, not the whole run.
void expectLoads(const std::string& path, const std::vector<float>& want)
{
    EXPECT_EXIT(
        {
            GridData d;
            ModelError err;
            std::exit(readGridData(path, GridRole::dem, d, err, GridIo{}, 1) && d.heights == want ? 0 : 3);
        },
        ExitedWithCode(0), "")
        << path.size();
}

// Writes a grid in folders nested to a path of about `length` characters,
// more than one system call may take, made one at a time from inside.
std::string writeNested(const std::string& base, std::size_t length, const std::string& text)
{
    const std::string name(180, 'd'), home = std::filesystem::current_path();
    std::string path = base;
    EXPECT_EQ(chdir(base.c_str()), 0);
    while (path.size() + 2 * name.size() < length && mkdir(name.c_str(), 0700) == 0 && chdir(name.c_str()) == 0)
        path += "/" + name;
    std::ofstream("deep.grd") << text;
    EXPECT_EQ(chdir(home.c_str()), 0);
    return path + "/deep.grd";
}

TEST_F(ReaderDeathTest, FilesAtPathsLongerThanTheSystemLimitLoad)
{
    for (std::size_t length : {4000u, 5000u}) {
        ScratchDir base;
        std::string path =
            writeNested(base.path, length, "ncols 2 nrows 1 xllcorner 0 yllcorner 0 cellsize 1 17.5 18.5");
        ASSERT_GT(path.size(), length - 400);
        expectLoads(path, {17.5f, 18.5f});
    }
}

TEST_F(ReaderDeathTest, HeightTooSmallForAFloatReadsAsZero)
{
    std::string path = dir.write("tiny.grd", "ncols 3\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n12.5 1e-50 +7\n");
    expectLoads(path, {12.5f, 0.0f, 7.0f});
}

} // namespace

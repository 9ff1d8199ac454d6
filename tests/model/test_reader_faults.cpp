// Bad grid files end the program with status 255 and a message that names
// the file and the first cell or header value at fault, never with a crash
// or an abort; and paths of any length are accepted.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tests/model/reader_fixtures.h"

namespace {
using namespace reader_test;
using ::testing::ExitedWithCode;

std::string inFile(const std::string& path) { return "ERROR: file \"" + literal(path) + "\""; }

TEST(ReaderFaultDeathTest, FileEndingEarlyNamesTheFirstMissingCell)
{
    // ends_early.grd is too short for its header; the wide-values file is
    // long enough in bytes yet still one height short.
    for (const char* name : {"ends_early.grd", "ends_early_wide_values.grd"}) {
        SCOPED_TRACE(name);
        std::string path = fixture(name);
        EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255),
                    inFile(path) + ".*end.*row 1, column 3");
        EXPECT_EXIT(loadComparisonReportingOnStderr(path), ExitedWithCode(255),
                    inFile(path) + ".*end.*row 1, column 3");
    }
}

TEST(ReaderFaultDeathTest, HeaderWithoutHeightsNamesCellZeroZero)
{
    ScratchDir dir;
    std::string path = dir.write("header_only.grd", "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 1\n");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), inFile(path) + ".*row 0, column 0");
}

TEST(ReaderFaultDeathTest, EmptyFileIsReportedAsMissingNcols)
{
    ScratchDir dir;
    std::string path = dir.write("empty.grd", "");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), "ERROR: 'ncols' not found in input file");
}

TEST(ReaderFaultDeathTest, HeightThatIsNotANumberNamesCellAndToken)
{
    std::string path = fixture("height_not_a_number.grd");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255),
                inFile(path) + ".*row 1, column 1.*\"abc\"");
    EXPECT_EXIT(loadComparisonReportingOnStderr(path), ExitedWithCode(255),
                inFile(path) + ".*row 1, column 1.*\"abc\"");
}

TEST(ReaderFaultDeathTest, NumberWithTrailingJunkIsNotAHeight)
{
    ScratchDir dir;
    std::string path = dir.write("junk.grd", "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n5 12x\n");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), inFile(path) + ".*row 0, column 1.*\"12x\"");
}

TEST(ReaderFaultDeathTest, HeaderValueThatIsNotANumberNamesKeywordAndToken)
{
    std::string path = fixture("header_cellsize_not_a_number.grd");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), inFile(path) + ".*cellsize.*\"ten\"");

    ScratchDir dir;
    std::string ncols = dir.write("ncols_word.grd", "ncols three\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n1 2 3\n");
    EXPECT_EXIT(loadDemReportingOnStderr(ncols), ExitedWithCode(255), inFile(ncols) + ".*ncols.*\"three\"");
    std::string nodata = dir.write("nodata_word.grd",
                                   "ncols 1\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\nNODATA_value none\n1\n");
    EXPECT_EXIT(loadDemReportingOnStderr(nodata), ExitedWithCode(255), inFile(nodata) + ".*\"none\"");
}

TEST(ReaderFaultDeathTest, ZeroOrNegativeGridSizeIsRejected)
{
    std::string zero = fixture("header_ncols_zero.grd");
    EXPECT_EXIT(loadDemReportingOnStderr(zero), ExitedWithCode(255), inFile(zero) + ".*ncols");
    std::string negative = fixture("header_nrows_negative.grd");
    EXPECT_EXIT(loadDemReportingOnStderr(negative), ExitedWithCode(255), inFile(negative) + ".*nrows");
    EXPECT_EXIT(loadComparisonReportingOnStderr(negative), ExitedWithCode(255), inFile(negative) + ".*nrows");
}

TEST(ReaderFaultDeathTest, AbsurdGridSizeGivesAMessageNotAnAllocationAbort)
{
    // ExitedWithCode(255) also rules out an abort from std::bad_alloc or a
    // crash, which end the child with a signal instead.
    for (const char* name : {"header_size_2000000000_squared.grd", "header_size_100000_squared_tiny_file.grd"}) {
        SCOPED_TRACE(name);
        std::string path = fixture(name);
        EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), inFile(path));
        EXPECT_EXIT(loadComparisonReportingOnStderr(path), ExitedWithCode(255), inFile(path));
    }
}

TEST(ReaderFaultDeathTest, LargeHeaderSizeInTinyFileIsReportedAsEndingEarly)
{
    // 30000 x 30000 heights would need gigabytes; the six heights present
    // show at once where the file runs out.
    std::string path = fixture("header_size_30000_squared_tiny_file.grd");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), inFile(path) + ".*end.*row 0, column 6");
}

// A path built from nested folders whose total length exceeds what one
// system call accepts; built and removed through folder handles.
class NestedPath {
public:
    NestedPath(const std::string& base, std::size_t wantedLength, const std::string& fileName)
    {
        path_ = base;
        int fd = open(base.c_str(), O_RDONLY | O_DIRECTORY);
        for (int i = 0; fd >= 0; ++i) {
            std::string name = "level" + std::to_string(i) + "_" + std::string(180, 'd');
            if (path_.size() + 1 + name.size() + 1 + fileName.size() > wantedLength)
                break;
            if (mkdirat(fd, name.c_str(), 0700) != 0)
                break;
            fds_.push_back(fd);
            names_.push_back(name);
            fd = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
            path_ += "/" + name;
        }
        leaf_ = fd;
        file_ = fileName;
        path_ += "/" + fileName;
    }
    ~NestedPath()
    {
        if (leaf_ >= 0) {
            unlinkat(leaf_, file_.c_str(), 0);
            close(leaf_);
        }
        for (std::size_t i = names_.size(); i-- > 0;) {
            unlinkat(fds_[i], names_[i].c_str(), AT_REMOVEDIR);
            close(fds_[i]);
        }
    }
    bool write(const std::string& contents) const
    {
        if (leaf_ < 0)
            return false;
        int fd = openat(leaf_, file_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd < 0)
            return false;
        bool ok = ::write(fd, contents.data(), contents.size()) == static_cast<ssize_t>(contents.size());
        close(fd);
        return ok;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_, file_;
    std::vector<int> fds_;
    std::vector<std::string> names_;
    int leaf_ = -1;
};

const char* const kSmallGrid = "ncols 2\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 1\n17.5 18.5\n";

using ReaderPathTest = ReaderTest;

TEST_F(ReaderPathTest, LongFileNameLoads)
{
    ScratchDir dir;
    std::string path = dir.write(std::string(250, 'n') + ".grd", kSmallGrid);
    auto m = readDem(path);
    EXPECT_EQ(heights(*m), (std::vector<float>{17.5f, 18.5f}));
}

TEST(ReaderPathDeathTest, PathOfFourThousandCharactersLoads)
{
    ScratchDir dir;
    NestedPath nested(dir.path(), 4000, "deep.grd");
    ASSERT_TRUE(nested.write(kSmallGrid));
    ASSERT_GE(nested.path().size(), 3800u);
    ASSERT_LE(nested.path().size(), 4000u);
    EXPECT_DEM_LOADS_WITH_HEIGHTS(nested.path(), {17.5f, 18.5f});
}

TEST(ReaderPathDeathTest, PathOfFiveThousandCharactersLoads)
{
    ScratchDir dir;
    NestedPath nested(dir.path(), 5000, "deeper.grd");
    ASSERT_TRUE(nested.write(kSmallGrid));
    ASSERT_GE(nested.path().size(), 4900u);
    // A file the user named and that exists must load, however long its path.
    EXPECT_DEM_LOADS_WITH_HEIGHTS(nested.path(), {17.5f, 18.5f});
}

TEST(ReaderPathDeathTest, MissingFileWithVeryLongPathIsNamedInFull)
{
    std::string path = "/nonexistent-orolith-folder";
    while (path.size() < 5000)
        path += "/" + std::string(120, 'p');
    path += "/missing.grd";
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255),
                "ERROR: file \"" + literal(path) + "\" not found");
}

} // namespace

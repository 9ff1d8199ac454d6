// Grid-file header: keyword order and spelling, the optional no-data line,
// and what the header values become in the model.
#include "tests/model/reader_fixtures.h"

namespace {
using namespace reader_test;
using ::testing::ExitedWithCode;

using ReaderHeaderTest = ReaderTest;

TEST_F(ReaderHeaderTest, WellFormedHeaderValuesReachTheModel)
{
    auto m = readDem(fixture("layout_lf.grd"));
    EXPECT_EQ(m->getRows(), 2) << "nrows from the header";
    EXPECT_EQ(m->getCols(), 3) << "ncols from the header";
    EXPECT_EQ(m->gridsize(), 6);
    float x = 0, y = 0, cs = 0;
    m->getCoord(x, y, cs);
    EXPECT_FLOAT_EQ(x, 1000.0f) << "xllcorner shown in the status row";
    EXPECT_FLOAT_EQ(y, 2000.0f) << "yllcorner shown in the status row";
    EXPECT_FLOAT_EQ(cs, 30.0f) << "cellsize used by the mesh";
    EXPECT_EQ(m->getNodata(), 0.0f) << "no no-data line means a no-data value of 0";
    EXPECT_NE(log.str().find("Reading DEM data, 2 rows and 3 columns...\n"), std::string::npos)
        << "progress line of a DEM load; console was:\n" << log.str();
}

TEST_F(ReaderHeaderTest, ComparisonLoadAnnouncesItselfAndMarksComparisonDataRead)
{
    sparseData = false;
    auto r = readComparison(fixture("layout_lf.grd"));
    EXPECT_NE(log.str().find("Reading comparison data, 2 rows and 3 columns...\n"), std::string::npos)
        << "progress line of a comparison load; console was:\n" << log.str();
    EXPECT_TRUE(sparseData) << "a comparison load sets the flag the viewer reads";
}

TEST(ReaderHeaderDeathTest, UpperCaseFirstKeywordIsRejectedAsMissingNcols)
{
    EXPECT_EXIT(loadDemReportingOnStderr(fixture("header_upper_case_ncols.grd")), ExitedWithCode(255),
                "ERROR: 'ncols' not found in input file");
}

TEST(ReaderHeaderDeathTest, NrowsBeforeNcolsIsRejectedAsMissingNcols)
{
    EXPECT_EXIT(loadDemReportingOnStderr(fixture("header_nrows_before_ncols.grd")), ExitedWithCode(255),
                "ERROR: 'ncols' not found in input file");
}

TEST(ReaderHeaderDeathTest, CentreReferencedCornerKeywordGetsTheDefaultMessage)
{
    EXPECT_EXIT(loadDemReportingOnStderr(fixture("header_xllcenter.grd")), ExitedWithCode(255),
                "ERROR: Some kinda error!");
}

TEST(ReaderHeaderDeathTest, MissingSecondKeywordIsReportedAsMissingNrows)
{
    ScratchDir dir;
    std::string path = dir.write("no_nrows.grd", "ncols 2\nxllcorner 1\nyllcorner 2\ncellsize 3\n1 2\n");
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255), "ERROR: 'nrows' not found in input file");
}

TEST(ReaderHeaderDeathTest, MissingFileNamesThePathInQuotes)
{
    ScratchDir dir;
    std::string path = dir.path() + "/no such file.grd";
    EXPECT_EXIT(loadDemReportingOnStderr(path), ExitedWithCode(255),
                "ERROR: file \"" + literal(path) + "\" not found");
    EXPECT_EXIT(loadComparisonReportingOnStderr(path), ExitedWithCode(255),
                "ERROR: file \"" + literal(path) + "\" not found");
}

TEST_F(ReaderHeaderTest, NoDataLineInDemStoresNoDataCellsAsZero)
{
    auto m = readDem(fixture("nodata_line.grd"));
    EXPECT_EQ(m->getNodata(), -9999.0f) << "NODATA_value from the header";
    EXPECT_EQ(m->getElev(0, 1), 0.0f) << "DEM no-data cell (0,1) must be stored as 0";
    EXPECT_EQ(m->getElev(2, 0), 0.0f) << "DEM no-data cell (2,0) must be stored as 0";
    EXPECT_EQ(m->getElev(0, 0), 50.0f);
    EXPECT_EQ(m->getElev(2, 2), 58.0f);
    EXPECT_LE(m->getZmin(), 0.0f) << "no-data cells take part in the extremes with their stored 0";
    EXPECT_EQ(m->getZmin(), 0.0f);
    EXPECT_EQ(m->getZmax(), 58.0f);
}

TEST_F(ReaderHeaderTest, NoDataLineInComparisonDataKeepsTheNoDataValue)
{
    auto r = readComparison(fixture("nodata_line.grd"));
    EXPECT_EQ(r->getGrid(0, 1), -9999.0f) << "comparison cells are stored as read";
    EXPECT_EQ(r->getGrid(2, 0), -9999.0f);
    EXPECT_EQ(r->getZmin(), -9999.0f);
    EXPECT_EQ(r->getZmax(), 58.0f);
}

TEST_F(ReaderHeaderTest, NoDataWordIsRecognisedByItsFirstLetterOnly)
{
    auto lower = readDem(fixture("nodata_lower_case.grd"));
    EXPECT_EQ(lower->getNodata(), -1.0f) << "nodata_value in lower case";
    EXPECT_EQ(heights(*lower), (std::vector<float>{0, 12, 13, 14, 15, 0}));

    auto other = readDem(fixture("nodata_any_word_starting_n.grd"));
    EXPECT_EQ(other->getNodata(), 7.0f) << "any word starting with n is a no-data keyword";
    EXPECT_EQ(heights(*other), (std::vector<float>{0, 12, 13, 14, 0, 16}));
}

TEST_F(ReaderHeaderTest, WithoutNoDataLineTheFirstHeightIsReadWhole)
{
    auto negative = readDem(fixture("no_nodata_negative_first.grd"));
    EXPECT_EQ(negative->getNodata(), 0.0f);
    EXPECT_EQ(heights(*negative), (std::vector<float>{-12.5f, 12, 13, 14, 15, 16}))
        << "a first height starting with '-' belongs to the heights, not to a no-data line";
    EXPECT_EQ(negative->getZmin(), -12.5f);

    auto digit = readDem(fixture("no_nodata_digit_first.grd"));
    EXPECT_EQ(digit->getNodata(), 0.0f);
    EXPECT_EQ(heights(*digit), (std::vector<float>{7, 12, 13, 14, 15, 16}))
        << "a first height starting with a digit is read whole";
}

TEST_F(ReaderHeaderTest, HeaderTextIsKeptForWritingDerivedRasters)
{
    auto m = readDem(fixture("nodata_line.grd"));
    EXPECT_EQ(m->getHeaderText(),
              "ncols 3\nnrows 3\nxllcorner 1000.0\nyllcorner 2000.0\ncellsize 30.0\nNODATA_value -9999\n");
}

} // namespace

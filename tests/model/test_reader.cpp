// The grid reader: header, no-data line, layouts, extremes, the contour
// interval of comparison data, and number parsing: every well-formed token
// reads to the same float that formatted stream input reads from it.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

#include "model/gridfile.h"
#include "model/tokens.h"
#include "tests/model/model_test.h"

using namespace orolith::model;

namespace {

using ReaderTest = ModelTest;

std::string head(int rows, int cols)
{
    return "ncols " + std::to_string(cols) + "\nnrows " + std::to_string(rows) +
           "\nxllcorner 1000.0\nyllcorner 2000.0\ncellsize 30.0\n";
}

TEST_F(ReaderTest, LayoutsReadToTheSameHeaderAndHeights)
{
    const std::vector<float> want{1.5f, -2, 300, 4, 0, 6.25f};
    for (const char* name : {"layout_lf.grd", "layout_crlf.grd", "layout_one_value_per_line.grd",
                             "layout_all_values_on_one_line.grd", "layout_trailing_tokens.grd"}) {
        SCOPED_TRACE(name);
        const std::string path = std::string(OROLITH_TESTDATA_DIR) + "/" + name;
        const GridData m = readData(path, GridRole::dem);
        const GridHeader& h = m.header;
        // Rows, columns, corner, a cell size without the carriage return,
        // no-data value 0 for want of a line, extremes.
        EXPECT_EQ((std::vector<double>{double(h.rows), double(h.cols), h.xllcorner, h.yllcorner, h.cellsizeX,
                                       h.cellsizeY, h.nodata, m.zmin, m.zmax}),
                  (std::vector<double>{2, 3, 1000, 2000, 30, 30, 0, -2, 300}));
        EXPECT_FALSE(h.hasNodata) << "no no-data line, no no-data value";
        EXPECT_EQ(m.heights, want);
        EXPECT_EQ(readData(path, GridRole::comparison).heights, want);
        LoadRequest both;
        both.demPath = both.comparisonPath = path;
        log.clear();
        ASSERT_TRUE(swapIn(loadDataSet(both, io, log))) << status.error.text();
        EXPECT_EQ(log.printed("Reading DEM data, 2 rows and 3 columns..."), 1) << log.text();
        EXPECT_EQ(log.printed("Reading comparison data, 2 rows and 3 columns..."), 1) << log.text();
        EXPECT_EQ(data.dem().heights, want);
        EXPECT_EQ(data.comparison().grid.heights, want);
    }

    std::string tabs = dir.write("tabs.grd", "ncols\t2\tnrows\t2\txllcorner\t0\tyllcorner\t0\tcellsize\t1\t-1 +2\n3 4");
    EXPECT_EQ(readData(tabs, GridRole::dem).heights, (std::vector<float>{-1, 2, 3, 4}))
        << "tabs, no line end after the last";
}

// The reader streams a file through a buffer and splits a large one
// between two threads; neither may change a height or the first cell at
// fault. A buffer of a few bytes and a split at any size put both to work
// on small files, as do the inputs the fuzzer once found (fuzz/regressions).
TEST_F(ReaderTest, BufferRefillsAndTheTwoThreadSplitReadAsOnePass)
{
    std::vector<std::string> files;
    for (const char* name : {"layout_lf.grd", "layout_crlf.grd", "layout_trailing_tokens.grd"})
        files.push_back(std::string(OROLITH_TESTDATA_DIR) + "/" + name);
    Grid big = bumpy(37, 41, 9u, -50.0f, 3000.0f);
    files.push_back(write(big));
    std::string text = big.text();
    files.push_back(dir.write("bad_late.grd", text.substr(0, text.size() - 40) + " 12,5 1 2 3 4 5 6 7 8 9 10 11\n"));
    files.push_back(dir.write("short_late.grd", text.substr(0, text.size() - 30)));
    files.push_back(dir.write("extreme_extras.grd", text + " 99999 -99999\n")); // past the last cell: ignored
    for (const auto& entry : std::filesystem::directory_iterator(OROLITH_FUZZ_REGRESSIONS_DIR))
        files.push_back(entry.path().string());
    for (const std::string& path : files) {
        for (GridRole role : {GridRole::dem, GridRole::comparison}) {
            SCOPED_TRACE(path);
            GridData usual, tiny;
            ModelError usualErr, tinyErr;
            bool ok = readGridData(path, role, usual, usualErr, GridIo{}, 1);
            for (std::size_t buffer : {1u, 2u, 5u, 64u}) {
                GridIo small;
                small.tuning = ReadTuning{buffer, 1};
                EXPECT_EQ(readGridData(path, role, tiny, tinyErr, small, 2), ok) << "buffer " << buffer;
                EXPECT_EQ(tinyErr.text(), usualErr.text()) << "buffer " << buffer;
                EXPECT_EQ(tiny.heights, usual.heights) << "buffer " << buffer;
                EXPECT_TRUE(tiny.zmin == usual.zmin && tiny.zmax == usual.zmax && tiny.contourInt == usual.contourInt);
            }
        }
    }
}

TEST_F(ReaderTest, NoDataCellsOfADemAreAbsentStoredAsZeroAndOutOfTheExtremes)
{
    // The no-data line is known by its first letter alone; its cells are
    // absent: stored as 0, and no part of the extremes. Without the line
    // no value is no-data, 0 neither.
    struct {
        const char* lines;
        float nodata;
        std::vector<float> heights;
        std::vector<std::uint8_t> present; // empty: all
        float zmin, zmax;
    } cases[] = {
        {"NODATA_value -9999\n50 -9999 52\n53 54 -9999\n", -9999, {50, 0, 52, 53, 54, 0}, {1, 0, 1, 1, 1, 0}, 50, 54},
        {"nodata_value -1\n-1 12 13\n14 15 -1\n", -1, {0, 12, 13, 14, 15, 0}, {0, 1, 1, 1, 1, 0}, 12, 15},
        {"ndv 7\n7 12 13\n14 7 16\n", 7, {0, 12, 13, 14, 0, 16}, {0, 1, 1, 1, 0, 1}, 12, 16},
        {"NODATA_value 0\n0 12 13\n14 15 16\n", 0, {0, 12, 13, 14, 15, 16}, {0, 1, 1, 1, 1, 1}, 12, 16},
        {"-12.5 12 0\n14 15 16\n", 0, {-12.5f, 12, 0, 14, 15, 16}, {}, -12.5f, 16}, // a '-' starts a height
        // zmin starts at 35000 and zmax at -1000: only a height beyond moves them.
        {"40000 50000 36000 35000.5 40000 45000", 0, {40000, 50000, 36000, 35000.5f, 40000, 45000}, {}, 35000, 50000},
        {"-2000 -1500 -1000.5 -3000 -2000 -2000", 0, {-2000, -1500, -1000.5f, -3000, -2000, -2000}, {}, -3000, -1000},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.lines);
        const std::string path = dir.write("n.grd", head(2, 3) + k.lines);
        const GridData m = readData(path, GridRole::dem);
        EXPECT_EQ(m.header.nodata, k.nodata);
        EXPECT_EQ(m.heights, k.heights);
        EXPECT_EQ(m.present, k.present) << "absent cells of a DEM";
        EXPECT_EQ(m.zmin, k.zmin);
        EXPECT_EQ(m.zmax, k.zmax);
        EXPECT_EQ(readData(path, GridRole::comparison).present, k.present) << "absent cells of comparison data";
    }
    const std::string path = dir.write("nodata.grd", head(2, 3) + cases[0].lines);
    EXPECT_EQ(readData(path, GridRole::comparison).heights, (std::vector<float>{50, -9999, 52, 53, 54, -9999}))
        << "comparison data";
    EXPECT_EQ(readData(path, GridRole::dem).header.text, head(2, 3) + "NODATA_value -9999\n")
        << "kept for derived rasters";
}

TEST_F(ReaderTest, ContourIntervalIsTheFirstRiseInIntegerPartAboveTheFirstNonZeroHeight)
{
    struct {
        const char* heights;
        int interval;
    } cases[] = {
        {"0 120 0 120 140 0", 20},      // an equal height is no rise
        {"0 120 100 0 130 150", 10},    // a lower one is skipped: 130 - 120
        {"99.9 0 99.2 101.2 0 105", 2}, // integer parts: 101 - 99
        {"0 100 100.9 101 0 0", 1},     // the smallest rise
        {"-9999 0 0 0 0 0", 9999},      // a negative first height counts
        {"0 250.75 250.5 0 0 0", 250},  // no rise: the first height's integer part
        {"0 0 0 0 0.0 0", 0},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.heights);
        EXPECT_EQ(readData(dir.write("c.grd", head(2, 3) + k.heights), GridRole::comparison).contourInt, k.interval);
    }
}

::testing::AssertionResult readsAsStreamReads(const std::string& token)
{
    std::istringstream in(token);
    float want = 0, got = -12345.0f;
    in >> want;
    if (in.fail() || in.peek() != EOF)
        return ::testing::AssertionFailure() << "stream input does not read \"" << token << "\" whole";
    if (!parseFloat(token, got))
        return ::testing::AssertionFailure() << "height token \"" << token << "\" was rejected";
    if (std::memcmp(&got, &want, sizeof got) != 0)
        return ::testing::AssertionFailure() << "\"" << token << "\" read as " << got << ", not " << want;
    return ::testing::AssertionSuccess();
}

// A random well-formed token of up to 30 digits after the point, in
// fixed, exponent or shortest form, with or without a sign, within the
// range of normal floats.
std::string randomToken(std::mt19937& rng)
{
    const char* formats[] = {"%.*e", "%.*E", "%.*f", "%.*g", "%+.*e", "%+.*f"};
    double value = std::pow(10.0, std::uniform_real_distribution<double>(-30, 35)(rng)) * (rng() % 2 ? 1 : -1);
    char token[128];
    std::snprintf(token, sizeof token, formats[rng() % 6], static_cast<int>(rng() % 31), value);
    return token;
}

TEST(NumberTest, RandomTokensReadAsStreamInputReadsThem)
{
    std::mt19937 rng(20240611u);
    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(readsAsStreamReads(randomToken(rng)));
}

// Heights as DEMs write them, short decimals, take the reader's fast path;
// near the edges of that path (2^24, ten decimals) they must still read
// exactly as stream input reads them.
TEST(NumberTest, ShortDecimalsReadAsStreamInputReadsThem)
{
    std::mt19937 rng(7u);
    for (int i = 0; i < 20000; ++i) {
        const unsigned digits = i % 4 == 0 ? (1u << 24) - (rng() % 3) + 1 : rng() % (1u << 25);
        const int decimals = static_cast<int>(rng() % 12);
        std::string text = std::to_string(digits);
        if (decimals > 0) {
            text.insert(0, std::string(std::max(0, decimals + 1 - static_cast<int>(text.size())), '0'));
            text.insert(text.size() - static_cast<std::size_t>(decimals), ".");
        }
        if (rng() % 2)
            text.insert(0, "-");
        ASSERT_TRUE(readsAsStreamReads(text));
    }
}

// Tokens of a few characters, digits mixed with their neighbours in ASCII
// and the characters of other number forms: the fast path and from_chars
// accept the same ones and read them to the same float.
TEST(NumberTest, ShortTokensOfAnyCharactersReadAsFromCharsReadsThem)
{
    std::mt19937 rng(11u);
    const std::string alphabet = "0123456789012345678901234567890123456789....-+eE/:";
    for (int i = 0; i < 200000; ++i) {
        std::string token(1 + rng() % 10, ' ');
        for (char& ch : token)
            ch = alphabet[rng() % alphabet.size()];
        float fast = 42.0f, general = 42.0f;
        const bool a = parseFloat(token, fast), b = parseFloatGeneral(token, general);
        ASSERT_EQ(a, b) << "\"" << token << "\"";
        ASSERT_EQ(std::memcmp(&fast, &general, sizeof fast), 0) << "\"" << token << "\"";
    }
}

TEST(NumberTest, ChosenTokensReadAsStreamInputReadsThem)
{
    for (const char* token :
         {"0", "-0", "+0", "-0.0", "+5", "+.5", "-.5", "5.", "-0.", "007", "16777216", "16777217.0", "1677721.7",
          "0.0000000001", "0.00000000001", "9999999999.5", "1E5", "1e+5", "1e-5", "1e05", "-9999", "3.4028234e38",
          "-3.4028234e38", "1.17549435e-38", "0.30000000000000004", "123456789012345678901234567890",
          "1.00000005960464477539062500000000000001", "16777217", "-16777217",
          // Too small for a float: 0 or a subnormal, never "not a number".
          "1e-40", "1.4e-45", "-1e-42", "1e-46", "1e-50", "-2.5e-60",
          "0.0000000000000000000000000000000000000000000000000000001"})
        EXPECT_TRUE(readsAsStreamReads(token));
}

TEST(NumberTest, TokensStreamInputCannotReadWholeAreRejected)
{
    for (const char* token : {"", "-", "+", ".", "e5", "abc", "12x", "1e", "1e+", "--1", "+-1", "1.2.3", "inf", "nan",
                              "0x1p3", "1,5", "1e99", "-1e99"}) {
        float v = 42.0f;
        EXPECT_FALSE(parseFloat(token, v)) << "\"" << token << "\" must not be taken as a height";
        EXPECT_EQ(v, 42.0f) << "a rejected token leaves the value alone";
    }
}

} // namespace

// The dialogs' decisions: what an Open press earns before anything is
// loaded, what a failed load tells the user, where the choosers and the
// sparse sample go, the message window's size for its text, the sparse
// dialog's count and the status row's numbers and progress.
#include <gtest/gtest.h>

#include <cmath>

#include "dialogs/messagelayout.h"
#include "dialogs/openchecks.h"
#include "dialogs/paths.h"
#include "dialogs/sparsecount.h"
#include "dialogs/statusrow.h"
#include "model/mountain.h"

namespace {

TEST(OpenChecks, EachPressGetsTheMessageOfItsFirstProblem)
{
    struct Row {
        const char* situation;
        OpenRequest r; // numFiles, demNamed, compNamed, demReadable, compReadable, kind
        int code;
    };
    const Row rows[] = {
        {"DEM dialog, empty DEM field", {1, false, false, false, false, CONTF}, MISS_ERR},
        {"DEM dialog, DEM cannot be opened", {1, true, false, false, false, CONTF}, DEM_ERR},
        {"DEM dialog, readable DEM", {1, true, false, true, false, CONTF}, 0},
        {"two files, empty comparison field", {2, true, false, true, false, DEM}, MISS_ERR},
        {"two files, empty DEM field", {2, false, true, false, true, DEM}, MISS_ERR},
        {"two files, no kind ticked", {2, true, true, true, true, 0}, CHECK_ERR},
        {"two files, comparison unreadable", {2, true, true, true, false, DEM}, COMP_ERR},
        {"two files, DEM unreadable", {2, true, true, false, true, DEM}, DEM_ERR},
        {"two files, neither readable", {2, true, true, false, false, DEM}, FILES_ERR},
        {"two files, neither readable nor a kind", {2, true, true, false, false, 0}, FILES_ERR},
        {"two files, both readable, sparse kind", {2, true, true, true, true, SPARSEF}, 0},
        {"two files, both readable, DEM kind", {2, true, true, true, true, DEM}, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(openError(row.r), row.code) << row.situation;

    EXPECT_EQ(changeError(false, false), COMP_ERR) << "change dialog with an empty field";
    EXPECT_EQ(changeError(true, false), COMP_ERR) << "change dialog with an unreadable file";
    EXPECT_EQ(changeError(true, true), 0) << "change dialog with a readable file refused";
}

TEST(OpenChecks, SparseBoxWinsOverDemBoxOverContourBox)
{
    EXPECT_EQ(kindFromBoxes(true, true, true), SPARSEF);
    EXPECT_EQ(kindFromBoxes(true, false, true), DEM);
    EXPECT_EQ(kindFromBoxes(false, false, true), CONTF);
    EXPECT_EQ(kindFromBoxes(false, false, false), 0) << "no kind ticked";
}

TEST(OpenChecks, FailedLoadsSayWhatWentWrong)
{
    LoadStatus mismatch;
    mismatch.result = LoadResult::mismatch;
    EXPECT_EQ(loadFailureText(mismatch), "Grid sizes do not match");

    LoadStatus bad;
    bad.result = LoadResult::failed;
    bad.error = {GRIDFILE, "file \"x.grd\": the height of row 1, column 2 is not a number: \"a\""};
    EXPECT_EQ(loadFailureText(bad), bad.error.detail) << "the reader's message (file, row, column) is lost";

    LoadStatus silent;
    silent.result = LoadResult::failed;
    silent.error = {GRIDFILE, ""};
    EXPECT_FALSE(loadFailureText(silent).empty()) << "a failure without words showed an empty window";
}

TEST(Paths, ChooserStartsWhereTheUserWorks)
{
    struct Row {
        const char *last, *commandLine, *dir, *situation;
    };
    const Row rows[] = {
        {"/data/alps/dem2.grd", "/cmd/dem.grd", "/data/alps", "a file was opened: its directory"},
        {"", "/cmd/dem.grd", "/cmd", "nothing opened yet: the command-line DEM's directory"},
        {"", "rel/dem.grd", "rel", "a relative command-line path"},
        {"", "dem.grd", ".", "a bare command-line name: the current directory"},
        {"", "", ".", "no file known: the current directory"},
        {"/top.grd", "", "/", "a file at the root"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(chooserDirectory(r.last, r.commandLine), r.dir) << r.situation;
}

TEST(Paths, ChooserListsGridFilesFirstAndRastersWhenTheyCanBeRead)
{
    for (bool rasters : {false, true}) {
        const std::string pattern = gridPattern(rasters);
        const std::string first = pattern.substr(0, pattern.find('\t'));
        EXPECT_NE(first.find("grd"), std::string::npos) << "*.grd is not in the first filter: " << pattern;
        EXPECT_NE(pattern.find("*.asc"), std::string::npos) << "*.asc files are not offered: " << pattern;
        EXPECT_EQ(first.find("tif") != std::string::npos, rasters) << "GeoTIFF among the grids: " << pattern;
        EXPECT_EQ(pattern.substr(pattern.rfind('\t') + 1), "All files (*)");
    }
}

TEST(Paths, FilesMadeFromTheDemAreOfferedNextToIt)
{
    EXPECT_EQ(sparseOutputPath("/data/alps_dem.grd"), "/data/alps_dem_sparse.grd");
    EXPECT_EQ(sparseOutputPath("valley.asc"), "valley_sparse.grd");
    EXPECT_EQ(sparseOutputPath(""), "sparse.grd") << "no DEM known";
    EXPECT_EQ(outputPathBeside("/data/alps_dem.grd", ".png", "x.png"), "/data/alps_dem.png");
    EXPECT_EQ(outputPathBeside("/data/v.2/alps.dem.tif", "_profile.csv", "x"), "/data/v.2/alps.dem_profile.csv")
        << "only the last extension goes";
}

TEST(MessageWindow, LongMessagesAreNeverCut)
{
    for (auto [textW, textH] : {std::pair{460, 48}, std::pair{900, 16}, std::pair{10, 200}}) {
        const MessageLayout m = messageLayout(textW, textH);
        EXPECT_GE(m.text.w, textW) << "text box narrower than the text";
        EXPECT_GE(m.text.h, textH) << "text box lower than the text";
        EXPECT_LE(m.text.x + m.text.w, m.w) << "text box runs out of the window";
        EXPECT_GE(m.ok.y, m.text.y + m.text.h) << "OK button over the text";
        EXPECT_LE(m.ok.y + m.ok.h, m.h) << "OK button below the window's edge";
        EXPECT_EQ(m.ok.x * 2 + m.ok.w, m.w) << "OK button not centred";
    }
}

TEST(SparseCount, ReadAsALeadingWholeNumber)
{
    struct Row {
        const char* text;
        std::optional<int> n;
    };
    const Row rows[] = {
        {"", 0},
        {"abc", 0},
        {"500", 500},
        {"  +300", 300},
        {"25abc", 25},
        {"25 heights", 25},
        {"-5", -5},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt},
        {"99999999999999999999999", std::nullopt},
        {"-2147483649", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseSparseCount(r.text), r.n) << "count typed as \"" << r.text << "\"";
}


TEST(StatusRow, MapCoordinatesAreShownWhole)
{
    EXPECT_EQ(statusDecimals(5100000), 0) << "a y corner of 5100000 would read 5.1e+06";
    EXPECT_EQ(statusDecimals(-1e6), 0);
    EXPECT_EQ(statusDecimals(600000), -1) << "short numbers keep their shortest form";
    EXPECT_EQ(statusDecimals(0.000833), -1) << "a cell size in degrees would read 0";
}

TEST(StatusRow, ProgressIsShownInWholePercentRoundedDown)
{
    const struct {
        const char* stage;
        double fraction;
        const char* label;
    } rows[] = {
        {"Reading", 0.4, "Reading 40 %"},
        {"Reading", 0.999, "Reading 99 %"}, // 100 % only when done
        {"Computing curvature differences", 0.6 + 0.3, "Computing curvature differences 90 %"},
        {"Done", 1.0, "Done 100 %"},
        {"Reading", -0.1, "Reading 0 %"},
        {"Reading", std::nan(""), "Reading 0 %"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(progressLabel(r.stage, r.fraction), r.label) << r.fraction;
}

} // namespace

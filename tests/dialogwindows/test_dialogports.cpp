// The open dialogs against a session port of the tests' own making: what
// the dialogs ask of the program and what they show of its answers, with
// no application, main window or viewer behind them. This program links
// the dialogs library alone.
#include <FL/Fl_Check_Button.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Multiline_Output.H>
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/checkpointdialog.h"
#include "dialogs/loadnotetext.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "dialogs/openfile.h"
#include "dialogs/pointchooser.h"
#include "dialogs/sessionport.h"
#include "dialogs/stableterraindialog.h"
#include "model/errors.h"
#include "render/viewer.h"
#include "tests/gui/window_helpers.h"
#include "tests/model/grid_files.h"
#include "tests/render/render_data.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace gui_test {
namespace {

std::string sampleData(const char* name) { return std::string(OROLITH_DATA_DIR) + "/" + name; }

const std::string DEM_PATH = sampleData("alps_dem.grd");
const std::string DEM2_PATH = sampleData("alps_dem2.grd");
const std::string SPARSE_PATH = sampleData("alps_sparse.grd");

std::string smallGrid(const char* name)
{
    return writeGrid(name, 3, 3, 10, [](int r, int c) { return 100.0f + r + c; });
}

// A session of the dialogs' own making: it records what the open dialogs
// ask of it and answers every load as the test says, with no application,
// main window or viewer behind it.
class RecordingSession : public SessionPort {
public:
    struct Change {
        std::string path;
        int kind;
        bool align;
    };
    std::vector<OpenChoice> opened;
    std::vector<Change> changed;
    LoadStatus answer; // what every load returns
    FilesInUse inUse;
    std::string offered; // the command-line DEM
    bool loading = false;
    int focused = 0;

    const DataSet& dataSet() const override { return data; }
    const FilesInUse& files() const override { return inUse; }
    const ViewState& view() const override { return state; }
    Fl_Window* mainWindow() override { return nullptr; }
    Viewer& viewer() override
    {
        ADD_FAILURE() << "an open dialog asked for the viewer";
        if (!ownViewer)
            ownViewer = std::make_unique<Viewer>(0, 0, 10, 10);
        return *ownViewer;
    }
    Messages& messages() override { return silent; }
    bool busy() const override { return loading; }
    LoadStatus openFiles(const OpenChoice& choice) override
    {
        opened.push_back(choice);
        return answer;
    }
    LoadStatus changeComparison(const std::string& path, int kind, bool align) override
    {
        changed.push_back({path, kind, align});
        return answer;
    }
    LoadStatus useShiftedComparison(GridData) override { return answer; }
    WorkEnd runCancellable(const std::string&, const std::function<void(BusyWork&)>&) override
    {
        return WorkEnd::refused;
    }
    double curvatureUnit() const override { return 1; }
    double differenceUnit() const override { return 1; }
    void setCurvatureUnit(double) override {}
    int exaggeration() const override { return 1; }
    bool ensureHeightClasses(std::string&) override { return false; }
    GraphKind lastGraph() const override { return GraphKind::heightClasses; }
    void setLastGraph(GraphKind) override {}
    void focusViewer() override { ++focused; }
    std::string chooserStartDirectory() const override { return ""; }
    bool readsRasters() const override { return false; }
    std::string startupDem() const override { return offered; }
    void forgetStartupDem() override { offered.clear(); }

    // Checkpoints and stable terrain: what was asked, and the answers.
    std::vector<CheckpointChoice> pointsAsked;
    std::vector<StableTerrainChoice> stableAsked;
    int stableCleared = 0;
    bool accepts = true; // every request succeeds
    std::string refusal; // else this is why not
    std::optional<StableTerrainChoice> inForce;
    bool openCheckpoints(const CheckpointChoice& choice, std::string& why) override
    {
        pointsAsked.push_back(choice);
        why = refusal;
        return accepts;
    }
    // The rules go into the data set, so that the dialog has counts to show.
    bool applyStableTerrain(const StableTerrainChoice& choice, std::string& why) override
    {
        stableAsked.push_back(choice);
        why = refusal;
        if (!accepts || !data.setStableTerrain(choice.rules, why))
            return false;
        inForce = choice;
        return true;
    }
    void clearStableTerrain() override
    {
        ++stableCleared;
        data.clearStableTerrain();
        inForce.reset();
    }
    const StableTerrainChoice* stableTerrainChoice() const override { return inForce ? &*inForce : nullptr; }
    // The data set the dialogs see.
    void use(DataSet d) { data = std::move(d); }

private:
    DataSet data;
    ViewState state;
    SilentMessages silent;
    std::unique_ptr<Viewer> ownViewer;
};

// The open dialogs against a RecordingSession: every dialog window is
// closed after each test.
class OpenDialogPortTest : public ::testing::Test {
protected:
    void TearDown() override { closeDialogWindows(); }
    RecordingSession port;
};

LoadStatus failure(LoadResult result, int code, const std::string& detail)
{
    LoadStatus status;
    status.result = result;
    status.error = {code, detail};
    return status;
}

TEST_F(OpenDialogPortTest, OpenHandsTheSessionExactlyWhatWasTypedAndTicked)
{
    struct Row {
        const char* what;
        bool pair;
        Fl_Check_Button* OpenDialog::*kindBox; // ticked; null: none
        bool align;
        double exaggeration, treeLine, slope;
        int kind; // expected
    };
    const Row rows[] = {
        {"DEM alone", false, nullptr, true, 3, 2500, 30, 0},
        {"pair, DEM File", true, &OpenDialog::demCheck, true, 1, 1800, 50, DEM},
        {"pair, Sparse File, not aligned", true, &OpenDialog::rawCheck, false, 7, 12000, 80, SPARSEF},
        {"pair, Contour File", true, &OpenDialog::contCheck, true, 10, 1000, 10, CONTF},
    };
    for (const Row& r : rows) {
        port.opened.clear();
        port.focused = 0;
        r.pair ? openPairDialog(port) : openDemDialog(port);
        OpenDialog* d = openwin;
        ASSERT_NE(d, nullptr) << r.what;
        EXPECT_EQ(&d->port, &port) << r.what << ": the dialog keeps another session";
        d->finput->value(DEM_PATH.c_str());
        if (r.pair) {
            d->finput2->value(SPARSE_PATH.c_str());
            tick(d->*(r.kindBox), true);
            tick(d->alignBox, r.align);
        }
        setCounter(d->vinput, r.exaggeration);
        setCounter(d->tinput, r.treeLine);
        setCounter(d->sinput, r.slope);
        click(childOf<Fl_Button>(d, "Open"));
        ASSERT_EQ(port.opened.size(), 1u) << r.what << ": loads asked of the session";
        const OpenChoice& c = port.opened[0];
        EXPECT_EQ(c.dem, DEM_PATH) << r.what;
        EXPECT_EQ(c.comparison, r.pair ? SPARSE_PATH : "") << r.what;
        if (r.pair) {
            EXPECT_EQ(c.kind, r.kind) << r.what << ": the kind ticked";
        }
        EXPECT_EQ(c.align, r.pair && r.align) << r.what << ": the align box";
        EXPECT_EQ(c.exaggeration, r.exaggeration) << r.what;
        EXPECT_EQ(c.treeLine, r.treeLine) << r.what;
        EXPECT_EQ(c.vegetationSlope, r.slope) << r.what;
        EXPECT_FALSE(d->shown()) << r.what << ": the dialog stayed open after the session loaded";
        EXPECT_EQ(port.focused, 1) << r.what << ": the viewer did not get the keys back";
        EXPECT_EQ(shownError(), "") << r.what;
        settle();
    }
}

TEST_F(OpenDialogPortTest, TheDialogShowsTheFailureTheSessionReturns)
{
    const std::string small = smallGrid("port_small.grd");
    struct Row {
        const char* what;
        bool change; // the change dialog, else the two-file dialog
        LoadStatus answer;
        std::string says;
        bool offersAlign;
    };
    const Row rows[] = {
        {"reader's message", false, failure(LoadResult::failed, GRIDFILE, "bad number in row 3, column 4"),
         "bad number in row 3, column 4", false},
        {"no words", false, failure(LoadResult::failed, GRIDFILE, ""), "The files could not be loaded.", false},
        {"grids apart", false, failure(LoadResult::mismatch, PLACEMENT, "the grids lie 2 cells apart"),
         "the grids lie 2 cells apart", true},
        {"grids apart, change dialog", true, failure(LoadResult::mismatch, 0, ""), "Grid sizes do not match", true},
    };
    port.inUse.count = 1;
    for (const Row& r : rows) {
        port.answer = r.answer;
        port.opened.clear();
        port.changed.clear();
        r.change ? openChangeDialog(port) : openPairDialog(port);
        OpenDialog* d = openwin;
        ASSERT_NE(d, nullptr) << r.what;
        if (r.change) {
            d->ainput->value(small.c_str());
        } else {
            d->finput->value(DEM_PATH.c_str());
            d->finput2->value(small.c_str());
        }
        tick(d->demCheck, true);
        tick(d->alignBox, false);
        click(childOf<Fl_Button>(d, "Open"));
        EXPECT_EQ(port.opened.size() + port.changed.size(), 1u) << r.what << ": loads asked";
        EXPECT_EQ(shownError(), r.says) << r.what;
        EXPECT_STREQ(errorWin->label(), "File Error") << r.what;
        EXPECT_TRUE(d->shown()) << r.what << ": the dialog closed on a failed load";
        Fl_Button* offer = childOf<Fl_Button>(errorWin, "Align and Open");
        EXPECT_EQ(offer != nullptr, r.offersAlign) << r.what << ": the offer to align";
        if (offer) {
            // Accepted, the same files go to the session again, aligned.
            click(offer);
            ASSERT_EQ(port.opened.size() + port.changed.size(), 2u) << r.what << ": the offer did not open again";
            if (r.change) {
                EXPECT_TRUE(port.changed[1].path == small && port.changed[1].kind == DEM && port.changed[1].align)
                    << r.what;
            } else {
                EXPECT_TRUE(port.opened[1].dem == DEM_PATH && port.opened[1].comparison == small &&
                            port.opened[1].kind == DEM && port.opened[1].align)
                    << r.what;
            }
            EXPECT_TRUE(d->alignBox->value()) << r.what;
        }
        closeDialogWindows();
    }
}

TEST_F(OpenDialogPortTest, TheSessionIsAskedNothingItCannotDo)
{
    // No DEM in use: no comparison to change.
    openChangeDialog(port);
    EXPECT_EQ(openwin, nullptr) << "a change dialog with no DEM in use";

    // A refused Open asks nothing of the session.
    openPairDialog(port);
    OpenDialog* d = openwin;
    d->finput->value(DEM_PATH.c_str());
    d->finput2->value(SPARSE_PATH.c_str());
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(shownError(), "You must select a comparison filetype.");
    EXPECT_TRUE(port.opened.empty()) << "the session was asked to load with no kind ticked";

    // While the session is busy, Open does nothing at all.
    port.loading = true;
    tick(d->rawCheck, true);
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_TRUE(port.opened.empty() && d->shown()) << "Open acted while the session was busy";
    port.loading = false;
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(port.opened.size(), 1u);
}

TEST_F(OpenDialogPortTest, TheCommandLineDemIsOfferedUntilOpenAndTheLoadsNotesShown)
{
    port.offered = DEM2_PATH;
    openDemDialog(port);
    OpenDialog* d = openwin;
    EXPECT_STREQ(d->finput->value(), DEM2_PATH.c_str()) << "the session's command-line DEM not offered";
    port.answer.notes = {"Note: the grid looks like it is in degrees."};
    click(childOf<Fl_Button>(d, "Open"));
    EXPECT_EQ(port.offered, "") << "Open did not tell the session the DEM had its offer";
    Fl_Window* note = shownWindow("Note");
    ASSERT_NE(note, nullptr) << "the notes of the session's load not shown";
    EXPECT_EQ(shownError(), loadNotesMessage(port.answer.notes));
}

// --- checkpoints and stable terrain ---------------------------------------------------

// Answers the chooser of files to read in the user's place while it lives:
// records what it was asked and picks `answer` ("" cancels).
struct ReadChooserAnswer {
    struct Question {
        std::string title, pattern, directory;
    };
    static inline std::string answer;
    static inline std::vector<Question> asked;
    decltype(chooseFileToRead) real = chooseFileToRead;

    explicit ReadChooserAnswer(std::string pick)
    {
        answer = std::move(pick);
        asked.clear();
        chooseFileToRead = [](const char* title, const char* pattern, const std::string& directory) {
            asked.push_back({title, pattern, directory});
            return answer;
        };
    }
    ~ReadChooserAnswer() { chooseFileToRead = real; }
};

DataSet smallPair()
{
    return pairDataSet(
        8, 8, 10, [](int, int c) { return 100.0f + 15.0f * c * c / 7; }, [](int r, int c) { return 100.5f + r + c; });
}

TEST_F(OpenDialogPortTest, CheckpointsComeFromTheChooserAndTheDialogAsTyped)
{
    ReadChooserAnswer chooser("/data/gcp.csv");
    openCheckpointsDialog(port);
    EXPECT_TRUE(ReadChooserAnswer::asked.empty() && !checkpointWin) << "a chooser or dialog without a DEM";

    port.use(demDataSet(5, 5, 10, [](int, int) { return 100.0f; }));
    ReadChooserAnswer::answer = "";
    openCheckpointsDialog(port);
    ASSERT_EQ(ReadChooserAnswer::asked.size(), 1u);
    EXPECT_EQ(ReadChooserAnswer::asked[0].title, "Open Checkpoints");
    EXPECT_EQ(ReadChooserAnswer::asked[0].pattern, pointFilePattern());
    EXPECT_EQ(checkpointWin, nullptr) << "a dialog after the chooser was cancelled";

    ReadChooserAnswer::answer = "/data/gcp.csv";
    openCheckpointsDialog(port);
    ASSERT_NE(checkpointWin, nullptr);
    CheckpointDialog* d = checkpointWin;
    EXPECT_STREQ(d->file->value(), "/data/gcp.csv");
    EXPECT_TRUE(std::string(d->x->value()) == "x" && std::string(d->y->value()) == "y" &&
                std::string(d->z->value()) == "z" && std::string(d->pointClass->value()) == "class")
        << "the usual column names are not offered";
    d->z->value("height");
    d->crs->value("EPSG:4326");
    d->open->value("ground, road");
    d->vegetated->value("forest");

    // A refusal stays over the dialog.
    port.accepts = false;
    port.refusal = "No checkpoint lies on the DEM: 3 outside, 0 next to absent cells";
    click(childOf<Fl_Button>(d, "Open"));
    ASSERT_EQ(port.pointsAsked.size(), 1u);
    EXPECT_EQ(shownError(), port.refusal);
    EXPECT_TRUE(d->shown()) << "the dialog closed on a refusal";
    const CheckpointChoice& c = port.pointsAsked[0];
    EXPECT_EQ(c.source.path, "/data/gcp.csv");
    EXPECT_EQ(c.source.columns.x + "," + c.source.columns.y + "," + c.source.columns.z + "," +
                  c.source.columns.pointClass,
              "x,y,height,class");
    EXPECT_EQ(c.source.pointsCrs, "EPSG:4326");
    EXPECT_EQ(c.classes.open, (std::vector<std::string>{"ground", "road"}));
    EXPECT_EQ(c.classes.vegetated, (std::vector<std::string>{"forest"}));

    // Browse... picks another file; Open then closes the dialog.
    ReadChooserAnswer::answer = "/data/other.gpkg";
    click(childOf<Fl_Button>(d, "Browse..."));
    EXPECT_STREQ(d->file->value(), "/data/other.gpkg");
    port.accepts = true;
    port.focused = 0;
    click(childOf<Fl_Button>(d, "Open"));
    ASSERT_EQ(port.pointsAsked.size(), 2u);
    EXPECT_EQ(port.pointsAsked[1].source.path, "/data/other.gpkg");
    EXPECT_FALSE(d->shown()) << "the dialog stayed open after the session took the points";
    EXPECT_EQ(port.focused, 1) << "the viewer did not get the keys back";
    settle();

    // No file named: nothing asked.
    openCheckpointsDialog(port);
    ASSERT_NE(checkpointWin, nullptr);
    checkpointWin->file->value(" ");
    click(childOf<Fl_Button>(checkpointWin, "Open"));
    EXPECT_EQ(shownError(), "Name the file of checkpoints.");
    EXPECT_EQ(port.pointsAsked.size(), 2u);
}

TEST_F(OpenDialogPortTest, StableTerrainAppliesTheRulesTypedAndRefusesValuesThatAreNone)
{
    openStableTerrainDialog(port);
    EXPECT_EQ(stableWin, nullptr) << "a stable-terrain dialog without comparison data";
    port.use(smallPair());
    openStableTerrainDialog(port);
    ASSERT_NE(stableWin, nullptr);
    StableTerrainDialog* d = stableWin;
    EXPECT_EQ(std::string(d->counts->value()), noStableTerrainText());

    d->maxSlope->value("30");
    d->outliers->value(" 3 ");
    click(childOf<Fl_Button>(d, "Apply"));
    ASSERT_EQ(port.stableAsked.size(), 1u) << shownError();
    EXPECT_EQ(port.stableAsked[0].rules.maxSlope, 30.0);
    EXPECT_EQ(port.stableAsked[0].rules.outlierNmads, 3.0);
    EXPECT_FALSE(port.stableAsked[0].rules.minSlope);
    EXPECT_EQ(port.stableAsked[0].mask.path, "");
    const DataSet& data = port.dataSet();
    ASSERT_TRUE(data.hasStableTerrain());
    EXPECT_EQ(std::string(d->counts->value()), stableTerrainCountsText(data.stableRules(), data.stableTerrain().counts))
        << "the counts of the rules applied are not shown";

    // Refused before the session is asked: a bad number, a minimum above
    // the maximum.
    const std::pair<const char*, const char*> bad[] = {
        {"abc", "The minimum slope \"abc\" is not a number of degrees from 0 to 90."},
        {"45", "The minimum slope (45 degrees) is above the maximum slope (30 degrees)."},
    };
    for (const auto& [typed, says] : bad) {
        d->minSlope->value(typed);
        click(childOf<Fl_Button>(d, "Apply"));
        EXPECT_EQ(shownError(), says);
        EXPECT_EQ(port.stableAsked.size(), 1u) << typed << ": the session was asked";
    }
    // Refused by the session: its reason, the counts as they were.
    const std::string shown = d->counts->value();
    d->minSlope->value("");
    port.accepts = false;
    port.refusal = "The mask is not on the DEM's grid";
    click(childOf<Fl_Button>(d, "Apply"));
    EXPECT_EQ(shownError(), port.refusal);
    EXPECT_EQ(std::string(d->counts->value()), shown);
    port.accepts = true;

    // Browse... names the mask; the box says which side of the polygons stays.
    ReadChooserAnswer chooser("/masks/glaciers.gpkg");
    click(childOf<Fl_Button>(d, "Browse..."));
    ASSERT_EQ(ReadChooserAnswer::asked.size(), 1u);
    EXPECT_EQ(ReadChooserAnswer::asked[0].pattern, maskFilePattern());
    EXPECT_STREQ(d->mask->value(), "/masks/glaciers.gpkg");
    tick(d->keepInside, true);
    port.accepts = false; // the recording session reads no mask
    click(childOf<Fl_Button>(d, "Apply"));
    ASSERT_EQ(port.stableAsked.size(), 3u);
    EXPECT_EQ(port.stableAsked[2].mask.path, "/masks/glaciers.gpkg");
    EXPECT_TRUE(port.stableAsked[2].mask.keepInside);

    // Clear, and a dialog opened while rules are in force shows them.
    click(childOf<Fl_Button>(d, "Clear"));
    EXPECT_EQ(port.stableCleared, 1);
    EXPECT_EQ(std::string(d->counts->value()), noStableTerrainText());
    port.accepts = true;
    d->mask->value("");
    click(childOf<Fl_Button>(d, "Apply"));
    click(childOf<Fl_Button>(d, "Close"));
    settle();
    EXPECT_EQ(stableWin, nullptr);
    openStableTerrainDialog(port);
    ASSERT_NE(stableWin, nullptr);
    EXPECT_STREQ(stableWin->maxSlope->value(), "30");
    EXPECT_STREQ(stableWin->outliers->value(), "3");
    EXPECT_STREQ(stableWin->minSlope->value(), "");
    EXPECT_NE(std::string(stableWin->counts->value()).find("Kept as stable: "), std::string::npos);
}

} // namespace
} // namespace gui_test

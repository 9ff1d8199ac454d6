// The session behind the main window: it owns the data set in use, the
// files it came from, the class units and the background work, and it is
// the one place where the user's requests change them. The viewer owns the
// view state; the session asks it for changes and then has the widgets
// show the state as it is. The dialogs reach it through SessionPort, the
// viewer's keys through ViewerListener.
#ifndef OROLITH_APP_SESSION_H
#define OROLITH_APP_SESSION_H

#include <FL/Fl.H>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/busy.h"
#include "app/consolemessages.h"
#include "app/menutable.h"
#include "dialogs/helptexts.h"
#include "dialogs/names.h"
#include "dialogs/picksport.h"
#include "dialogs/sessionport.h"
#include "model/dataset.h"
#include "model/gridfile.h"
#include "model/picks.h"
#include "render/viewer.h"

namespace orolith::ui {

class MainWindow;
class PicksWindow;

// Longitude and latitude of a map point of one grid's system; empty where
// it has none. A function that makes one for a grid, or none (no system
// named, no GDAL).
using LonLatOf = std::function<std::optional<LonLat>(double x, double y)>;
using LonLatFactory = std::function<LonLatOf(const GridHeader& dem)>;

// What reads checkpoints and puts masks on the DEM's grid: GDAL's point and
// mask functions (model/pointio.h), through the module in the program and
// linked in by the tests. Either may be null: a build without GDAL.
struct PointIo {
    bool (*readPoints)(const PointSource& source, std::vector<Checkpoint>& points, std::string& error) = nullptr;
    bool (*readMask)(const MaskSource& source, const GridHeader& dem, std::vector<std::uint8_t>& mask,
                     std::string& error) = nullptr;
    // Longitude and latitude for the readout and the picks.
    LonLatFactory lonLatFor;
};

class Session : public SessionPort, public ViewerListener, public PicksPort {
public:
    // Builds the main window (not shown); `io` reads the grids opened,
    // `points` the checkpoints and masks.
    explicit Session(const GridIo& io, const PointIo& points = {});
    ~Session() override;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    MainWindow& window() { return *window_; }
    // The DEM named on the command line, offered to the open dialogs.
    void offerStartupDem(const std::string& path);

    // --- requests of the widgets ---------------------------------------
    // A box or menu toggle asks for a switch on or off: refused (the widget
    // then shows the state as it was) when `needs` are not met, and for
    // height classes without a contour interval.
    void requestSwitch(ViewSwitch id, bool on, Needs needs);
    void run(Command command);
    void moveSun(int direction); // +1 east, -1 west
    void setExaggeration(int exaggeration);
    void setDifferenceUnit(double unit);
    // The profile's row or column; refused outside the grid, and the
    // counter then shows where the profile is.
    void moveProfile(int position);
    void setProfileDirection(int view); // VERTP or HORIZ
    void showGraphOf(GraphKind kind);
    void showSectionHelpOf(PanelSection section);
    void cancelBusyWork();

    // --- SessionPort ------------------------------------------------------
    const DataSet& dataSet() const override { return data_; }
    const FilesInUse& files() const override { return files_; }
    const ViewState& view() const override;
    Fl_Window* mainWindow() override;
    Viewer& viewer() override;
    Messages& messages() override { return messages_; }
    bool busy() const override { return busy_.running(); }
    LoadStatus openFiles(const OpenChoice& choice) override;
    LoadStatus changeComparison(const std::string& path, int kind, bool align) override;
    LoadStatus useShiftedComparison(GridData grid) override;
    WorkEnd runCancellable(const std::string& firstLabel, const std::function<void(BusyWork&)>& work) override;
    bool openCheckpoints(const CheckpointChoice& choice, std::string& why) override;
    bool applyStableTerrain(const StableTerrainChoice& choice, std::string& why) override;
    void clearStableTerrain() override;
    const StableTerrainChoice* stableTerrainChoice() const override;
    double curvatureUnit() const override;
    double differenceUnit() const override;
    void setCurvatureUnit(double unit) override;
    int exaggeration() const override;
    bool ensureHeightClasses(std::string& why) override;
    GraphKind lastGraph() const override { return lastGraph_; }
    void setLastGraph(GraphKind kind) override { lastGraph_ = kind; }
    void focusViewer() override;
    std::string chooserStartDirectory() const override;
    bool readsRasters() const override { return io_.reader != nullptr; }
    std::string startupDem() const override { return startupDem_; }
    void forgetStartupDem() override { startupDem_.clear(); }

    // --- ViewerListener ---------------------------------------------------
    void switchRequested(ViewSwitch id) override;
    void exaggerationRequested(int exaggeration) override;
    const char* askEyeValue(float current) override;
    void quitRequested() override;
    void pointerOver(const std::optional<SurfaceHit>& hit) override;
    void pickRequested(const SurfaceHit& hit) override;

    // --- PicksPort --------------------------------------------------------
    const std::vector<Pick>& picks() const override { return picks_.picks(); }
    bool picksGeographic() const override;
    void removePick(std::size_t index) override;
    void clearPicks() override;
    void profileThroughPick(std::size_t index, bool alongRow) override;
    void picksWindowShown(bool shown) override;
    std::string proposedPicksPath() const override;
    // The Picks window once a pick was made (null before, and once
    // something deleted it), for the tests.
    PicksWindow* picksWindow() const;

private:
    // The widgets show the state as it is now.
    void showState();
    // A view change: the viewer takes it, the widgets show it.
    void changeView(const std::function<void(ViewState&)>& change);
    // Takes a data set that loaded: the viewer shows it, the previous one
    // goes.
    void install(DataSet loaded);
    void placeProfileAtCounter(ViewState& view);
    // A load with the program busy and its stages on the bar.
    Loaded loadBusy(const std::function<Loaded(const LoadProgress&)>& load);
    // The picks again from the data set in use (a new comparison, new
    // units); none when the DEM's grid changed under them.
    void refreshPicks(bool sameGrid);
    // The picks' marks to the viewer and rows to the window (shown when
    // `raise`), without taking the keys from the window.
    void showPicks(bool raise);
    std::optional<LonLat> lonLatOf(const CellReadout& r) const;

    GridIo io_;
    PointIo points_;
    ConsoleMessages messages_;
    DataSet data_;
    FilesInUse files_;
    GraphKind lastGraph_ = GraphKind::heightClasses;
    std::string startupDem_, commandLineDem_, lastOpened_;
    std::string eyeText_; // what askEyeValue hands back
    // The stable-terrain choice last applied; in force while the data set
    // has stable terrain (a new comparison clears it there).
    std::optional<StableTerrainChoice> stableChoice_;
    MainWindow* window_ = nullptr;
    Busy busy_;
    PickList picks_;
    // Like every dialog, the window may be deleted by others (the tests
    // close every window but the main one); the tracker says when.
    PicksWindow* picksWindow_ = nullptr;
    std::unique_ptr<Fl_Widget_Tracker> picksWindowAlive_;
    LonLatOf lonLat_; // for the DEM in use
};

} // namespace orolith::ui

#endif

#include "app/session.h"

#include "model/checkpointtext.h"

#include <FL/Fl.H>
#include <FL/Fl_Counter.H>
#include <FL/Fl_Window.H>
#include <FL/fl_ask.H>

#include <cstdio>
#include <cstdlib>
#include <tuple>

#include "app/closing.h"
#include "app/mainwindow.h"
#include "dialogs/checkpointdialog.h"
#include "dialogs/checkpointtext.h"
#include "dialogs/coregwindow.h"
#include "dialogs/errorunits.h"
#include "dialogs/graph.h"
#include "dialogs/helpabout.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "dialogs/openfile.h"
#include "dialogs/paths.h"
#include "dialogs/pickswindow.h"
#include "dialogs/saveoutputs.h"
#include "dialogs/sparsefile.h"
#include "dialogs/stableterraindialog.h"
#include "dialogs/statsreport.h"
#include "model/load.h"
#include "model/metrics.h"
#include "model/readout.h"
#include "render/profilegeometry.h"
#include "render/sunpath.h"
#include "render/viewmotion.h"

namespace orolith::ui {

Session::Session(const GridIo& io, const PointIo& points) : io_(io), points_(points)
{
    window_ = new MainWindow(*this);
    busy_.attach(window_);
    window_->viewer().setListener(this);
    applyClosingRules(*window_);
    showState();
}

Session::~Session()
{
    delete picksWindow();
    picksWindowAlive_.reset();
    window_->viewer().setListener(nullptr);
    delete window_;
}

void Session::offerStartupDem(const std::string& path)
{
    startupDem_ = path;
    commandLineDem_ = path;
}

const ViewState& Session::view() const { return window_->viewer().view(); }
Fl_Window* Session::mainWindow() { return window_; }
Viewer& Session::viewer() { return window_->viewer(); }

void Session::showState()
{
    ShownState s;
    s.loaded = {data_.loaded(), data_.hasComparison()};
    s.comparisonKind = files_.kind;
    s.panelShown = window_->toolPanelShown();
    window_->showState(s);
    window_->showUnits(view().curveUnits, view().diffUnits);
}

void Session::focusViewer()
{
    viewer().redraw();
    viewer().take_focus();
}

void Session::changeView(const std::function<void(ViewState&)>& change)
{
    ViewState v = view();
    change(v);
    viewer().setView(v);
    showState();
    focusViewer();
}

// --- switches -------------------------------------------------------------------

void Session::requestSwitch(ViewSwitch id, bool on, Needs needs)
{
    const DataLoaded loaded{data_.loaded(), data_.hasComparison()};
    // Without contour data there are no classes to colour; switching off
    // needs nothing (a later data set may have none).
    const bool refused =
        on && (!needsMet(needs, loaded) || (id == ViewSwitch::heightClasses && data_.contourInterval() <= 0));
    if (refused) {
        showState();
        return;
    }
    changeView([&](ViewState& v) {
        // The section appears where the counter says.
        if (id == ViewSwitch::profile)
            placeProfileAtCounter(v);
        applySwitch(v, id, on);
    });
    if (id == ViewSwitch::heightClasses && on && !data_.hasHeightClasses())
        data_.computeHeightClasses(messages_);
}

void Session::switchRequested(ViewSwitch id) { requestSwitch(id, !switchOn(view(), id), Needs::nothing); }

// --- commands -------------------------------------------------------------------

void Session::run(Command command)
{
    // The view commands do nothing until data is open.
    auto viewCommand = [&](void (*apply)(ViewState&)) {
        if (viewer().open())
            changeView(apply);
        else
            focusViewer();
    };
    switch (command) {
    case Command::openDem: openDemDialog(*this); break;
    case Command::openPair: openPairDialog(*this); break;
    case Command::changeComparison: openChangeDialog(*this); break;
    case Command::openCheckpoints: openCheckpointsDialog(*this); break;
    case Command::saveImage: saveImage(*this); break;
    case Command::saveProfile: saveProfile(*this); break;
    case Command::exit: std::exit(0);
    case Command::rotateZPlus: viewCommand([](ViewState& v) { v.zrotation += 90; }); break;
    case Command::rotateZMinus: viewCommand([](ViewState& v) { v.zrotation -= 90; }); break;
    case Command::rotateXPlus: viewCommand([](ViewState& v) { v.xrotation += 90; }); break;
    case Command::rotateXMinus: viewCommand([](ViewState& v) { v.xrotation -= 90; }); break;
    case Command::zoomIn: viewCommand(zoomIn); break;
    case Command::zoomOut: viewCommand(zoomOut); break;
    case Command::sideView: viewCommand(sideView); break;
    case Command::topView: viewCommand(topView); break;
    case Command::resetView: viewCommand(resetView); break;
    case Command::toggleTools:
        window_->showToolPanel(!window_->toolPanelShown());
        showState();
        break;
    case Command::statistics: showStatistics(*this); break;
    case Command::graph: showLastGraph(*this); break;
    case Command::sparse: showSparseDialog(*this); break;
    case Command::coregister: coregistration(*this); break;
    case Command::stableTerrain: openStableTerrainDialog(*this); break;
    case Command::modifyCurvature: modCurve(*this); break;
    case Command::help: showHelp(window_); break;
    case Command::about: showAbout(window_); break;
    }
}

void Session::moveSun(int direction)
{
    changeView([&](ViewState& v) { sunStep(v.position0, direction); });
}

void Session::showGraphOf(GraphKind kind) { showGraph(*this, kind); }

void Session::showSectionHelpOf(PanelSection section) { showSectionHelp(section, window_); }

void Session::cancelBusyWork() { busy_.cancel(); }

// --- exaggeration, units, profile -------------------------------------------------

int Session::exaggeration() const
{
    return data_.loaded() ? static_cast<int>(data_.mesh().exaggeration)
                          : static_cast<int>(window_->exaggerationCounter->value());
}

void Session::setExaggeration(int exaggeration)
{
    data_.setExaggeration(exaggeration);
    focusViewer();
}

void Session::exaggerationRequested(int exaggeration)
{
    data_.setExaggeration(exaggeration);
    window_->showExaggeration(exaggeration);
}

double Session::curvatureUnit() const { return view().curveUnits; }
double Session::differenceUnit() const { return view().diffUnits; }

void Session::setCurvatureUnit(double unit)
{
    data_.classifyCurvature(static_cast<float>(unit));
    changeView([&](ViewState& v) { v.curveUnits = static_cast<float>(unit); });
    refreshPicks(true);
}

void Session::setDifferenceUnit(double unit)
{
    data_.classifyElevation(static_cast<float>(unit));
    data_.classifyCurvatureDifference(static_cast<float>(unit));
    changeView([&](ViewState& v) { v.diffUnits = static_cast<float>(unit); });
    refreshPicks(true);
}

// The counter's number goes to the view, which refuses a row or column
// outside the grid; the counter then shows where the profile really is.
void Session::placeProfileAtCounter(ViewState& v)
{
    const int wanted = static_cast<int>(window_->profileCounter->value()); // truncation toward zero
    if (profilePositionValid(v.profView, wanted, data_.rows(), data_.cols()))
        v.profileYpos = v.profileXpos = wanted;
    if (!data_.loaded())
        return;
    const ProfilePlacement p = placeProfile(data_.mesh(), v.profileYpos, v.profileXpos);
    window_->showProfilePosition(v.profView == HORIZ ? p.X : p.Y);
}

void Session::moveProfile(int)
{
    changeView([&](ViewState& v) { placeProfileAtCounter(v); });
}

void Session::setProfileDirection(int direction)
{
    changeView([&](ViewState& v) {
        v.profView = direction;
        placeProfileAtCounter(v);
    });
}

// --- loads -------------------------------------------------------------------------

Loaded Session::loadBusy(const std::function<Loaded(const LoadProgress&)>& load)
{
    Loaded result;
    const bool ran =
        busy_.load([&](const std::function<void(const std::string&, double)>& progress) { result = load(progress); });
    if (!ran)
        result.status.result = LoadResult::failed; // another load runs
    return result;
}

void Session::install(DataSet loaded)
{
    auto grid = [](const DataSet& d) {
        const GridHeader& h = d.header();
        return std::make_tuple(h.rows, h.cols, h.xllcorner, h.yllcorner, h.cellsizeX, h.cellsizeY, h.projection);
    };
    const bool sameGrid = data_.loaded() && loaded.loaded() && grid(data_) == grid(loaded);
    loaded.continueVersionsOf(data_);
    data_ = std::move(loaded);
    if (!sameGrid)
        lonLat_ = data_.loaded() && points_.lonLatFor ? points_.lonLatFor(data_.header()) : LonLatOf();
    viewer().showDataSet(&data_);
    refreshPicks(sameGrid);
}

// --- readout and picks --------------------------------------------------------------

std::optional<LonLat> Session::lonLatOf(const CellReadout& r) const
{
    return lonLat_ ? lonLat_(r.x, r.y) : std::nullopt;
}

void Session::pointerOver(const std::optional<SurfaceHit>& hit)
{
    if (!hit || !data_.loaded()) {
        window_->showReadout("");
        return;
    }
    const CellReadout r = readoutAt(data_, hit->row, hit->col);
    window_->showReadout(readoutLine(r, lonLatOf(r), data_.header().crs.geographic));
}

void Session::pickRequested(const SurfaceHit& hit)
{
    if (!data_.loaded() || busy())
        return;
    Pick p;
    p.row = hit.row;
    p.col = hit.col;
    p.height = hit.height;
    p.at = readoutAt(data_, hit.row, hit.col);
    p.lonLat = lonLatOf(p.at);
    picks_.add(p);
    showPicks(true);
}

void Session::showPicks(bool raise)
{
    ViewState v = view();
    v.picks.clear();
    for (const Pick& p : picks_.picks())
        v.picks.push_back({p.row, p.col, p.height, p.number});
    viewer().setView(v);
    viewer().redraw();
    PicksWindow* w = picksWindow();
    if (!w && raise) {
        picksWindow_ = w = new PicksWindow(*this);
        picksWindowAlive_ = std::make_unique<Fl_Widget_Tracker>(w);
        int sx = 0, sy = 0, sw = 0, sh = 0;
        Fl::screen_work_area(sx, sy, sw, sh, window_->x(), window_->y());
        const Rect at = picksWindowPlace({window_->x(), window_->y(), window_->w(), window_->h()}, w->w(), w->h(),
                                         {sx, sy, sw, sh});
        w->position(at.x, at.y);
    }
    if (w && (raise || w->shown()))
        w->showPicks(raise);
}

PicksWindow* Session::picksWindow() const
{
    return picksWindowAlive_ && picksWindowAlive_->exists() ? picksWindow_ : nullptr;
}

void Session::refreshPicks(bool sameGrid)
{
    if (picks_.empty())
        return;
    if (sameGrid)
        picks_.update([&](Pick& p) { p.at = readoutAt(data_, p.row, p.col); });
    else
        picks_.clear();
    showPicks(false);
}

bool Session::picksGeographic() const { return data_.loaded() && data_.header().crs.geographic; }

void Session::removePick(std::size_t index)
{
    if (picks_.remove(index))
        showPicks(false);
}

void Session::clearPicks()
{
    picks_.clear();
    showPicks(false);
}

void Session::profileThroughPick(std::size_t index, bool alongRow)
{
    if (index >= picks_.size() || !data_.loaded())
        return;
    const CellReadout& at = picks_.picks()[index].at;
    // The counter counts rows from the south and columns from 1.
    window_->profileCounter->value(alongRow ? data_.rows() - 1 - at.row : at.col + 1);
    setProfileDirection(alongRow ? VERTP : HORIZ);
    if (!view().plotProfile)
        requestSwitch(ViewSwitch::profile, true, Needs::dem);
}

void Session::picksWindowShown(bool shown)
{
    ViewState v = view();
    v.crossHair = shown;
    viewer().setView(v);
    viewer().redraw();
}

std::string Session::proposedPicksPath() const { return outputPathBeside(files_.dem, "_picks.csv", "picks.csv"); }

LoadStatus Session::openFiles(const OpenChoice& choice)
{
    const bool two = !choice.comparison.empty();
    LoadRequest request;
    request.demPath = choice.dem;
    request.comparisonPath = choice.comparison;
    request.exaggeration = choice.exaggeration;
    request.units = {view().curveUnits, view().diffUnits};
    // The contour interval is detected while the comparison grid is read.
    request.options.kind = comparisonKindOfFile(choice.kind);
    request.options.align = choice.align;
    Loaded l = loadBusy([&](const LoadProgress& progress) { return loadDataSet(request, io_, messages_, progress); });
    if (!l.status.ok())
        return l.status;

    // Loaded: from here on these are the files in use.
    install(std::move(l.dataSet));
    files_.count = two ? 2 : 1;
    files_.kind = two ? choice.kind : 0;
    files_.dem = choice.dem;
    files_.comparison = choice.comparison;
    lastOpened_ = two ? choice.comparison : choice.dem;
    ViewState v = view();
    v.treeLine = choice.treeLine;
    v.slope = static_cast<float>(choice.vegetationSlope);
    viewer().setView(v);
    window_->showExaggeration(choice.exaggeration);
    window_->showFiles(files_.dem, files_.comparison, two ? data_.comparison().alignment : Alignment{});
    window_->showHeader(data_.header());
    showState();
    return l.status;
}

LoadStatus Session::changeComparison(const std::string& path, int kind, bool align)
{
    LoadOptions options;
    options.kind = comparisonKindOfFile(kind);
    options.align = align;
    const ClassUnits units{view().curveUnits, view().diffUnits};
    Loaded l = loadBusy([&](const LoadProgress& progress) {
        return replaceComparison(data_, path, options, units, io_, messages_, progress);
    });
    if (!l.status.ok())
        return l.status;
    install(std::move(l.dataSet));
    files_.count = 2;
    files_.kind = kind;
    files_.comparison = path;
    lastOpened_ = path;
    window_->showFiles(files_.dem, files_.comparison, data_.comparison().alignment);
    showState();
    return l.status;
}

LoadStatus Session::useShiftedComparison(GridData grid)
{
    const ClassUnits units{view().curveUnits, view().diffUnits};
    Loaded l = loadBusy([&](const LoadProgress&) {
        return replaceComparison(data_, std::move(grid), ComparisonKind::dem, units, messages_);
    });
    if (!l.status.ok())
        return l.status;
    install(std::move(l.dataSet));
    // The file in use stays the one opened; the status row says it is moved.
    window_->showComparisonNote(files_.comparison + " (co-registered)");
    showState();
    viewer().redraw();
    return l.status;
}

WorkEnd Session::runCancellable(const std::string& firstLabel, const std::function<void(BusyWork&)>& work)
{
    return busy_.computeCancellable(firstLabel, work);
}

// --- checkpoints and stable terrain -------------------------------------------------

bool Session::openCheckpoints(const CheckpointChoice& choice, std::string& why)
{
    if (!data_.loaded()) {
        why = "Open a DEM before its checkpoints.";
        return false;
    }
    if (!points_.readPoints) {
        why = "Checkpoints are read through GDAL, which this program was built without.";
        return false;
    }
    PointSource source = choice.source;
    source.demWkt = data_.header().projection;
    std::vector<Checkpoint> points;
    bool read = false;
    // The first read loads GDAL, which takes a moment.
    if (!busy_.compute([&] { read = points_.readPoints(source, points, why); })) {
        why = "Another load or analysis is running.";
        return false;
    }
    if (!read)
        return false;
    if (points.empty()) {
        why = "\"" + source.path + "\" holds no checkpoint.";
        return false;
    }
    const std::vector<double> bounds = defaultSlopeBounds();
    CheckpointAssessment a =
        assessCheckpoints(data_.demView(), data_.header(), data_.spacing(), points, bounds, choice.classes);
    if (a.report.all.count == 0) {
        why = noCheckpointOnDemText(a);
        return false;
    }
    data_.setCheckpoints(std::move(points), source.path, choice.classes, std::move(a));
    lastOpened_ = source.path;
    focusViewer();
    return true;
}

bool Session::applyStableTerrain(const StableTerrainChoice& choice, std::string& why)
{
    if (!data_.hasComparison()) {
        why = "Stable terrain needs comparison data: open a comparison grid first.";
        return false;
    }
    StableTerrainRules rules = choice.rules;
    if (!choice.mask.path.empty() && !points_.readMask) {
        why = "Masks are read through GDAL, which this program was built without.";
        return false;
    }
    bool applied = false;
    // The mask's reading and the rules' rounds take a while on a large grid;
    // the viewer holds its picture meanwhile.
    const bool ran = busy_.compute([&] {
        if (!choice.mask.path.empty() && !points_.readMask(choice.mask, data_.header(), rules.mask, why))
            return;
        applied = data_.setStableTerrain(rules, why);
    });
    if (!ran) {
        why = "Another load or analysis is running.";
        return false;
    }
    if (!applied)
        return false;
    stableChoice_ = choice;
    if (!choice.mask.path.empty())
        lastOpened_ = choice.mask.path;
    // Repainted only: the dialog stays in front for the next rule.
    viewer().redraw();
    return true;
}

void Session::clearStableTerrain()
{
    data_.clearStableTerrain();
    stableChoice_.reset();
    viewer().redraw();
}

const StableTerrainChoice* Session::stableTerrainChoice() const
{
    return stableChoice_ && data_.hasStableTerrain() ? &*stableChoice_ : nullptr;
}

bool Session::ensureHeightClasses(std::string& why)
{
    messages_.clearNotice();
    if (data_.computeHeightClasses(messages_))
        return true;
    why = messages_.lastNotice();
    return false;
}

std::string Session::chooserStartDirectory() const { return chooserDirectory(lastOpened_, commandLineDem_); }

// --- the viewer's keys ------------------------------------------------------------

const char* Session::askEyeValue(float current)
{
    char now[32];
    std::snprintf(now, sizeof now, "%g", current);
    const char* typed = fl_input("New eye value: ", now);
    if (!typed)
        return nullptr;
    eyeText_ = typed;
    return eyeText_.c_str();
}

void Session::quitRequested() { std::exit(1); }

} // namespace orolith::ui

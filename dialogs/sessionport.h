// What the dialogs may ask of the program: the data set and files in use,
// loads and long analyses run with the program busy, the class units, and
// the windows to place themselves over. The session behind the main window
// implements it; a dialog keeps the port it was opened with and includes
// nothing of the application around it.
#ifndef OROLITH_DIALOGS_SESSIONPORT_H
#define OROLITH_DIALOGS_SESSIONPORT_H

#include <functional>
#include <string>

#include "dialogs/busywork.h"
#include "dialogs/checkpointfields.h"
#include "dialogs/names.h"
#include "dialogs/stableterrainfields.h"
#include "model/dataset.h"
#include "model/load.h"
#include "model/messages.h"
#include "render/viewstate.h"

class Fl_Window;

namespace orolith::render {
class Viewer;
}

namespace orolith::ui {

// The files in use, as the last successful load left them.
struct FilesInUse {
    int count = 0;   // 0 nothing loaded, 1 a DEM alone, 2 a DEM with comparison data
    int kind = 0;    // the comparison file's kind code: 0 none, DEM, SPARSEF or CONTF
    std::string dem; // empty before a DEM is loaded
    std::string comparison;
};

// What an open dialog asks to load.
struct OpenChoice {
    std::string dem;
    std::string comparison; // empty: the DEM alone
    int kind = 0;           // the comparison's kind code
    int exaggeration = 1;
    int treeLine = 4100;
    int vegetationSlope = 10; // degrees
    bool align = false;       // resample a comparison grid that lies elsewhere
};

// Kinds of graph the "Graph" menu entry may show: the one chosen last.
enum class GraphKind { curvature, difference, heightClasses };

class SessionPort {
public:
    virtual ~SessionPort() = default;

    virtual const DataSet& dataSet() const = 0;
    virtual const FilesInUse& files() const = 0;
    virtual const ViewState& view() const = 0;
    virtual Fl_Window* mainWindow() = 0;
    virtual Viewer& viewer() = 0;

    // Where the model's progress lines and notices go (the terminal the
    // program was started from).
    virtual Messages& messages() = 0;

    // A load or analysis is running: nothing else may start.
    virtual bool busy() const = 0;

    // Loads with the program busy and its progress in the status row. Only
    // a load that succeeds replaces the data set in use; the panel, menu,
    // status row and viewer then follow it. Refused (failed, with no
    // error) while another load runs.
    virtual LoadStatus openFiles(const OpenChoice& choice) = 0;
    // New comparison data for the DEM in use.
    virtual LoadStatus changeComparison(const std::string& path, int kind, bool align) = 0;
    // The comparison grid moved by co-registration in place of the one in
    // use; the status row says it is co-registered.
    virtual LoadStatus useShiftedComparison(GridData grid) = 0;

    // Runs `work` on a thread of its own with the program busy, the bar
    // showing what it reports and a Cancel button beside it.
    virtual WorkEnd runCancellable(const std::string& firstLabel, const std::function<void(BusyWork&)>& work) = 0;

    // Checkpoints read as `choice` says, in the DEM's coordinate system,
    // and assessed against the DEM in use; the viewer then shows them.
    // False, with why, and nothing changed, when the file cannot be read
    // as points or none of them lies on the DEM's present cells.
    virtual bool openCheckpoints(const CheckpointChoice& choice, std::string& why) = 0;

    // Stable terrain: the mask file put on the DEM's grid, then the rules
    // applied to the comparison in use; the accuracy analyses take only
    // the points they keep, and the viewer dims the others. False, with
    // why, and nothing changed, when the mask cannot be read or the rules
    // keep no point.
    virtual bool applyStableTerrain(const StableTerrainChoice& choice, std::string& why) = 0;
    // Every point present in both grids counts again.
    virtual void clearStableTerrain() = 0;
    // The choice in force; null while no rule is.
    virtual const StableTerrainChoice* stableTerrainChoice() const = 0;

    // The units of the curvature and difference classes.
    virtual double curvatureUnit() const = 0;
    virtual double differenceUnit() const = 0;
    // A new curvature unit: the panel's counter and legend show it and the
    // classes follow.
    virtual void setCurvatureUnit(double unit) = 0;
    // The mesh's vertical exaggeration now.
    virtual int exaggeration() const = 0;

    // The height classes of the comparison's contour interval, computed
    // anew; false, with the reason, when there is no interval to class by.
    virtual bool ensureHeightClasses(std::string& why) = 0;

    virtual GraphKind lastGraph() const = 0;
    virtual void setLastGraph(GraphKind kind) = 0;

    // Repaints the viewer and gives it the keys back.
    virtual void focusViewer() = 0;

    // Where the file choosers open: beside the file opened last, else the
    // DEM named on the command line.
    virtual std::string chooserStartDirectory() const = 0;
    // Rasters other than text grids can be read: the choosers offer them.
    virtual bool readsRasters() const = 0;
    // The DEM named on the command line while no open dialog has been used
    // (the open dialogs offer it), else empty.
    virtual std::string startupDem() const = 0;
    // An open dialog's Open was pressed: the command-line DEM has had its
    // one offer.
    virtual void forgetStartupDem() = 0;
};

} // namespace orolith::ui

#endif

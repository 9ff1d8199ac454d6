#include "dialogs/reportsave.h"

#include <chrono>
#include <optional>

#include "dialogs/busywork.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/paths.h"
#include "dialogs/version.h"
#include "model/dataset.h"
#include "model/metrics.h"
#include "report/accuracydocument.h"
#include "report/reportfile.h"

namespace orolith::ui {

std::string reportPathBeside(const std::string& demPath)
{
    return outputPathBeside(demPath, "_report.html", "report.html");
}

void saveAccuracyReport(SessionPort& port, const Coregistration* shift, Fl_Window* over)
{
    const DataSet& d = port.dataSet();
    // A report needs comparison data: a grid or checkpoints.
    if (!(d.hasComparison() || d.hasCheckpoints()) || port.busy())
        return;
    const std::string path =
        chooseSavePath("Save Report", "HTML page (*.html)\tPDF document (*.pdf)", reportPathBeside(port.files().dem));
    if (path.empty())
        return;
    ReportFormat format;
    if (!reportFormatOf(path, format)) {
        errorMessage("A report is saved as an HTML page (.html) or a PDF document (.pdf): \"" + path + "\".", over);
        return;
    }
    const auto start = std::chrono::steady_clock::now();
    ReportRequest request;
    request.version = programVersion();
    request.slopeBounds = defaultSlopeBounds();
    request.curvatureUnit = static_cast<float>(port.curvatureUnit());
    request.differenceUnit = static_cast<float>(port.differenceUnit());
    std::string error;
    bool written = false;
    // The data set stays as it is while the program is busy: the work
    // reads it on the worker thread.
    const WorkEnd end = port.runCancellable("Making the report", [&](BusyWork& work) {
        AccuracyDocument doc = collectDocument(d, shift, request);
        if (work.cancelled())
            return;
        work.report("Writing the report", 0.8);
        stampDocument(doc, start);
        written = writeAccuracyReport(doc, path, error);
    });
    if (end == WorkEnd::done && !written)
        errorMessage(error, over);
}

} // namespace orolith::ui

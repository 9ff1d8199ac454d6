#include "dialogs/saveoutputs.h"

#include <fstream>

#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/names.h"
#include "dialogs/paths.h"
#include "render/pngfile.h"
#include "render/profilecsv.h"
#include "render/viewer.h"
#include "render/windowpicture.h"

namespace orolith::ui {

// Both entries are inactive until a data set is loaded; a call made anyway
// (from code) saves nothing.

void saveImage(SessionPort& port)
{
    if (!port.dataSet().loaded() || port.busy())
        return;
    const std::string path =
        chooseSavePath("Save Image", "PNG images (*.png)", outputPathBeside(port.files().dem, ".png", "orolith.png"));
    if (path.empty())
        return;
    std::string why;
    Viewer& viewer = port.viewer();
    if (!writePng(path, viewer.w(), viewer.h(), windowPicture(viewer), why))
        errorMessage("Cannot write the picture to \"" + path + "\".");
}

void saveProfile(SessionPort& port)
{
    if (!port.dataSet().loaded() || port.busy())
        return;
    const std::string path = chooseSavePath("Save Profile", "CSV files (*.csv)",
                                            outputPathBeside(port.files().dem, "_profile.csv", "profile.csv"));
    if (path.empty())
        return;
    if (!writeTextFile(path, shownProfileCsv(port.dataSet(), port.view())))
        errorMessage("Cannot write the profile to \"" + path + "\".");
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

} // namespace orolith::ui

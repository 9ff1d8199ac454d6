#include "dialogs/saveoutputs.h"

#include <cstdio>
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
    // Whole or not at all: written under another name beside it and then
    // put in its place, so that a full disk never leaves half a file where
    // the user's old one was.
    const std::string part = path + ".part";
    std::ofstream out(part, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out || std::rename(part.c_str(), path.c_str()) != 0) {
        std::remove(part.c_str());
        return false;
    }
    return true;
}

} // namespace orolith::ui

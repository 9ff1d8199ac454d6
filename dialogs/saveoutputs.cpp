#include "dialogs/saveoutputs.h"

#include <fstream>

#include "app/busy.h"
#include "app/glviewerGUI.h"
#include "dialogs/errorwindow.h"
#include "dialogs/filechooser.h"
#include "dialogs/openfile.h"
#include "dialogs/paths.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"
#include "render/pngfile.h"
#include "render/profilecsv.h"
#include "render/windowpicture.h"

// Both entries are inactive until a data set is loaded; a call made anyway
// (from code) saves nothing.

void saveImage(Fl_Widget*, void*)
{
    if (!haveDem() || busy())
        return;
    const std::string path =
        chooseSavePath("Save Image", "PNG images (*.png)", outputPathBeside(demInUse(), ".png", "orolith.png"));
    if (path.empty())
        return;
    std::string why;
    if (!writePng(path, gl->w(), gl->h(), windowPicture(*gl), why))
        errorMessage("Cannot write the picture to \"" + path + "\".");
}

void saveProfile(Fl_Widget*, void*)
{
    if (!haveDem() || busy())
        return;
    const std::string path = chooseSavePath("Save Profile", "CSV files (*.csv)",
                                            outputPathBeside(demInUse(), "_profile.csv", "profile.csv"));
    if (path.empty())
        return;
    if (!writeTextFile(path, shownProfileCsv()))
        errorMessage("Cannot write the profile to \"" + path + "\".");
}

bool writeTextFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

#include "dialogs/filechooser.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Input.H>

#include "dialogs/names.h"
#include "dialogs/paths.h"
#include "model/gridfile.h"

namespace orolith::ui {

namespace {

// The chooser's pick, empty on cancel.
std::string runChooser(const char* title, const char* pattern, const std::string& directory,
                       const std::string& proposed)
{
    Fl_File_Chooser chooser(directory.c_str(), pattern, Fl_File_Chooser::CREATE, title);
    if (!proposed.empty())
        chooser.value(proposed.c_str());
    chooser.show();
    while (chooser.shown())
        Fl::wait();
    const char* picked = chooser.value();
    return picked ? picked : "";
}

std::string askSavePath(const char* title, const char* pattern, const std::string& proposed)
{
    return runChooser(title, pattern, chooserDirectory(proposed, ""), proposed);
}

} // namespace

std::string (*chooseSavePath)(const char*, const char*, const std::string&) = askSavePath;

void chooseFile(Fl_Input* target, const char* title, const std::string& directory, bool rasters,
                const std::string& proposed)
{
    // The target's dialog may be closed while the chooser is up.
    Fl_Widget_Tracker targetAlive(target);
    const std::string picked = runChooser(title, gridPattern(rasters).c_str(), directory, proposed);
    if (!picked.empty() && targetAlive.exists())
        target->value(picked.c_str());
}

} // namespace orolith::ui

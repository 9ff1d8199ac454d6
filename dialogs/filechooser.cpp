#include "dialogs/filechooser.h"

#include <FL/Fl.H>
#include <FL/Fl_File_Chooser.H>
#include <FL/Fl_Input.H>

#include "dialogs/paths.h"

void chooseFile(Fl_Input* target, const char* title, const std::string& directory, const std::string& proposed)
{
    Fl_File_Chooser chooser(directory.c_str(), GRID_PATTERN, Fl_File_Chooser::CREATE, title);
    if (!proposed.empty())
        chooser.value(proposed.c_str());
    // The target's dialog may be closed while the chooser is up.
    Fl_Widget_Tracker targetAlive(target);
    chooser.show();
    while (chooser.shown())
        Fl::wait();
    const char* picked = chooser.value();
    if (picked && targetAlive.exists())
        target->value(picked);
}

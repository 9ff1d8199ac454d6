// The File menu's "Save Image..." and "Save Profile...": the viewer's
// picture as PNG and its profile as CSV, in files the user picks. A file
// that cannot be written is reported in the error window.
#ifndef OROLITH_DIALOGS_SAVEOUTPUTS_H
#define OROLITH_DIALOGS_SAVEOUTPUTS_H

#include <string>

#include "dialogs/names.h"
#include "dialogs/sessionport.h"

namespace orolith::ui {

// Both do nothing before a data set is loaded or while the program is busy.
void saveImage(SessionPort& port);
void saveProfile(SessionPort& port);

// Writes `text` to `path` as it is, whole or not at all; false when the file
// cannot be written.
// The statistics window's "Save..." writes its report with it too.
bool writeTextFile(const std::string& path, const std::string& text);

} // namespace orolith::ui

#endif

// File > Open... > "Checkpoints...": a chooser for the file of points, then
// one small dialog for its columns, its coordinate system and the classes
// of open and vegetated ground. "Open" hands them to the session, which
// reads and assesses the points; a failure leaves the dialog open with the
// reason over it.
#ifndef OROLITH_DIALOGS_CHECKPOINTDIALOG_H
#define OROLITH_DIALOGS_CHECKPOINTDIALOG_H

#include <FL/Fl_Window.H>

#include "dialogs/checkpointfields.h"
#include "dialogs/names.h"
#include "dialogs/sessionport.h"

class Fl_Input;

namespace orolith::ui {

class CheckpointDialog : public Fl_Window {
public:
    explicit CheckpointDialog(SessionPort& port);
    ~CheckpointDialog() override;

    // The fields as typed now.
    CheckpointFields fields() const;

    SessionPort& port;
    Fl_Input* file = nullptr;
    Fl_Input *x = nullptr, *y = nullptr, *z = nullptr, *pointClass = nullptr;
    Fl_Input* crs = nullptr;
    Fl_Input* open = nullptr;
    Fl_Input* vegetated = nullptr;
};

// The dialog built last (null once closed), for the tests.
extern CheckpointDialog* checkpointWin;

// The menu entry: the chooser, then, for a file picked, the dialog. Nothing
// without a DEM loaded.
void openCheckpointsDialog(SessionPort& port);

} // namespace orolith::ui

#endif

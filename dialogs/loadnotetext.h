// The "Note" window's text after an open: the notes of a load that
// succeeded but may not be what the user meant (model/loadnotes.h), in the
// viewer's words.
#ifndef OROLITH_DIALOGS_LOADNOTETEXT_H
#define OROLITH_DIALOGS_LOADNOTETEXT_H

#include "dialogs/names.h"
#include <string>
#include <vector>

namespace orolith::ui {

// The notes one after the other, a blank line between them, each without
// its leading "Note: " (the window's title says it) and with the command
// line's advice put as the open dialogs offer it: a comparison grid's kind
// is the dialog's "Sparse File" or "Contour File" box, and the viewer has
// no --geographic. Empty when there is no note: no window then.
std::string loadNotesMessage(const std::vector<std::string>& notes);

} // namespace orolith::ui

#endif

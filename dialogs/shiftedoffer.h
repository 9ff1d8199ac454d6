// What the "Co-registration" window offers for the comparison grid moved
// back by the shift. A shift that did not lower the NMAD was not applied:
// the grid the window holds is the comparison grid as it was, and loading
// it would only pretend to analyse a moved grid.
#ifndef OROLITH_DIALOGS_SHIFTEDOFFER_H
#define OROLITH_DIALOGS_SHIFTEDOFFER_H

#include "dialogs/names.h"
#include "model/coregister.h"

namespace orolith::ui {

struct ShiftedGridOffer {
    const char* label; // of the window's button
    bool usable;       // the button is active and puts the grid in use
};

ShiftedGridOffer shiftedGridOffer(const Coregistration& c);

} // namespace orolith::ui

#endif

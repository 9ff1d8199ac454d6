#include "dialogs/shiftedoffer.h"
#include "dialogs/names.h"

namespace orolith::ui {

ShiftedGridOffer shiftedGridOffer(const Coregistration& c)
{
    if (c.ok && c.improved)
        return {"Analyse the shifted grid", true};
    return {"No shifted grid to analyse", false};
}

} // namespace orolith::ui

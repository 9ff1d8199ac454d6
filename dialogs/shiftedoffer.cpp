#include "dialogs/shiftedoffer.h"

ShiftedGridOffer shiftedGridOffer(const Coregistration& c)
{
    if (c.ok && c.improved)
        return {"Analyse the shifted grid", true};
    return {"No shifted grid to analyse", false};
}

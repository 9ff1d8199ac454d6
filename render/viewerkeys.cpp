#include "render/viewerkeys.h"

#include "render/names.h"
#include <FL/Enumerations.H>

namespace orolith::render {

KeyAction keyAction(int key, int state, const KeyContext& context)
{
    using K = KeyAction;
    if (state & (FL_CTRL | FL_ALT | FL_META))
        return K::none;
    const bool shift = (state & FL_SHIFT) != 0;
    auto withDem = [&](K a) { return context.dem ? a : K::none; };
    switch (key) {
    case '8':
    case 'k': return K::xPlus1;
    case '2':
    case 'm':
    case ',': return K::xMinus1;
    case '6': return K::zPlus1;
    case '4':
    case 'j': return K::zMinus1;
    case 'x': return shift ? K::xPlus90 : K::xMinus90;
    case 'z': return shift ? K::zPlus90 : K::zMinus90;
    case 't': return K::topView;
    case 's': return K::sideView;
    case 'r': return shift ? K::none : K::resetView;
    case 'i': return K::eyeAway;
    case 'o': return K::eyeCloser;
    case 'e': return K::askEye;
    case '=': return withDem(K::exaggerationUp);
    case '-': return withDem(K::exaggerationDown);
    case '7': return K::sunEast;
    case '9': return K::sunWest;
    case ' ': return withDem(K::pickCentre);
    case 'q':
    case FL_Escape: return K::quit;
    }
    return K::none;
}

} // namespace orolith::render

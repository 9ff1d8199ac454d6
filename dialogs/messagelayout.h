// The size of a message window (the "File Error" window and the other
// notes the dialogs show) for a message of a given measured size: wide and
// tall enough for the whole text, never smaller than 200 x 100, with the
// "OK" button centred below the text.
#ifndef OROLITH_DIALOGS_MESSAGELAYOUT_H
#define OROLITH_DIALOGS_MESSAGELAYOUT_H
#include "dialogs/names.h"

namespace orolith::ui {

struct Rect {
    int x, y, w, h;
};

struct MessageLayout {
    int w, h;  // the window
    Rect text; // the box that carries the message
    Rect ok;   // the "OK" button
};

// Widest a message may be before its lines are wrapped at blanks; a word
// longer than this (a long path) widens the window instead of being cut.
constexpr int MESSAGE_WRAP_WIDTH = 460;

// textW and textH: the message's size in pixels as the toolkit measures it,
// wrapped at MESSAGE_WRAP_WIDTH.
MessageLayout messageLayout(int textW, int textH);

} // namespace orolith::ui

#endif

// Callbacks of the tool panel and the menu bar. Each reads its widget, calls
// the viewer operation and asks for a repaint; a test can call one directly
// after setting a widget's value, as a click would.
#ifndef OROLITH_APP_CALLBACKS_H
#define OROLITH_APP_CALLBACKS_H

class Fl_Widget;

// Panel check boxes. A panel callback flips its menu entry's mark unless a
// menu callback forwarded to it (NOT_MENU false), switches off the other
// boxes of its exclusion group, then flips the viewer's flag.
void drawMagnifier(Fl_Widget*, void*);
void lightfn(Fl_Widget*, void*);
void axesfn(Fl_Widget*, void*);
void contfn(Fl_Widget*, void*);
void sunCall(Fl_Widget*, void*);
void colorfn(Fl_Widget*, void*);
void slopeFn(Fl_Widget*, void*);
void heights(Fl_Widget*, void*);
void Cerrfn(Fl_Widget*, void*);
void lerrfn(Fl_Widget*, void*);
void curverrfn(Fl_Widget*, void*);
void proffn(Fl_Widget*, void*);
void glyphfn(Fl_Widget*, void*);

// Their menu twins: flip the box and forward to the panel callback.
void drawMagnifierM(Fl_Widget*, void*);
void lightfnM(Fl_Widget*, void*);
void axesfnM(Fl_Widget*, void*);
void contfnM(Fl_Widget*, void*);
void sunCallM(Fl_Widget*, void*);
void colorM(Fl_Widget*, void*);
void slopeM(Fl_Widget*, void*);
void heightsM(Fl_Widget*, void*);
void CerrfnM(Fl_Widget*, void*);
void lerrfnM(Fl_Widget*, void*);

// View buttons and their menu entries.
void ZoomInButton_callback(Fl_Widget*, void*);
void ZoomOutButton_callback(Fl_Widget*, void*);
void XPlus90Button_callback(Fl_Widget*, void*);
void XMinus90Button_callback(Fl_Widget*, void*);
void ZPlus90Button_callback(Fl_Widget*, void*);
void ZMinus90Button_callback(Fl_Widget*, void*);
void TopButton_callback(Fl_Widget*, void*);
void SideButton_callback(Fl_Widget*, void*);
void ResetButton_callback(Fl_Widget*, void*);

// Sun, counters and profile direction.
void sunPlusFN(Fl_Widget*, void*);
void sunMinusFN(Fl_Widget*, void*);
void vChange(Fl_Widget*, void*);
void pChange(Fl_Widget*, void*);
void profV(Fl_Widget*, void*);
void profH(Fl_Widget*, void*);

// "Display/Hide Tools"; "E&xit" and the main window's close box, which end
// the program with status 0.
void tools(Fl_Widget*, void*);
void quit(Fl_Widget*, void*);

// Make the tools that the data set in use (FILE_CONST, fileType) allows
// active and the other data-dependent ones inactive, or every
// data-dependent tool inactive. Neither changes a box's value, a menu mark
// or a viewer flag, except that activation shows the lighting box as the
// viewer's lighting actually is.
void activateTools();
void deactivateTools();

#endif

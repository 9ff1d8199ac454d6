// The statistics report window.
#ifndef OROLITH_DIALOGS_STATSREPORT_H
#define OROLITH_DIALOGS_STATSREPORT_H

class Fl_Widget;

void stats(Fl_Widget*, void*); // "Statistics" button and menu entry

#endif

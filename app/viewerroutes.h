// The shell's side of the viewer's keys (render/viewerhooks.h): a key with
// a check box on the tool panel acts as a click on that box, and a key that
// changes the exaggeration shows it in the "Vertical Exageration:" counter.
#ifndef OROLITH_APP_VIEWERROUTES_H
#define OROLITH_APP_VIEWERROUTES_H

// Called once the widgets exist (buildMainWindow).
void connectViewerToPanel();

#endif

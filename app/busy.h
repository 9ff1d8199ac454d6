// While a data set loads or a long analysis runs, the program is busy:
// every window of it is inactive and shows a busy cursor, no click, key or
// close box reaches a callback, and the viewer keeps the picture of the
// data set in use (render/surfacecache.h, holdSurface). The windows are
// still repainted and can be moved. So nothing can start another load or
// analysis until the one running ends.
#ifndef OROLITH_APP_BUSY_H
#define OROLITH_APP_BUSY_H

#include <functional>

// A load or analysis is running.
bool busy();

// Runs a load (MyWindow::Begin or changeFile) with the program busy and the
// status row's bar following the load's stages. Returns what `load`
// returned; false, without running it, while another one runs.
bool loadWhileBusy(const std::function<bool()>& load);

// Runs `work` on a thread of its own with the program busy, repainting the
// windows until it ends. `work` may read the model but not change it. False,
// without running it, while another load or analysis runs.
bool computeWhileBusy(const std::function<void()>& work);

#endif

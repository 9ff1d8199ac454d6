// orolith: the viewer, or with an option one of the command-line modes.
#include <iostream>

#include "app/cli.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif
#ifdef OROLITH_HAVE_GUI
#include "app/viewerapp.h"
#endif

using namespace orolith::ui;

int main(int argc, char** argv)
{
#ifdef OROLITH_HAVE_GDAL
    // Every file that is not a text grid goes to GDAL, loaded then.
    const GridIo io = gdalOnDemandGridIo();
#else
    const GridIo io;
#endif
    if (isCommandLineMode(argc, argv))
        return runCommandLine(argc, argv, io);
#ifdef OROLITH_HAVE_GUI
        // No option: the viewer, with an optional DEM path kept for the first
        // open dialog.
#ifdef OROLITH_HAVE_GDAL
    return runViewer(argc, argv, io, PointIo{readPointsOnDemand, readMaskOnDemand});
#else
    return runViewer(argc, argv, io);
#endif
#else
    // Built without the viewer: show what the program can do.
    std::cout << usageText();
    return 0;
#endif
}

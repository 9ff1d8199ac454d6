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
    PointIo points{readPointsOnDemand, readMaskOnDemand};
    // Built once a DEM is in use (GDAL opens its database of systems then),
    // so that a mouse move costs a microsecond.
    points.lonLatFor = [](const GridHeader& dem) -> LonLatOf {
        const LonLatTransform toLonLat = lonLatOnDemand(dem);
        if (!toLonLat)
            return {};
        return [toLonLat](double x, double y) { return toLonLat(x, y); };
    };
    return runViewer(argc, argv, io, points);
#else
    return runViewer(argc, argv, io);
#endif
#else
    // Built without the viewer: show what the program can do.
    std::cout << usageText();
    return 0;
#endif
}

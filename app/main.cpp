// orolith: the viewer, or with an option one of the command-line modes.
#include <iostream>

#include "app/cli.h"
#ifdef OROLITH_HAVE_GDAL
#include "app/gdalondemand.h"
#endif
#ifdef OROLITH_HAVE_GUI
#include "app/glviewerGUI.h"
#endif

int main(int argc, char** argv)
{
#ifdef OROLITH_HAVE_GDAL
    registerGdalOnDemand(); // every file that is not a text grid goes to GDAL, loaded then
#endif
    if (isCommandLineMode(argc, argv))
        return runCommandLine(argc, argv);
#ifdef OROLITH_HAVE_GUI
    // No option: the viewer, with an optional DEM path kept for the first
    // open dialog.
    return runViewer(argc, argv);
#else
    // Built without the viewer: show what the program can do.
    std::cout << usageText();
    return 0;
#endif
}

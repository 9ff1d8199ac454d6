// Shared set-up of the main-window tests: a freshly built main window, the
// viewer's flags back at their start values, and helpers to look at the
// window as a user would. The tests run under Xvfb (DISPLAY set by the runner).
#ifndef OROLITH_TESTS_GUI_MAINWINDOW_FIXTURES_H
#define OROLITH_TESTS_GUI_MAINWINDOW_FIXTURES_H

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Menu_Item.H>
#include <FL/Fl_Window.H>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "app/glviewerGUI.h"
#include "dialogs/openfile.h"
#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/viewstate.h"

namespace mainwindow_test {

// The view-state flags the tool callbacks switch, back at start values.
inline void resetViewFlags()
{
    lighting = 1;
    drawColors = drawAxes = drawContours = drawCurveColor = drawDiffColor = false;
    drawCurveDiff = drawSun = colorSlope = colorHeightClasses = false;
    plotProfile = showGlyphs = magnify = false;
    profView = VERTP;
    profileXpos = profileYpos = 0;
}

// A DEM of 4 x 4 cells, written inline: a gentle slope with one bump.
inline const char* tinyDem()
{
    return "ncols 4\n"
           "nrows 4\n"
           "xllcorner 1000\n"
           "yllcorner 2000\n"
           "cellsize 10\n"
           "NODATA_value -9999\n"
           "100 101 102 103\n"
           "101 110 103 104\n"
           "102 103 104 105\n"
           "103 104 105 106\n";
}

// The same DEM as comparison data with a 1 m step somewhere.
inline const char* tinyComparison()
{
    return "ncols 4\n"
           "nrows 4\n"
           "xllcorner 1000\n"
           "yllcorner 2000\n"
           "cellsize 10\n"
           "NODATA_value -9999\n"
           "100 101 102 103\n"
           "101 109 103 104\n"
           "102 103 104 105\n"
           "103 104 105 107\n";
}

// Named after the process: test programs running side by side must not
// read each other's half-written files.
inline std::string writeTempFile(const std::string& name, const char* text)
{
    std::string path = ::testing::TempDir() + std::to_string(getpid()) + '_' + name;
    std::ofstream(path) << text;
    return path;
}

// The main window as start-up builds it, before it is shown.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetViewFlags();
        FILE_CONST = 0;
        initFiles = 0;
        filename = nullptr;
        static char program[] = "orolith";
        char* argv[] = {program, nullptr};
        int argc = 1;
        buildMainWindow(argc, argv);
    }

    static Fl_Menu_Item& entry(int pos)
    {
        return const_cast<Fl_Menu_Item*>(menubar->menu())[pos];
    }

    // Loads the tiny DEM (and with files 2 the comparison grid) through the
    // viewer as the open dialog does, and sets FILE_CONST as its dialog would.
    static void loadTinyData(int files)
    {
        const std::string dem = writeTempFile("orolith_tiny_dem.grd", tinyDem());
        const std::string comp = writeTempFile("orolith_tiny_comp.grd", tinyComparison());
        FILE_CONST = files;
        float xll = 0, yll = 0, cs = 0;
        ASSERT_TRUE(gl->Begin(50, true, files, dem.c_str(), files == 2 ? comp.c_str() : "", 1,
                              files == 2 ? DEM : 0, 1800, 20, xll, yll, cs))
            << "the tiny data set would not load";
    }
};

} // namespace mainwindow_test

#endif

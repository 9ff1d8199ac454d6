// Shared set-up of the GUI tests, which run under Xvfb with Mesa's software
// renderer: pictures compared pixel by pixel, the state of a fresh start,
// the bare viewer and the main window.
#ifndef OROLITH_TESTS_GUI_GUI_FIXTURES_H
#define OROLITH_TESTS_GUI_GUI_FIXTURES_H

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>
#include <FL/Fl_Window.H>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/glviewerGUI.h"
#include "dialogs/openfile.h"
#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/viewstate.h"
#include "tests/image/png_decode.h"

namespace gui_test {

constexpr int W = 650, H = 625; // the viewer at start-up
// The centre of its picture, where the model's origin is seen from straight
// above: the viewport fills the widget.
constexpr int CX = W / 2, CY = H / 2;

// Pixels of the rectangle [x0, x1) x [y0, y1) of a, every step-th column and
// row, that differ from b's by more than 2 levels in a channel.
inline int differing(const Image& a, const Image& b, int step = 1, int x0 = 0, int y0 = 0, int x1 = W, int y1 = H)
{
    int n = 0;
    for (int y = y0; y < y1; y += step)
        for (int x = x0; x < x1; x += step)
            n += !near(a.at(x, y), b.at(x, y).r, b.at(x, y).g, b.at(x, y).b);
    return n;
}

inline std::string testName()
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(info->test_suite_name()) + "_" + info->name();
}

inline std::string sampleData(const char* name) { return std::string(OROLITH_DATA_DIR) + "/" + name; }

// The view and shell state of a freshly started program.
inline void resetViewState()
{
    OPEN = REDRAW = false;
    FILES = FILE_CONST = initFiles = 0;
    filename = nullptr;
    TREELINE = 4100;
    SLOPE = 10.0f;
    eyevalue = STARTEYE;
    xrotation = XROTATE;
    zrotation = ZROTATE;
    xtranslate = ytranslate = magTransX = magTransY = 0;
    position0[0] = XPOS, position0[1] = 0, position0[2] = ZPOS, position0[3] = 1;
    lighting = 1;
    drawTriangles = true;
    drawColors = drawAxes = drawContours = drawPoints = drawCurveColor = drawDiffColor = drawDiff = false;
    drawCurveDiff = drawSun = colorSlope = colorHeightClasses = plotProfile = showGlyphs = magnify = false;
    polygonOutline = false;
    lButtonState = rButtonState = mButtonState = false;
    profView = VERTP;
    profileXpos = profileYpos = 0;
    curveUnits = diffUnits = 1.0f;
}

// The main window as start-up builds it, not shown.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetViewState();
        static char program[] = "orolith";
        char* argv[] = {program, nullptr};
        int argc = 1;
        buildMainWindow(argc, argv);
    }

    static Fl_Menu_Item& entry(int pos) { return const_cast<Fl_Menu_Item*>(menubar->menu())[pos]; }
};

// Loads as the open dialog does, the comparison grid when one is named.
inline bool load(const std::string& dem, const std::string& comp = "", int kind = 0, int treeLine = 4100,
                 int vegSlope = 10)
{
    double xll, yll, cs;
    return gl->Begin(vegSlope, true, comp.empty() ? 1 : 2, dem.c_str(), comp.c_str(), 1, kind, treeLine, 0,
                     xll, yll, cs);
}

// The viewer drawn off the event loop (twice, as a double-buffered window
// would be) and read back from the back buffer. Its window must be shown.
inline Image drawnViewer()
{
    gl->make_current();
    gl->draw();
    gl->draw();
    glFinish();
    Image img;
    img.w = gl->w();
    img.h = gl->h();
    const std::size_t row = static_cast<std::size_t>(img.w) * 3;
    std::vector<unsigned char> bottomUp(row * img.h);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, img.w, img.h, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    for (int y = img.h - 1; y >= 0; --y)
        img.rgb.insert(img.rgb.end(), bottomUp.begin() + y * row, bottomUp.begin() + (y + 1) * row);
    return img;
}

// The main window shown, its viewer drawn off the event loop and read back
// from the back buffer. The first picture a check fails on is saved for a
// person to look at.
class ViewerTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        win->show();
        for (int k = 0; k < 5; ++k) {
            Fl::check();
            Fl::flush();
        }
    }
    void TearDown() override
    {
        keepOnFailure();
        win->hide();
        Fl::check();
    }
    void keepOnFailure()
    {
        if (HasFailure() && !kept && last.w) {
            const std::string path = std::string(OROLITH_SHOT_DIR) + "/failed_" + testName() + ".ppm";
            last.save(path);
            std::cout << "picture saved to " << path << std::endl;
            kept = true;
        }
    }

    Image grab()
    {
        keepOnFailure();
        return last = drawnViewer();
    }
    Image last;
    bool kept = false;
};

// Screen position of grid point (row, col) of a flat grid seen from straight
// above at the start eye distance: the model origin is the centre of the
// viewport, which fills the widget; its shorter side (the height) spans the
// frustum's 0.4 at the near plane 18 units from the eye.
constexpr double PX_PER_UNIT = H / (2 * 0.2 * 100 / 18);
inline void gridToScreen(int rows, int cols, float row, float col, int& x, int& y)
{
    const double extent = rows > cols ? rows : cols;
    x = static_cast<int>(W / 2.0 + (col - (cols - 1) / 2.0) * 2 / extent * PX_PER_UNIT);
    y = static_cast<int>(H / 2.0 - ((rows - 1) / 2.0 - row) * 2 / extent * PX_PER_UNIT);
}

} // namespace gui_test

#endif

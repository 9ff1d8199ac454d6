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

#include <GL/freeglut.h>

#include <memory>

#include "app/mainwindow.h"
#include "app/session.h"
#include "dialogs/openchecks.h"
#include "dialogs/openfile.h"
#include "render/viewer.h"
#include "render/viewstate.h"
#include "tests/image/png_decode.h"
#ifdef OROLITH_TESTS_HAVE_GDAL
#include "model/gdal/gdalraster.h"
#endif
#include "dialogs/names.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

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

// What the tests' sessions read files with: GDAL's reader and warper when
// the tests link it.
inline GridIo testGridIo()
{
#ifdef OROLITH_TESTS_HAVE_GDAL
    return gdalGridIo();
#else
    return {};
#endif
}

// GLUT once per process, as the program starts it (it draws the sun and
// the comparison cubes).
inline void startGlut()
{
    if (glutGet(GLUT_INIT_STATE))
        return;
    static char program[] = "orolith";
    char* argv[] = {program, nullptr};
    int argc = 1;
    glutInit(&argc, argv);
}

// The state of a freshly started program: a new session and its main
// window, not shown. Every test starts from one of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startGlut();
        session = std::make_unique<Session>(testGridIo());
    }
    void TearDown() override { session.reset(); }

    MainWindow& win() { return session->window(); }
    Viewer& viewer() { return session->viewer(); }
    const ViewState& view() { return session->viewer().view(); }
    const DataSet& data() { return session->dataSet(); }
    // The menu entry of a path as the menu table writes it.
    Fl_Menu_Item& entry(const char* path) { return *win().menuEntry(path); }
    Fl_Check_Button* box(ViewSwitch id) { return win().switchBox(id); }

    // Loads as the open dialog does, the comparison grid when one is named.
    bool load(const std::string& dem, const std::string& comp = "", int kind = 0, int treeLine = 4100,
              int vegSlope = 10, bool align = false)
    {
        OpenChoice choice;
        choice.dem = dem;
        choice.comparison = comp;
        choice.kind = kind;
        choice.treeLine = treeLine;
        choice.vegetationSlope = vegSlope;
        choice.align = align;
        return session->openFiles(choice).ok();
    }

    std::unique_ptr<Session> session;
};

// The viewer drawn off the event loop (twice, as a double-buffered window
// would be) and read back from the back buffer. Its window must be shown.
inline Image drawnViewer(Viewer& gl)
{
    gl.make_current();
    gl.draw();
    gl.draw();
    glFinish();
    Image img;
    img.w = gl.w();
    img.h = gl.h();
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
        win().show();
        for (int k = 0; k < 5; ++k) {
            Fl::check();
            Fl::flush();
        }
    }
    void TearDown() override
    {
        keepOnFailure();
        win().hide();
        Fl::check();
        MainWindowTest::TearDown();
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
        return last = drawnViewer(viewer());
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

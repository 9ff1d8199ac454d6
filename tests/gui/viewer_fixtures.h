// The real viewer in a window of its own, drawn off the toolkit's event loop
// and read back pixel by pixel. Runs under Xvfb with Mesa's software
// renderer (DISPLAY and LIBGL_ALWAYS_SOFTWARE set by the runner).
#ifndef OROLITH_TESTS_GUI_VIEWER_FIXTURES_H
#define OROLITH_TESTS_GUI_VIEWER_FIXTURES_H

#include <FL/Fl.H>
#include <FL/Fl_Window.H>
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/viewstate.h"

namespace viewer_test {

constexpr int W = 650; // the viewer's size at start-up
constexpr int H = 625;

struct Pixel {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& os, const Pixel& p)
{
    return os << "(" << p.r << ", " << p.g << ", " << p.b << ")";
}

// Bottom-up rows of RGB bytes, as glReadPixels gives them.
struct Image {
    int w = 0, h = 0;
    std::vector<unsigned char> rgb;

    // x from the left, y from the top, as a user counts on screen.
    Pixel at(int x, int y) const
    {
        const unsigned char* p = &rgb[(static_cast<std::size_t>(h - 1 - y) * w + x) * 3];
        return {p[0], p[1], p[2]};
    }
    void savePpm(const std::string& path) const
    {
        std::ofstream out(path, std::ios::binary);
        out << "P6\n" << w << " " << h << "\n255\n";
        for (int y = h - 1; y >= 0; --y)
            out.write(reinterpret_cast<const char*>(&rgb[static_cast<std::size_t>(y) * w * 3]), w * 3);
    }
};

inline bool near(const Pixel& p, int r, int g, int b, int tol = 3)
{
    return std::abs(p.r - r) <= tol && std::abs(p.g - g) <= tol && std::abs(p.b - b) <= tol;
}

// A grid file written by the test: heights from h(row, col).
inline std::string writeGrid(const std::string& name, int rows, int cols, float cellsize,
                             const std::function<float(int, int)>& h)
{
    std::string path = ::testing::TempDir() + "/" + name;
    std::ofstream out(path);
    out << "ncols " << cols << "\nnrows " << rows << "\nxllcorner 0\nyllcorner 0\ncellsize " << cellsize << "\n";
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < cols; ++c)
            out << h(r, c) << (c + 1 < cols ? " " : "\n");
    return path;
}

inline std::string sampleData(const char* name)
{
    return std::string(OROLITH_DATA_DIR) + "/" + name;
}

// The view state of a freshly started program.
inline void resetViewState()
{
    OPEN = REDRAW = false;
    FILES = 0;
    TREELINE = 4100;
    SLOPE = 10.0f;
    eyevalue = STARTEYE;
    xrotation = XROTATE;
    zrotation = ZROTATE;
    xtranslate = ytranslate = 0;
    position0[0] = XPOS;
    position0[1] = 0;
    position0[2] = ZPOS;
    position0[3] = 1;
    lighting = 1;
    drawTriangles = true;
    drawColors = drawAxes = drawContours = drawPoints = drawCurveColor = false;
    drawDiffColor = drawDiff = drawCurveDiff = drawSun = colorSlope = colorHeightClasses = false;
    plotProfile = showGlyphs = magnify = false;
    profView = VERTP;
    profileXpos = profileYpos = 0;
    magTransX = magTransY = 0;
    lButtonState = rButtonState = mButtonState = false;
    curveUnits = diffUnits = 1.0f;
}

class ViewerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!glutGet(GLUT_INIT_STATE)) {
            static char name[] = "orolith_gui_tests";
            static char* argv[] = {name, nullptr};
            int argc = 1;
            glutInit(&argc, argv);
        }
        resetViewState();
        window = std::make_unique<Fl_Window>(W, H, "viewer test");
        viewer = new MyWindow(0, 0, W, H);
        window->end();
        window->show();
        for (int k = 0; k < 5; ++k) {
            Fl::check();
            Fl::flush();
        }
    }
    void TearDown() override
    {
        window->hide();
        Fl::check();
        window.reset();
    }

    // Load through the viewer as the open dialog does.
    bool load(const std::string& dem, const std::string& comp = "", int kind = 0, int treeLine = 4100,
              int vegSlope = 10)
    {
        float xll, yll, cs;
        return viewer->Begin(vegSlope, true, comp.empty() ? 1 : 2, dem.c_str(), comp.c_str(), 1, kind,
                             treeLine, 0, xll, yll, cs);
    }

    // One frame drawn into the back buffer and read back.
    Image grab()
    {
        viewer->make_current();
        viewer->draw();
        viewer->draw();
        glFinish();
        Image img;
        img.w = viewer->w();
        img.h = viewer->h();
        img.rgb.resize(static_cast<std::size_t>(img.w) * img.h * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, img.w, img.h, GL_RGB, GL_UNSIGNED_BYTE, img.rgb.data());
        if (const char* dir = std::getenv("OROLITH_SHOT_DIR"))
            img.savePpm(std::string(dir) + "/" + testName() + "_" + std::to_string(++grabs) + ".ppm");
        return img;
    }

    // Called by checks that fail, so a person can look at what the user saw.
    std::string keep(const Image& img)
    {
        std::string path = ::testing::TempDir() + "/" + testName() + ".ppm";
        img.savePpm(path);
        return "picture saved to " + path;
    }

    static std::string testName()
    {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(info->test_suite_name()) + "_" + info->name();
    }

    std::unique_ptr<Fl_Window> window;
    MyWindow* viewer = nullptr; // owned by window
    int grabs = 0;
};

// Screen position of the mesh point at grid (row, col), seen from straight
// above at the start eye distance, for a flat grid: the model origin is
// the centre of the 650 x 650 viewport anchored at the lower-left corner,
// and 1 model unit spans 650 / (2 * 0.2 * 100 / 18) pixels.
inline void gridToScreen(int rows, int cols, float row, float col, int& x, int& y)
{
    const double pxPerUnit = 650.0 / (2 * 0.2 * 100 / 18);
    const double extent = rows > cols ? rows : cols;
    double mx = (col - (cols - 1) / 2.0) * 2 / extent;
    double my = ((rows - 1) / 2.0 - row) * 2 / extent;
    x = static_cast<int>(325 + mx * pxPerUnit);
    y = static_cast<int>(H - (325 + my * pxPerUnit));
}

} // namespace viewer_test

#endif

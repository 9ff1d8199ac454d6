// Frame times of the real main window (run under Xvfb with Mesa's software
// renderer by scripts/bench.sh, through bench_table): a frame that rebuilds
// the surface's buffers, a frame that only moves the camera, a frame of a
// drag, and, in the same run, a baseline that draws as many lit, coloured
// triangles with one begin/end pair each. Prints one line:
//   "full / camera / drag / baseline" in milliseconds (medians).
// Usage: bench_frames DEM COMPARISON
#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Window.H>
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <sstream>
#include <vector>

#include "app/glviewerGUI.h"
#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/surfacecache.h"
#include "render/viewstate.h"

namespace {
using Clock = std::chrono::steady_clock;

// The same camera, projection and light as the viewer's frame, then every
// triangle of the mesh in its own begin/end pair, lit by GL.
class Baseline : public Fl_Gl_Window {
public:
    Baseline(int x, int y, int w, int h) : Fl_Gl_Window(x, y, w, h) { mode(FL_DOUBLE | FL_ALPHA | FL_DEPTH); }
    void draw() override
    {
        reshape(MAX, MAX);
        minit();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, 0, -eyevalue);
        glRotatef(xrotation, 1, 0, 0);
        glRotatef(zrotation, 0, 0, 1);
        glLightfv(GL_LIGHT0, GL_POSITION, position0);
        const int step = std::max(1, static_cast<int>(mt.getNumTriangles() / 2200000) + 1);
        for (int t = 0; t < mt.getNumTriangles(); t += step) {
            const mountain::triangleinfo tri = mt.triangle(t);
            glBegin(GL_TRIANGLES);
            glNormal3f(-tri.nx, tri.ny, -tri.nz);
            glColor3ub(102, 128, 102);
            glVertex3f(tri.x0, -tri.y0, tri.z0);
            glVertex3f(tri.x1, -tri.y1, tri.z1);
            glVertex3f(tri.x2, -tri.y2, tri.z2);
            glEnd();
        }
        glFinish();
    }
};

// Lets the X server map the windows.
void settle()
{
    for (int k = 0; k < 20; ++k)
        Fl::wait(0.02);
}

double frameMs(Fl_Gl_Window* w, const std::function<void()>& before)
{
    before();
    Clock::time_point t = Clock::now();
    w->redraw();
    Fl::flush();
    w->make_current();
    glFinish();
    return std::chrono::duration<double, std::milli>(Clock::now() - t).count();
}

double median(Fl_Gl_Window* w, int runs, const std::function<void()>& before)
{
    std::vector<double> t;
    for (int k = 0; k < runs; ++k)
        t.push_back(frameMs(w, before));
    std::sort(t.begin(), t.end());
    return t[t.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_frames DEM COMPARISON\n");
        return 2;
    }
    std::ostringstream quiet;
    setConsole(quiet);
    int fakeArgc = 1;
    Fl_Window* window = buildMainWindow(fakeArgc, argv);
    window->show();
    gl->show();
    settle();
    double xll, yll, cs;
    if (!gl->Begin(12, true, 2, argv[1], argv[2], 1, DEM, 4100, 0, xll, yll, cs))
        return 1;
    xrotation = -30;

    // A colour flag that alternates makes every frame rebuild the buffers.
    const double full = median(gl, 3, [] { drawColors = !drawColors; });
    const double camera = median(gl, 5, [] { zrotation += 3; });
    lButtonState = true;
    frameMs(gl, [] {}); // the drag's coarse buffers are built once
    const double drag = median(gl, 5, [] { zrotation += 3; });
    lButtonState = false;

    window->hide();
    Fl_Window frame(0, 0, 650, 625);
    Baseline baseline(0, 0, 650, 625);
    frame.end();
    frame.show();
    settle();
    const double base = median(&baseline, 3, [] { zrotation += 3; });
    std::printf("%.0f / %.0f / %.0f / %.0f\n", full, camera, drag, base);
    return 0;
}

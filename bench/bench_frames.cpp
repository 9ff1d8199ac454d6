// Frame times of the real main window (run under Xvfb with Mesa's software
// renderer by scripts/bench.sh, through bench_table): a frame that rebuilds
// the surface's buffers, a frame that only moves the camera, a frame of a
// drag, and, in the same run, a baseline that draws as many lit, coloured
// triangles with one begin/end pair each. Prints one line:
//   "full / camera / drag / baseline / readout" in milliseconds (medians),
// the readout being one mouse move over the surface: the point under the
// pointer found on the full grid and its values put in the status row
// (in brackets the slowest move, also of a view almost edge on).
// Usage: bench_frames DEM COMPARISON
#include <FL/Fl.H>
#include <FL/Fl_Gl_Window.H>
#include <FL/Fl_Window.H>
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <sstream>
#include <vector>

#include "app/mainwindow.h"
#include "app/session.h"
#include "dialogs/names.h"
#include "dialogs/openchecks.h"
#include "model/dataset.h"
#include "model/mesh.h"
#include "render/frame.h"
#include "render/viewer.h"
#include "render/viewstate.h"

using namespace orolith::model;
using namespace orolith::render;
using namespace orolith::ui;

namespace {
using Clock = std::chrono::steady_clock;

// The same camera, projection and light as the viewer's frame, then every
// triangle of the mesh in its own begin/end pair, lit by GL.
class Baseline : public Fl_Gl_Window {
public:
    Baseline(int x, int y, int w, int h, const DataSet& d) : Fl_Gl_Window(x, y, w, h), data(d)
    {
        mode(FL_DOUBLE | FL_ALPHA | FL_DEPTH);
    }
    void draw() override
    {
        reshape(MAX, MAX);
        minit(view);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, 0, -view.eyevalue);
        glRotatef(view.xrotation, 1, 0, 0);
        glRotatef(view.zrotation, 0, 0, 1);
        glLightfv(GL_LIGHT0, GL_POSITION, view.position0);
        const MeshFrame& mesh = data.mesh();
        const GridView dem = data.demView();
        const int step = std::max(1, mesh.triangles() / 2200000 + 1);
        for (int t = 0; t < mesh.triangles(); t += step) {
            const Triangle tri = meshTriangle(mesh, dem, data.spacing(), t);
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
    const DataSet& data;
    ViewState view;
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
    std::streambuf* out = std::cout.rdbuf(quiet.rdbuf()); // the load's progress lines
    Session session{GridIo{}};
    MainWindow& window = session.window();
    window.show();
    session.viewer().show();
    settle();
    OpenChoice choice;
    choice.dem = argv[1];
    choice.comparison = argv[2];
    choice.kind = DEM;
    choice.vegetationSlope = 12;
    if (!session.openFiles(choice).ok())
        return 1;
    std::cout.rdbuf(out);
    Viewer& viewer = session.viewer();
    auto change = [&](const std::function<void(ViewState&)>& f) {
        ViewState v = viewer.view();
        f(v);
        viewer.setView(v);
    };
    change([](ViewState& v) { v.xrotation = -30; });

    // A colour flag that alternates makes every frame rebuild the buffers.
    const double full = median(&viewer, 3, [&] { change([](ViewState& v) { v.drawColors = !v.drawColors; }); });
    const double camera = median(&viewer, 5, [&] { change([](ViewState& v) { v.zrotation += 3; }); });
    // A drag: the left button held over the viewer.
    Fl::e_keysym = FL_Button + FL_LEFT_MOUSE;
    Fl::e_state = FL_BUTTON1;
    Fl::e_x = viewer.w() / 2;
    Fl::e_y = viewer.h() / 2;
    viewer.handle(FL_PUSH);
    frameMs(&viewer, [] {}); // the drag's coarse buffers are built once
    const double drag = median(&viewer, 5, [&] { change([](ViewState& v) { v.zrotation += 3; }); });
    viewer.handle(FL_RELEASE);

    // Mouse moves over the tilted surface, on a grid of pointer positions;
    // then over the surface seen almost edge on, where a line of sight
    // crosses the whole grid before it meets the ground: the slowest case.
    Fl::e_state = 0;
    auto movesOver = [&](std::vector<double>& moves) {
        for (int j = 1; j < 16; ++j)
            for (int i = 1; i < 16; ++i) {
                Fl::e_x = viewer.w() * i / 16;
                Fl::e_y = viewer.h() * j / 16;
                const Clock::time_point t = Clock::now();
                viewer.handle(FL_MOVE);
                moves.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t).count());
            }
        std::sort(moves.begin(), moves.end());
    };
    std::vector<double> moves, edgeOn;
    movesOver(moves);
    change([](ViewState& v) { v.xrotation = -88; });
    movesOver(edgeOn);
    const double readout = moves[moves.size() / 2], slowestMove = std::max(moves.back(), edgeOn.back());

    window.hide();
    Fl_Window frame(0, 0, 650, 625);
    Baseline baseline(0, 0, 650, 625, session.dataSet());
    frame.end();
    frame.show();
    settle();
    baseline.view.xrotation = -30;
    const double base = median(&baseline, 3, [&] { baseline.view.zrotation += 3; });
    std::printf("%.0f / %.0f / %.0f / %.0f / %.2f (max %.2f)\n", full, camera, drag, base, readout, slowestMove);
    return 0;
}

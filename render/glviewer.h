// The OpenGL viewer: one MyWindow inside the main window (the shell keeps it
// in `gl`). Its operations flip the view-state globals of viewstate.h; the
// frame functions below turn that state into GL, only inside draw().
#ifndef OROLITH_RENDER_GLVIEWER_H
#define OROLITH_RENDER_GLVIEWER_H

#include <FL/Fl_Gl_Window.H>

#include "model/loading.h"
#include "model/mountain.h"
#include "render/viewstate.h"

class Fl_Widget;

class MyWindow : public Fl_Gl_Window {
public:
    MyWindow(int x, int y, int w, int h, const char* label = 0);

    void draw() override;
    // Mouse drags, the wheel and the keys (viewerinput.cpp). Takes only the
    // events it uses and repaints only when the view changed.
    int handle(int event) override;
    // A button press: sets the flag of the button's drag mode.
    void handleMouse(int event);
    void InitializeGL();

    // View commands: widget callbacks; each does nothing until data is open.
    static void ZoomInButton_callback(Fl_Widget* = nullptr);
    static void ZoomOutButton_callback(Fl_Widget* = nullptr);
    static void XPlus90Button_callback(Fl_Widget* = nullptr);
    static void XMinus90Button_callback(Fl_Widget* = nullptr);
    static void ZPlus90Button_callback(Fl_Widget* = nullptr);
    static void ZMinus90Button_callback(Fl_Widget* = nullptr);
    static void ResetButton_callback(Fl_Widget* = nullptr);
    static void TopButton_callback(Fl_Widget* = nullptr);
    static void SideButton_callback(Fl_Widget* = nullptr);

    // Display switches (the widget is ignored).
    static void Axes(Fl_Widget* = nullptr);
    static void cont(Fl_Widget* = nullptr);
    static void sun(Fl_Widget* = nullptr);
    static void slopeVis(Fl_Widget* = nullptr);
    static void Colors(Fl_Widget* = nullptr);
    static void drawMagnifier(Fl_Widget* = nullptr);
    static void light(Fl_Widget* = nullptr);
    static void heights(Fl_Widget* = nullptr);
    static void cerr(Fl_Widget* = nullptr);
    static void lerr(Fl_Widget* = nullptr);
    static void curverr(Fl_Widget* = nullptr);

    // Profile and sun.
    static void prof();
    static void glyph();
    static void verticalProf();
    static void horizontalProf();
    static void changeProf(int v);
    // The row or column the profile picture stands at, for the shell's
    // counter; -1 while no grid is loaded.
    static int shownProfilePosition();
    static void sunModPlus();
    static void sunModMinus();

    // Queries for the graph and the report.
    static int* graphHeights();
    static float* getDiffArray();
    static float* getCurveArray();
    static int getCont();
    // Height classes can be coloured: comparison data with a contour
    // interval is loaded.
    static bool canColorHeightClasses();

    void modCurveErr(float units);
    void modLocalDiffErr(float units);
    void changeVert(int vertExag, int numFiles);
    // A new comparison file of kind fileKind (DEM, SPARSEF or CONTF);
    // `align` resamples one that lies elsewhere onto the DEM's grid.
    void changeFile(const char* compPath, int vertExag, int numFiles, bool& ok, int fileKind = DEM,
                    bool align = false);
    void Sparse(int n);
    // Loads a data set. False when the comparison grid differs in size or a
    // file cannot be read (lastLoad says which, with the reader's message);
    // the data set in use then stays as it was.
    // The comparison file's kind (DEM, SPARSEF or CONTF) says which of its
    // cells hold a height. The corner and cell size come back as read.
    bool Begin(int vegSlope, bool open, int numFiles, const char* demPath, const char* compPath,
               int vertExag, int fileKind, int treeLine, int contourInterval, double& xll,
               double& yll, double& cellSize, bool align = false);
    // How the last Begin or changeFile went.
    static const LoadStatus& lastLoad();

    void getStats(float& maxCurve, float& totalSq, int& c15, int& c10, int& c5, int& c,
                  int& rows, int& cols);
    void getElevDiff(int& d20, int& d15, int& d10, int& d5, int& d);
    void getCurveDiff(int& cd20, int& cd15, int& cd10, int& cd5, int& cd);
    float getRMSE();
    void getDifferenceInfo(float& max, float& min, int& count);
    void getCurvatureInfo(float& max, float& min, int& count);
};

// The four steps of a frame: MyWindow::draw runs them, and the off-screen
// picture of --image runs them into its own context.
void windowinit();
void minit();
void display();
// The viewport of a w x h picture and the projection for it: the viewer's
// square frustum, scaled in clip space by imageClipScale (clipscale.h).
void reshape(int w, int h);

#endif

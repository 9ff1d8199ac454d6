// The viewer's commands: view buttons, display switches, loading, and the
// getters the report and the graph read. They change view state and the
// model; the next frame shows the result.
#include <cmath>
#include <limits>
#include <optional>

#include "model/loading.h"
#include "model/mountain.h"
#include "render/glviewer.h"
#include "render/modelaccess.h"
#include "render/sunpath.h"
#include "render/viewmotion.h"

namespace {
LoadStatus lastLoadStatus;
}

// View commands: no effect until data is open.

void MyWindow::ZoomInButton_callback(Fl_Widget*)
{
    if (OPEN)
        eyevalue = clampEye(eyevalue - ZOOM);
}

void MyWindow::ZoomOutButton_callback(Fl_Widget*)
{
    if (OPEN)
        eyevalue = clampEye(eyevalue + ZOOM);
}

void MyWindow::XPlus90Button_callback(Fl_Widget*)
{
    if (OPEN)
        xrotation += 90;
}

void MyWindow::XMinus90Button_callback(Fl_Widget*)
{
    if (OPEN)
        xrotation -= 90;
}

void MyWindow::ZPlus90Button_callback(Fl_Widget*)
{
    if (OPEN)
        zrotation += 90;
}

void MyWindow::ZMinus90Button_callback(Fl_Widget*)
{
    if (OPEN)
        zrotation -= 90;
}

void MyWindow::ResetButton_callback(Fl_Widget*)
{
    if (!OPEN)
        return;
    eyevalue = STARTEYE;
    xrotation = XROTATE;
    zrotation = ZROTATE;
    xtranslate = 0;
    ytranslate = 0;
    REDRAW = true;
}

void MyWindow::TopButton_callback(Fl_Widget*)
{
    if (!OPEN)
        return;
    xrotation = 0;
    REDRAW = true;
}

void MyWindow::SideButton_callback(Fl_Widget*)
{
    if (!OPEN)
        return;
    xrotation = -90;
    REDRAW = true;
}

// Display switches.

void MyWindow::Axes(Fl_Widget*) { drawAxes = !drawAxes; }
void MyWindow::cont(Fl_Widget*) { drawContours = !drawContours; }
void MyWindow::sun(Fl_Widget*) { drawSun = !drawSun; }
void MyWindow::slopeVis(Fl_Widget*) { colorSlope = !colorSlope; }
void MyWindow::Colors(Fl_Widget*) { drawColors = !drawColors; }
void MyWindow::drawMagnifier(Fl_Widget*) { magnify = !magnify; }

void MyWindow::light(Fl_Widget*)
{
    // GL is touched only inside draw: the frame enables or disables
    // lighting from this flag.
    lighting = lighting == 0 ? 1 : 0;
}

namespace {
// Height classes for the current contour interval; false when there is
// none to class by. A histogram built for another interval is rebuilt, as
// its length no longer matches the classes the surface asks for.
bool ensureHeightClasses(bool force)
{
    if (!haveDem())
        return false;
    int n = rd.getContourInt();
    if (!force && mt.heightClasses() && n == mt.getNumClasses())
        return true;
    return mt.computeHeightClasses();
}
}

void MyWindow::heights(Fl_Widget*)
{
    colorHeightClasses = !colorHeightClasses;
    ensureHeightClasses(false);
}

void MyWindow::cerr(Fl_Widget*)
{
    drawCurveColor = !drawCurveColor;
    if (drawCurveColor && haveDem())
        mt.compute_curve_color();
}

void MyWindow::lerr(Fl_Widget*)
{
    drawDiffColor = !drawDiffColor;
    if (!drawDiffColor)
        return;
    drawCurveDiff = false;
    if (haveComparison())
        mt.compute_elev_diff_color();
}

void MyWindow::curverr(Fl_Widget*)
{
    drawCurveDiff = !drawCurveDiff;
    if (!drawCurveDiff)
        return;
    drawDiffColor = false;
    if (haveComparison())
        mt.compute_curve_diff_color();
}

// Profile and sun.

void MyWindow::prof() { plotProfile = !plotProfile; }
void MyWindow::glyph() { showGlyphs = !showGlyphs; }
void MyWindow::verticalProf() { profView = VERTP; }
void MyWindow::horizontalProf() { profView = HORIZ; }

void MyWindow::changeProf(int v)
{
    // A vertical section stands on a row, a horizontal one on a column.
    if (profilePositionValid(profView, v, mt.getRows(), mt.getCols()))
        profileYpos = profileXpos = v;
}

int MyWindow::shownProfilePosition()
{
    if (!haveDem())
        return -1;
    const ProfilePlacement p = placeProfile(meshFrame(mt), profileYpos, profileXpos);
    return profView == HORIZ ? p.X : p.Y;
}

// The next frame hands the new position to light 0.
void MyWindow::sunModPlus() { sunStep(position0, +1); }
void MyWindow::sunModMinus() { sunStep(position0, -1); }

// Queries.

int* MyWindow::graphHeights()
{
    // Null when no contour interval is known: a histogram left from another
    // interval would draw the wrong classes.
    return ensureHeightClasses(true) ? mt.getClasses() : nullptr;
}

float* MyWindow::getDiffArray()
{
    float max, min;
    int count;
    return mt.getDiffInfo(max, min, count);
}

float* MyWindow::getCurveArray()
{
    float max, min;
    int count;
    return mt.getCurveInfo(max, min, count);
}

int MyWindow::getCont() { return rd.getContourInt(); }

bool MyWindow::canColorHeightClasses() { return haveComparison() && rd.getContourInt() > 0; }

void MyWindow::modCurveErr(float units)
{
    curveUnits = units;
    if (haveDem())
        mt.compute_curve_color();
}

void MyWindow::modLocalDiffErr(float units)
{
    diffUnits = units;
    if (!haveComparison())
        return;
    if (drawCurveDiff)
        mt.compute_curve_diff_color();
    else if (drawDiffColor)
        mt.compute_elev_diff_color();
}

void MyWindow::changeVert(int vertExag, int)
{
    if (!haveDem())
        return;
    mt.convert_to_triangles(vertExag);
    mt.compute_normals();
    mt.compute_curve_color();
}

void MyWindow::changeFile(const char* compPath, int vertExag, int numFiles, bool& ok, int fileKind, bool align)
{
    // The load resets the counts itself, before its analyses.
    LoadOptions options;
    options.kind = comparisonKindOfFile(fileKind);
    options.align = align;
    lastLoadStatus = replaceComparison(compPath ? compPath : "", vertExag, options);
    ok = lastLoadStatus.ok();
    if (ok)
        FILES = numFiles;
}

void MyWindow::Sparse(int n) { mt.makeSparseFile(n); }

bool MyWindow::Begin(int vegSlope, bool open, int numFiles, const char* demPath, const char* compPath,
                     int vertExag, int fileKind, int treeLine, int, double& xll, double& yll, double& cellSize,
                     bool align)
{
    // The load checks both files before it replaces anything and resets
    // what belongs to the old data set itself; the view changes only when
    // the new data set is in. The contour interval is detected while the
    // comparison grid is read; the dialog's value is not used.
    LoadOptions options;
    options.kind = comparisonKindOfFile(fileKind);
    options.align = align;
    lastLoadStatus =
        loadDataSet(demPath ? demPath : "", numFiles == 2 && compPath ? compPath : "", vertExag, options);
    if (lastLoadStatus.ok()) {
        REDRAW = true;
        TREELINE = treeLine;
        OPEN = open;
        FILES = numFiles;
        SLOPE = static_cast<float>(vegSlope);
    }
    xll = mt.header().xllcorner;
    yll = mt.header().yllcorner;
    cellSize = mt.header().cellsizeX;
    return lastLoadStatus.ok();
}

const LoadStatus& MyWindow::lastLoad() { return lastLoadStatus; }

void MyWindow::getStats(float& maxCurve, float& totalSq, int& c15, int& c10, int& c5, int& c,
                        int& rows, int& cols)
{
    maxCurve = MAX_CURVE;
    totalSq = TOTAL_SQ;
    c15 = C15;
    c10 = C10;
    c5 = C5;
    c = C;
    rows = mt.getRows();
    cols = mt.getCols();
}

void MyWindow::getElevDiff(int& d20, int& d15, int& d10, int& d5, int& d)
{
    d20 = D20;
    d15 = D15;
    d10 = D10;
    d5 = D5;
    d = D;
}

void MyWindow::getCurveDiff(int& cd20, int& cd15, int& cd10, int& cd5, int& cd)
{
    cd20 = CD20;
    cd15 = CD15;
    cd10 = CD10;
    cd5 = CD5;
    cd = CD;
}

float MyWindow::getRMSE()
{
    // NaN when no reference point is present (or the grids differ in
    // size): there is no error to report, and 0 would read as a perfect fit.
    std::optional<float> value = rd.rmseIfPresent();
    return value ? *value : std::numeric_limits<float>::quiet_NaN();
}

void MyWindow::getDifferenceInfo(float& max, float& min, int& count) { mt.getDiffInfo(max, min, count); }

void MyWindow::getCurvatureInfo(float& max, float& min, int& count) { mt.getCurveInfo(max, min, count); }

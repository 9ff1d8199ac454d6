// The view state: everything the picture depends on besides the data set,
// as one value the viewer owns (camera, light, colour scheme and overlay
// switches, profile, magnifier, the ground's base colours, the class
// units). Frames are drawn from a data set and a view state; a view
// command changes the state and asks for a frame. No GL or FLTK here, so
// colour and geometry rules read it too.
#ifndef OROLITH_RENDER_VIEWSTATE_H
#define OROLITH_RENDER_VIEWSTATE_H

#include <vector>

#include "model/constants.h"
#include "render/names.h"

namespace orolith::render {

// Frame, camera and light.
inline constexpr int MAX = 650; // the picture's size at start, pixels
inline constexpr float STARTEYE = 100.0f;
inline constexpr float XROTATE = 0.0f;
inline constexpr float ZROTATE = 0.0f;
inline constexpr float BACKGROUND[4] = {0.9f, 0.9f, 1.0f, 1.0f};
inline constexpr float XPOS = -0.7f;    // initial light (and sun) x
inline constexpr float ZPOS = 1.90513f; // initial light (and sun) z

// View commands, mouse and keys.
inline constexpr float EYEINCR = -5.0f;
inline constexpr float ZOOM = 10.0f;
inline constexpr float XTRANS = 0.07f;
inline constexpr float YTRANS = 0.07f;
inline constexpr float MAGMOVEX = 0.007f;
inline constexpr float MAGMOVEY = 0.007f;
inline constexpr double PI = PI_3_14159265;
// The eye stays in front of the model's origin: at 0 or below the view
// would be degenerate. It may come closer than the near plane (18), cutting
// into the terrain to look inside; beyond the far plane (200) the terrain
// would leave the view altogether.
inline constexpr float EYEMIN = 1.0f;
inline constexpr float EYEMAX = 200.0f;

// Slope and aspect.
inline constexpr double DIVPI = DEGREES_PER_RADIAN_57_29582791;
inline constexpr int NOSLOPE = -999;

// Magnifier ring.
inline constexpr float INDIAMETER = 0.07f;
inline constexpr float OUTDIAMETER = 0.08f;
inline constexpr float MAGDIST = 22.0f;

// Profile orientation.
inline constexpr int VERTP = 1;
inline constexpr int HORIZ = 2;

// A picked place marked on the surface with its number: its fractional
// grid position and the DEM's height there.
struct PickMark {
    double row = 0, col = 0, height = 0;
    int number = 0;
};

struct ViewState {
    // Camera: the eye's distance from the origin, the model's turns about
    // x and z in degrees, and its move in the model's plane.
    float eyevalue = STARTEYE;
    float xrotation = XROTATE;
    float zrotation = ZROTATE;
    float xtranslate = 0.0f;
    float ytranslate = 0.0f;

    // Light 0's position (the sun stands one unit below it), and whether
    // the surface is lit.
    float position0[4] = {XPOS, 0.0f, ZPOS, 1.0f};
    bool lighting = true;

    // What the surface shows: the triangles themselves, the height ramp,
    // the aspect wheel, the class colours, height classes, and the
    // overlays (axes, comparison points and contours, difference marks,
    // the sun).
    bool drawTriangles = true;
    bool drawColors = false;
    bool colorSlope = false;
    bool drawCurveColor = false;
    bool drawDiffColor = false;
    bool drawCurveDiff = false;
    bool drawDiff = false;
    bool colorHeightClasses = false;
    bool drawAxes = false;
    bool drawContours = false;
    bool drawPoints = false;
    bool drawSun = false;

    // The profile section: shown, its comparison glyphs, along a row
    // (VERTP) or a column (HORIZ), and the row and column it stands at.
    bool plotProfile = false;
    bool showGlyphs = false;
    int profView = VERTP;
    int profileYpos = 0;
    int profileXpos = 0;

    // The magnifier ring and its place.
    bool magnify = false;
    float magTransX = 0.0f;
    float magTransY = 0.0f;

    // Ground above the tree line, or steeper than the vegetation slope
    // (degrees), takes the grey of bare ground.
    int treeLine = 4100;
    float slope = 10.0f;

    // Units of the curvature classes and of the difference classes.
    float curveUnits = 1.0f;
    float diffUnits = 1.0f;

    // The legend of the colour scheme in the picture's corner.
    bool showLegend = true;

    // The picks, marked on the surface, and the cross-hair at the
    // picture's centre that the pick key aims with (shown while the pick
    // list is open).
    std::vector<PickMark> picks;
    bool crossHair = false;
};

} // namespace orolith::render

#endif

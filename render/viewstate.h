// View-state globals and viewer constants shared by the viewer window, the
// frame, the surface drawing and the shell's callbacks. Defined once in
// render/viewstate.cpp. No GL or FLTK here, so pure colour and geometry
// code can read the same names.
//
// allocated, sparseData, multFiles, curveUnits and diffUnits belong to the
// model (model/mountain.h) and are used from there.
#ifndef OROLITH_RENDER_VIEWSTATE_H
#define OROLITH_RENDER_VIEWSTATE_H

// Frame, camera and light.
inline constexpr int MAX = 650;          // viewport and GLUT window size, pixels
inline constexpr float STARTEYE = 100.0f;
inline constexpr float XROTATE = 0.0f;
inline constexpr float ZROTATE = 0.0f;
inline constexpr float BACKGROUND[4] = {0.9f, 0.9f, 1.0f, 1.0f};
inline constexpr float XPOS = -0.7f;     // initial light (and sun) x
inline constexpr float ZPOS = 1.90513f;  // initial light (and sun) z

// View commands, mouse and keys.
inline constexpr float EYEINCR = -5.0f;
inline constexpr float ZOOM = 10.0f;
inline constexpr float XTRANS = 0.07f;
inline constexpr float YTRANS = 0.07f;
inline constexpr float MAGMOVEX = 0.007f;
inline constexpr float MAGMOVEY = 0.007f;
inline constexpr double PI = 3.14159265;
// The eye stays in front of the model's origin: at 0 or below the view
// would be degenerate. It may come closer than the near plane (18), cutting
// into the terrain to look inside; beyond the far plane (200) the terrain
// would leave the view altogether.
inline constexpr float EYEMIN = 1.0f;
inline constexpr float EYEMAX = 200.0f;

// Slope and aspect.
inline constexpr double DIVPI = 57.29582791;
inline constexpr int NOSLOPE = -999;

// Magnifier ring.
inline constexpr float INDIAMETER = 0.07f;
inline constexpr float OUTDIAMETER = 0.08f;
inline constexpr float MAGDIST = 22.0f;

// Profile orientation.
inline constexpr int VERTP = 1;
inline constexpr int HORIZ = 2;

extern bool OPEN;
extern bool REDRAW;
extern int FILES;
extern int TREELINE;
extern float SLOPE;

extern float eyevalue;
extern float xrotation;
extern float zrotation;
extern float xtranslate;
extern float ytranslate;
extern float position0[4];
extern int lighting;

extern bool drawTriangles;
extern bool drawColors;
extern bool drawAxes;
extern bool drawContours;
extern bool drawPoints;
extern bool drawCurveColor;
extern bool drawDiffColor;
extern bool drawDiff;
extern bool drawCurveDiff;
extern bool drawSun;
extern bool colorSlope;
extern bool colorHeightClasses;

extern bool plotProfile;
extern bool showGlyphs;
extern int profView;
extern int profileYpos;
extern int profileXpos;

extern bool magnify;
extern float magTransX;
extern float magTransY;

extern bool lButtonState;
extern bool rButtonState;
extern bool mButtonState;
// Polygons are drawn as outlines: set while a button drags a large grid,
// applied by the frame, so no GL call is made outside draw.
extern bool polygonOutline;

extern int firstTime;

#endif

// The view-state globals, shared by the viewer, the frame and the shell.
#include "render/viewstate.h"

bool OPEN = false;
bool REDRAW = false;
int FILES = 0;
int TREELINE = 4100;
float SLOPE = 10.0f;

float eyevalue = STARTEYE;
float xrotation = XROTATE;
float zrotation = ZROTATE;
float xtranslate = 0.0f;
float ytranslate = 0.0f;
float position0[4] = {XPOS, 0.0f, ZPOS, 1.0f};
int lighting = 1;

bool drawTriangles = true;
bool drawColors = false;
bool drawAxes = false;
bool drawContours = false;
bool drawPoints = false;
bool drawCurveColor = false;
bool drawDiffColor = false;
bool drawDiff = false;
bool drawCurveDiff = false;
bool drawSun = false;
bool colorSlope = false;
bool colorHeightClasses = false;

bool plotProfile = false;
bool showGlyphs = false;
int profView = VERTP;
int profileYpos = 0;
int profileXpos = 0;

bool magnify = false;
float magTransX = 0.0f;
float magTransY = 0.0f;

bool lButtonState = false;
bool rButtonState = false;
bool mButtonState = false;
bool polygonOutline = false;

int firstTime = 1;


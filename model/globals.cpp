// The model objects of the run and the globals the analyses publish.
#include "model/mountain.h"

mountain mt;
rawdata rd;

bool allocated = false;
bool sparseData = false;
bool multFiles = false;
float curveUnits = 1.0f;
float diffUnits = 1.0f;

float MAX_CURVE = 0, TOTAL_SQ = 0;
int C15 = 0, C10 = 0, C5 = 0, C = 0;
int D20 = 0, D15 = 0, D10 = 0, D5 = 0, D = 0;
int CD20 = 0, CD15 = 0, CD10 = 0, CD5 = 0, CD = 0;

void setStats(float maxCurve, float totalSq, int c15, int c10, int c5, int c)
{
    MAX_CURVE = maxCurve;
    TOTAL_SQ = totalSq;
    C15 = c15;
    C10 = c10;
    C5 = c5;
    C = c;
}

void setElevDiff(int a, int b, int c, int d, int e)
{
    D20 = a;
    D15 = b;
    D10 = c;
    D5 = d;
    D = e;
}

void setCurveDiff(int a, int b, int c, int d, int e)
{
    CD20 = a;
    CD15 = b;
    CD10 = c;
    CD5 = d;
    CD = e;
}

mountain::mountain() : zmin(35000.0f), zmax(-1000.0f), vertExag(1.0f) {}

mountain::~mountain() = default;

// Mouse, wheel and eye steps on the view-state globals.
#include "render/viewmotion.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>

float clampEye(float eye)
{
    return std::clamp(eye, EYEMIN, EYEMAX);
}

bool moveEye(float step)
{
    const float before = eyevalue;
    eyevalue = clampEye(eyevalue + step);
    return eyevalue != before;
}

float wheelEyeStep(int dy)
{
    if (dy == 0)
        return 0.0f;
    return dy > 0 ? -EYEINCR : EYEINCR;
}

DragMode dragModeFor(int button, bool magnifierShown)
{
    switch (button) {
    case 1: return DragMode::rotate;
    case 3: return DragMode::move;
    case 2: return magnifierShown ? DragMode::magnifier : DragMode::none;
    }
    return DragMode::none;
}

void holdButton(DragMode mode)
{
    switch (mode) {
    case DragMode::rotate: lButtonState = true; break;
    case DragMode::move: rButtonState = true; break;
    case DragMode::magnifier: mButtonState = true; break;
    case DragMode::none: break;
    }
}

bool buttonHeld()
{
    return lButtonState || rButtonState || mButtonState;
}

namespace {

// 10 degrees per event whatever the distance. Row 300 splits the window so
// that a sideways drag turns the model with the pointer in both halves.
void rotate(int x, int y, int lastx, int lasty)
{
    const float turn = y > 300 ? 10.0f : -10.0f;
    if (x < lastx)
        zrotation -= turn;
    else if (x > lastx)
        zrotation += turn;
    if (y < lasty)
        xrotation -= 10;
    else if (y > lasty)
        xrotation += 10;
}

// The translation is applied before the turn about z, so the step is turned
// by zrotation for the model to follow the pointer on screen.
void move(int x, int y, int lastx, int lasty)
{
    const double rad = zrotation * PI / 180;
    const float c = static_cast<float>(std::cos(rad));
    const float s = static_cast<float>(std::sin(rad));
    if (x < lastx) {
        xtranslate -= XTRANS * c;
        ytranslate += YTRANS * s;
    } else if (x > lastx) {
        xtranslate += XTRANS * c;
        ytranslate -= YTRANS * s;
    }
    if (y < lasty) {
        xtranslate += XTRANS * s;
        ytranslate += YTRANS * c;
    } else if (y > lasty) {
        xtranslate -= XTRANS * s;
        ytranslate -= YTRANS * c;
    }
}

// The ring stops at its first step beyond +-0.25. Window y grows downward,
// the ring's y upward.
void moveRing(int x, int y, int lastx, int lasty)
{
    if (x < lastx && magTransX > -0.25f)
        magTransX -= MAGMOVEX;
    else if (x > lastx && magTransX < 0.25f)
        magTransX += MAGMOVEX;
    if (y < lasty && magTransY < 0.25f)
        magTransY += MAGMOVEY;
    else if (y > lasty && magTransY > -0.25f)
        magTransY -= MAGMOVEY;
}

} // namespace

bool mouseMove(int x, int y)
{
    static bool started = false;
    static int lastx = 0, lasty = 0;
    if (!started) {
        lastx = x;
        lasty = y;
        started = true;
    }
    const float before[] = {xrotation, zrotation, xtranslate, ytranslate, magTransX, magTransY};
    if (lButtonState)
        rotate(x, y, lastx, lasty);
    else if (rButtonState)
        move(x, y, lastx, lasty);
    else if (mButtonState)
        moveRing(x, y, lastx, lasty);
    lastx = x;
    lasty = y;
    const float after[] = {xrotation, zrotation, xtranslate, ytranslate, magTransX, magTransY};
    return !std::equal(std::begin(before), std::end(before), std::begin(after));
}

std::optional<float> parseEyeValue(const char* text)
{
    if (!text)
        return std::nullopt;
    char* end = nullptr;
    const float v = std::strtof(text, &end);
    if (end == text)
        return std::nullopt;
    while (std::isspace(static_cast<unsigned char>(*end)))
        ++end;
    if (*end != '\0' || !std::isfinite(v) || v <= 0)
        return std::nullopt;
    return clampEye(v);
}

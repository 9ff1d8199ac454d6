// Mouse, wheel and eye steps on a view state.
#include "render/viewmotion.h"

#include "render/names.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace orolith::render {

float clampEye(float eye) { return std::clamp(eye, EYEMIN, EYEMAX); }

bool moveEye(ViewState& view, float step)
{
    const float before = view.eyevalue;
    view.eyevalue = clampEye(view.eyevalue + step);
    return view.eyevalue != before;
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

void pressForClick(ClickState& click, int button, int x, int y)
{
    click.armed = button == 1;
    click.x = x;
    click.y = y;
    click.moved = false;
}

void dragForClick(ClickState& click, int x, int y)
{
    const int dx = x - click.x, dy = y - click.y;
    if (dx * dx + dy * dy > CLICK_SLOP * CLICK_SLOP)
        click.moved = true;
}

bool releaseIsClick(ClickState& click)
{
    const bool isClick = click.armed && !click.moved;
    click.armed = false;
    return isClick;
}

void holdButton(DragState& drag, DragMode mode)
{
    switch (mode) {
    case DragMode::rotate: drag.lButtonState = true; break;
    case DragMode::move: drag.rButtonState = true; break;
    case DragMode::magnifier: drag.mButtonState = true; break;
    case DragMode::none: break;
    }
}

namespace {

// 10 degrees per event whatever the distance. Row 300 splits the window so
// that a sideways drag turns the model with the pointer in both halves.
void rotate(ViewState& v, int x, int y, int lastx, int lasty)
{
    const float turn = y > 300 ? 10.0f : -10.0f;
    if (x < lastx)
        v.zrotation -= turn;
    else if (x > lastx)
        v.zrotation += turn;
    if (y < lasty)
        v.xrotation -= 10;
    else if (y > lasty)
        v.xrotation += 10;
}

// The translation is applied before the turn about z, so the step is turned
// by zrotation for the model to follow the pointer on screen.
void move(ViewState& v, int x, int y, int lastx, int lasty)
{
    const double rad = v.zrotation * PI / 180;
    const float c = static_cast<float>(std::cos(rad));
    const float s = static_cast<float>(std::sin(rad));
    if (x < lastx) {
        v.xtranslate -= XTRANS * c;
        v.ytranslate += YTRANS * s;
    } else if (x > lastx) {
        v.xtranslate += XTRANS * c;
        v.ytranslate -= YTRANS * s;
    }
    if (y < lasty) {
        v.xtranslate += XTRANS * s;
        v.ytranslate += YTRANS * c;
    } else if (y > lasty) {
        v.xtranslate -= XTRANS * s;
        v.ytranslate -= YTRANS * c;
    }
}

// The ring stops at its first step beyond +-0.25. Window y grows downward,
// the ring's y upward.
void moveRing(ViewState& v, int x, int y, int lastx, int lasty)
{
    if (x < lastx && v.magTransX > -0.25f)
        v.magTransX -= MAGMOVEX;
    else if (x > lastx && v.magTransX < 0.25f)
        v.magTransX += MAGMOVEX;
    if (y < lasty && v.magTransY < 0.25f)
        v.magTransY += MAGMOVEY;
    else if (y > lasty && v.magTransY > -0.25f)
        v.magTransY -= MAGMOVEY;
}

} // namespace

bool mouseMove(ViewState& v, DragState& d, int x, int y)
{
    if (!d.started) {
        d.lastx = x;
        d.lasty = y;
        d.started = true;
    }
    const float before[] = {v.xrotation, v.zrotation, v.xtranslate, v.ytranslate, v.magTransX, v.magTransY};
    if (d.lButtonState)
        rotate(v, x, y, d.lastx, d.lasty);
    else if (d.rButtonState)
        move(v, x, y, d.lastx, d.lasty);
    else if (d.mButtonState)
        moveRing(v, x, y, d.lastx, d.lasty);
    d.lastx = x;
    d.lasty = y;
    const float after[] = {v.xrotation, v.zrotation, v.xtranslate, v.ytranslate, v.magTransX, v.magTransY};
    return !std::equal(std::begin(before), std::end(before), std::begin(after));
}

void zoomIn(ViewState& v) { v.eyevalue = clampEye(v.eyevalue - ZOOM); }

void zoomOut(ViewState& v) { v.eyevalue = clampEye(v.eyevalue + ZOOM); }

void resetView(ViewState& v)
{
    v.eyevalue = STARTEYE;
    v.xrotation = XROTATE;
    v.zrotation = ZROTATE;
    v.xtranslate = 0;
    v.ytranslate = 0;
}

void topView(ViewState& v) { v.xrotation = 0; }

void sideView(ViewState& v) { v.xrotation = -90; }

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

} // namespace orolith::render

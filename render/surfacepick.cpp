#include "render/surfacepick.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/dataset.h"
#include "render/profilegeometry.h"
#include "render/surfacemesh.h"

namespace orolith::render {

namespace {

// The grid's axes as the surface lays them out: column c at model x
// (c sx - movex) s, row r at model y (movey - r sy) s, a height h at
// model z (h - zmid) zscale. Each is affine, so a straight line of sight
// stays straight in (column, row, model z) and keeps its parameter.
struct GridAxes {
    double sx, sy, s, movex, movey, zmid, zscale;

    double colOf(double x) const { return (x / s + movex) / sx; }
    double rowOf(double y) const { return (movey - y / s) / sy; }
};

GridAxes axesOf(const DataSet& d)
{
    const MeshFrame& m = d.mesh();
    return {d.spacing().x, d.spacing().y, m.scalefactor, m.movex, m.movey, m.zmid, m.zscale};
}

struct Point3 {
    double c, r, z;
};

// Moeller and Trumbore's test of the line p + t v against triangle
// (a, b, e); t, and the weights of b and e, when it crosses it. A hair of
// slack at the edges keeps the line from slipping between two triangles.
struct Crossing {
    double t, u, v;
};
std::optional<Crossing> cross(const Point3& p, const Point3& v, const Point3& a, const Point3& b, const Point3& e)
{
    constexpr double SLACK = 1e-9;
    const Point3 e1{b.c - a.c, b.r - a.r, b.z - a.z}, e2{e.c - a.c, e.r - a.r, e.z - a.z};
    const Point3 h{v.r * e2.z - v.z * e2.r, v.z * e2.c - v.c * e2.z, v.c * e2.r - v.r * e2.c};
    const double det = e1.c * h.c + e1.r * h.r + e1.z * h.z;
    if (std::fabs(det) < 1e-300)
        return std::nullopt;
    const double inv = 1 / det;
    const Point3 s{p.c - a.c, p.r - a.r, p.z - a.z};
    const double u = (s.c * h.c + s.r * h.r + s.z * h.z) * inv;
    if (u < -SLACK || u > 1 + SLACK)
        return std::nullopt;
    const Point3 q{s.r * e1.z - s.z * e1.r, s.z * e1.c - s.c * e1.z, s.c * e1.r - s.r * e1.c};
    const double w = (v.c * q.c + v.r * q.r + v.z * q.z) * inv;
    if (w < -SLACK || u + w > 1 + SLACK)
        return std::nullopt;
    const double t = (e2.c * q.c + e2.r * q.r + e2.z * q.z) * inv;
    return Crossing{t, u, w};
}

// The range of t over which p + t v lies within [lo, hi] on one axis;
// false when it never does.
bool clipAxis(double p, double v, double lo, double hi, double& t0, double& t1)
{
    if (v == 0)
        return p >= lo && p <= hi;
    double a = (lo - p) / v, b = (hi - p) / v;
    if (a > b)
        std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    return t0 <= t1;
}

} // namespace

Vec3 modelPointOf(const DataSet& d, double row, double col, double h)
{
    const GridAxes a = axesOf(d);
    return {(col * a.sx - a.movex) * a.s, (a.movey - row * a.sy) * a.s, (h - a.zmid) * a.zscale};
}

std::optional<SurfaceHit> surfaceAlong(const DataSet& d, const Ray& ray, const ProfileCut& cut)
{
    const int rows = d.rows(), cols = d.cols();
    if (!d.loaded() || rows < 2 || cols < 2 || !d.mesh().usable())
        return std::nullopt;
    const GridAxes a = axesOf(d);
    const GridView dem = d.demView();
    const Point3 p{a.colOf(ray.from.x), a.rowOf(ray.from.y), ray.from.z};
    const Point3 q{a.colOf(ray.to.x), a.rowOf(ray.to.y), ray.to.z};
    const Point3 v{q.c - p.c, q.r - p.r, q.z - p.z};
    auto zOf = [&](int r, int c) { return (static_cast<double>(dem.at(r, c)) - a.zmid) * a.zscale; };

    // Only the stretch of the line inside the grid's box can meet it.
    double t0 = 0, t1 = 1;
    const double zlo = (static_cast<double>(d.zmin()) - a.zmid) * a.zscale;
    const double zhi = (static_cast<double>(d.zmax()) - a.zmid) * a.zscale;
    const double zslack = 1e-9 + 1e-6 * std::fabs(zhi - zlo);
    if (!clipAxis(p.c, v.c, 0, cols - 1, t0, t1) || !clipAxis(p.r, v.r, 0, rows - 1, t0, t1) ||
        !clipAxis(p.z, v.z, zlo - zslack, zhi + zslack, t0, t1))
        return std::nullopt;

    // Walk the cells the line crosses, nearest first (Amanatides and Woo);
    // the first cell with a crossing holds the nearest one.
    const double c0 = p.c + t0 * v.c, r0 = p.r + t0 * v.r;
    int c = std::clamp(static_cast<int>(std::floor(c0)), 0, cols - 2);
    int r = std::clamp(static_cast<int>(std::floor(r0)), 0, rows - 2);
    const int stepC = v.c > 0 ? 1 : -1, stepR = v.r > 0 ? 1 : -1;
    constexpr double NEVER = std::numeric_limits<double>::infinity();
    const double deltaC = v.c != 0 ? std::fabs(1 / v.c) : NEVER;
    const double deltaR = v.r != 0 ? std::fabs(1 / v.r) : NEVER;
    double nextC = v.c != 0 ? (c + (stepC > 0 ? 1 : 0) - p.c) / v.c : NEVER;
    double nextR = v.r != 0 ? (r + (stepR > 0 ? 1 : 0) - p.r) / v.r : NEVER;

    while (true) {
        // The cell's two triangles, split as the surface splits them: along
        // the diagonal from (r, c + 1) to (r + 1, c).
        const bool p00 = dem.isPresent(r, c), p01 = dem.isPresent(r, c + 1);
        const bool p10 = dem.isPresent(r + 1, c), p11 = dem.isPresent(r + 1, c + 1);
        std::optional<SurfaceHit> best;
        double bestT = NEVER;
        auto tryTriangle = [&](const Point3& A, const Point3& B, const Point3& E, double hA, double hB, double hE) {
            const std::optional<Crossing> x = cross(p, v, A, B, E);
            if (!x || x->t < 0 || x->t > 1 || x->t >= bestT)
                return;
            bestT = x->t;
            best = SurfaceHit{p.r + x->t * v.r, p.c + x->t * v.c, (1 - x->u - x->v) * hA + x->u * hB + x->v * hE};
        };
        // As the surface decides which triangles to draw beside the profile.
        const bool shown0 = triangleShown(cut, rows, cursorOf(r, c, 0, cols));
        const bool shown1 = triangleShown(cut, rows, cursorOf(r, c, 1, cols));
        if (p01 && p10) {
            const Point3 a01{double(c + 1), double(r), zOf(r, c + 1)}, a10{double(c), double(r + 1), zOf(r + 1, c)};
            const double h01 = dem.at(r, c + 1), h10 = dem.at(r + 1, c);
            if (p00 && shown0)
                tryTriangle({double(c), double(r), zOf(r, c)}, a10, a01, dem.at(r, c), h10, h01);
            if (p11 && shown1)
                tryTriangle(a01, a10, {double(c + 1), double(r + 1), zOf(r + 1, c + 1)}, h01, h10,
                            dem.at(r + 1, c + 1));
        }
        if (best) {
            best->row = std::clamp(best->row, 0.0, static_cast<double>(rows - 1));
            best->col = std::clamp(best->col, 0.0, static_cast<double>(cols - 1));
            return best;
        }
        // On to the neighbour the line enters next.
        if (nextC < nextR) {
            if (nextC > t1)
                return std::nullopt;
            c += stepC;
            nextC += deltaC;
            if (c < 0 || c > cols - 2)
                return std::nullopt;
        } else {
            if (nextR > t1 || nextR == NEVER)
                return std::nullopt;
            r += stepR;
            nextR += deltaR;
            if (r < 0 || r > rows - 2)
                return std::nullopt;
        }
    }
}

std::optional<SurfaceHit> surfaceUnder(const DataSet& d, const ViewState& view, int width, int height,
                                       const WindowPoint& at)
{
    const std::optional<Ray> ray = rayThrough(frameMatrices(view, width, height), at);
    if (!ray || !view.drawTriangles || !d.loaded())
        return std::nullopt;
    const ProfilePlacement place = placeProfile(d.mesh(), view.profileYpos, view.profileXpos);
    return surfaceAlong(d, *ray, ProfileCut{view.plotProfile, view.profView, place.Y, place.X});
}

} // namespace orolith::render

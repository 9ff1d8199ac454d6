#include "render/smalltriangles.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/parallel.h"
#include "render/names.h"

namespace orolith::render {

namespace {

// Wider than any difference between this transform and the renderer's, and
// than its sub-pixel snapping.
constexpr float MARGIN = 1.0f / 32;

// floor(v) for v clamped to [lo - 2, hi + 2] (never far beyond the
// viewport, so the shift keeps it positive and truncation is floor).
inline int clampedFloor(float v, int lo, int hi)
{
    constexpr int SHIFT = 1 << 24;
    const double c = std::min(std::max(static_cast<double>(v), lo - 2.0), hi + 2.0);
    return static_cast<int>(c + SHIFT) - SHIFT;
}

// Whether the triangle may cover a pixel centre k + 0.5 of the viewport:
// one within MARGIN of its bounding box, and, when the box holds no more
// than four, within MARGIN of the triangle itself.
inline bool reachesPixel(const float* p0, const float* p1, const float* p2, const int* viewport)
{
    const int left = viewport[0], right = viewport[0] + viewport[2] - 1;
    const int bottom = viewport[1], top = viewport[1] + viewport[3] - 1;
    // Centres k with lo - MARGIN <= k + 0.5 <= hi + MARGIN; one exactly at
    // the margin's end is MARGIN away and cannot be covered.
    const int x0 = std::max(clampedFloor(std::min({p0[0], p1[0], p2[0]}) - 0.5f - MARGIN, left, right) + 1, left);
    const int x1 = std::min(clampedFloor(std::max({p0[0], p1[0], p2[0]}) - 0.5f + MARGIN, left, right), right);
    const int y0 = std::max(clampedFloor(std::min({p0[1], p1[1], p2[1]}) - 0.5f - MARGIN, bottom, top) + 1, bottom);
    const int y1 = std::min(clampedFloor(std::max({p0[1], p1[1], p2[1]}) - 0.5f + MARGIN, bottom, top), top);
    const int nx = x1 - x0 + 1, ny = y1 - y0 + 1;
    if (nx <= 0 || ny <= 0)
        return false;
    if (nx * ny > 4)
        return true;
    // Edge functions, signed so that inside is positive, each taken from
    // its own vertex so that no large coordinates cancel; a triangle of no
    // area is kept. |edge| <= |dx| + |dy|, so each test reaches at least
    // MARGIN beyond its edge.
    const float area = (p1[0] - p0[0]) * (p2[1] - p0[1]) - (p1[1] - p0[1]) * (p2[0] - p0[0]);
    if (area == 0)
        return true;
    const float side = area > 0 ? 1.0f : -1.0f;
    const float* v[4] = {p0, p1, p2, p0};
    float dx[3], dy[3], reach[3];
    for (int i = 0; i < 3; ++i) {
        dx[i] = side * (v[i + 1][0] - v[i][0]);
        dy[i] = side * (v[i + 1][1] - v[i][1]);
        reach[i] = -MARGIN * (std::fabs(dx[i]) + std::fabs(dy[i]));
    }
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            bool inside = true;
            for (int i = 0; i < 3 && inside; ++i)
                inside = dx[i] * (py - v[i][1]) - dy[i] * (px - v[i][0]) >= reach[i];
            if (inside)
                return true;
        }
    return false;
}

} // namespace

namespace {

// Half of a vertex's key: the gap between pixel centres that coordinate
// `s` lies in (k for k + 0.5 < s < k + 1.5, the gaps before the first
// centre `lo` as one and those after the last `hi` as one) counted from
// lo - 1, or NEAR when `s` is within MARGIN of a centre's line.
constexpr std::uint32_t NEAR = 0x8000;
inline std::uint32_t gapOf(float s, int lo, int hi)
{
    // Clamped to two pixels beyond the centres and counted from one more
    // below, f >= 1: truncation is floor.
    const float f = std::min(std::max(s - 0.5f, lo - 2.0f), hi + 2.0f) - (lo - 3.0f);
    const int below = static_cast<int>(f - MARGIN);
    const int above = static_cast<int>(f + MARGIN);
    if (below != above)
        return NEAR;
    // below + lo - 3 is the gap; the first counted is lo - 1.
    return static_cast<std::uint32_t>(std::min(std::max(below - 2, 0), hi - lo + 1));
}

// Gap numbers must stay below NEAR.
constexpr int WIDEST = 0x7000;

} // namespace

std::size_t PixelReach::select(const std::vector<float>& xyz, const std::vector<std::uint32_t>& indices,
                               const ScreenTransform& t)
{
    const int vx = t.viewport[0], vy = t.viewport[1], vw = t.viewport[2], vh = t.viewport[3];
    kept_.resize(indices.size());
    if (vw > WIDEST || vh > WIDEST) {
        std::copy(indices.begin(), indices.end(), kept_.begin());
        return indices.size();
    }
    float m[16];
    std::copy(t.matrix, t.matrix + 16, m);
    const float hx = 0.5f * vw, hy = 0.5f * vh, ox = vx + hx, oy = vy + hy;
    const int vertices = static_cast<int>(xyz.size() / 3);
    screen_.resize(2 * static_cast<std::size_t>(vertices));
    keys_.resize(static_cast<std::size_t>(vertices));
    float* screen = screen_.data();
    std::uint32_t* keys = keys_.data();
    forEachPart(0, vertices, threadsFor(vertices), [&](int, int first, int last) {
        // Copies, so that the stores below cannot be taken to change them.
        float a[16];
        std::copy(m, m + 16, a);
        const float* in = xyz.data();
        float* out = screen;
        std::uint32_t* key = keys;
        for (int v = first; v < last; ++v) {
            const float x = in[3 * v], y = in[3 * v + 1], z = in[3 * v + 2];
            // A flat surface has two vertices at each grid point.
            if (v > first && x == in[3 * v - 3] && y == in[3 * v - 2] && z == in[3 * v - 1]) {
                out[2 * v] = out[2 * v - 2];
                out[2 * v + 1] = out[2 * v - 1];
                key[v] = key[v - 1];
                continue;
            }
            const float cx = a[0] * x + a[4] * y + a[8] * z + a[12];
            const float cy = a[1] * x + a[5] * y + a[9] * z + a[13];
            const float cw = a[3] * x + a[7] * y + a[11] * z + a[15];
            if (!(cw > 1e-6f)) {
                out[2 * v] = out[2 * v + 1] = NAN;
                key[v] = NEAR | NEAR << 16;
                continue;
            }
            const float w = 1.0f / cw;
            const float sx = ox + cx * w * hx, sy = oy + cy * w * hy;
            out[2 * v] = sx;
            out[2 * v + 1] = sy;
            key[v] = gapOf(sx, vx, vx + vw - 1) | gapOf(sy, vy, vy + vh - 1) << 16;
        }
    });

    // Each part writes its triangles where its own begin; the parts are
    // then moved together.
    const int triangles = static_cast<int>(indices.size() / 3);
    const int parts = threadsFor(triangles);
    std::vector<std::size_t> begin(static_cast<std::size_t>(parts)), count(static_cast<std::size_t>(parts));
    forEachPart(0, triangles, parts, [&](int part, int first, int last) {
        std::uint32_t* out = kept_.data() + 3 * static_cast<std::size_t>(first);
        std::size_t n = 0;
        for (int k = first; k < last; ++k) {
            const std::uint32_t* tri = &indices[3 * static_cast<std::size_t>(k)];
            // Most triangles of a dense grid lie between two columns or two
            // rows of pixel centres: their vertices' gaps agree and none is
            // near a centre's line.
            const std::uint32_t k0 = keys[tri[0]];
            const std::uint32_t differ = (k0 ^ keys[tri[1]]) | (k0 ^ keys[tri[2]]);
            if (((differ & 0xFFFF) == 0 && !(k0 & NEAR)) || ((differ >> 16) == 0 && !(k0 & NEAR << 16)))
                continue;
            const float* p0 = screen + 2 * tri[0];
            const float* p1 = screen + 2 * tri[1];
            const float* p2 = screen + 2 * tri[2];
            // A vertex behind the eye (NaN) keeps its triangle.
            const bool known = p0[0] == p0[0] && p1[0] == p1[0] && p2[0] == p2[0];
            out[n] = tri[0];
            out[n + 1] = tri[1];
            out[n + 2] = tri[2];
            n += (!known || reachesPixel(p0, p1, p2, t.viewport)) ? 3 : 0;
        }
        begin[part] = 3 * static_cast<std::size_t>(first);
        count[part] = n;
    });
    std::size_t total = count[0];
    for (int p = 1; p < parts; ++p) {
        std::memmove(kept_.data() + total, kept_.data() + begin[p], count[p] * sizeof(std::uint32_t));
        total += count[p];
    }
    return total;
}

bool rendersInSoftware(const char* renderer)
{
    if (!renderer)
        return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (std::strstr(renderer, name))
            return true;
    return false;
}

} // namespace orolith::render

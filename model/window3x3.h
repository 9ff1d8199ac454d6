// One walk for every terrain stencil: the Laplacian of the curvature
// fields and exports, Horn's gradient of the accuracy metrics and the
// co-registration, the peaks of a sparse sample. Each stencil is a small
// function of a Window3x3; forEachWindow3x3 decides once which points have
// a window (the border, absent points) and shares the rows between threads.
// A stencil asked about one point alone (the viewer's slope under a
// triangle, the comparison's Laplacian in an export) takes the same window
// and the same presence rule.
//
// Row r - 1 is the northern one and columns grow east.
#ifndef OROLITH_MODEL_WINDOW3X3_H
#define OROLITH_MODEL_WINDOW3X3_H

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "model/gridview.h"
#include "model/parallel.h"

namespace orolith::model {

// The heights around one point of a grid, read where they are stored:
//     nw  n       ne
//     w   centre  e
//     sw  s       se
// at(dr, dc) reads any offset; the walk guarantees the 3 x 3 window, and
// the viewer's slope stencils, which read two points out along the row and
// column, check that reach themselves.
class Window3x3 {
public:
    Window3x3(const float* centre, std::ptrdiff_t rowLength, int row, int col)
        : centre_(centre), rowLength_(rowLength), row_(row), col_(col)
    {
    }

    int row() const { return row_; }
    int col() const { return col_; }

    float at(int dr, int dc) const { return centre_[dr * rowLength_ + dc]; }
    float nw() const { return at(-1, -1); }
    float n() const { return at(-1, 0); }
    float ne() const { return at(-1, 1); }
    float w() const { return at(0, -1); }
    float centre() const { return centre_[0]; }
    float e() const { return at(0, 1); }
    float sw() const { return at(1, -1); }
    float s() const { return at(1, 0); }
    float se() const { return at(1, 1); }

private:
    const float* centre_;
    std::ptrdiff_t rowLength_;
    int row_, col_;
};

// The window of the point (r, c) of g.
inline Window3x3 windowAt(const GridView& g, int r, int c) { return {g.heights + g.index(r, c), g.cols, r, c}; }

// The points a stencil reads besides the point itself.
enum class Neighbourhood {
    four,  // n, w, e, s: the Laplacian
    eight, // the whole 3 x 3 window: Horn's gradient, the peaks
    // The 3 x 3 window and the points two out along the row and column:
    // the viewer's gradient direction (model/terrain.h).
    eightAndTwoOut,
};

// How far from the point a neighbourhood reads: the width of the border
// band that has no window.
constexpr int reachOf(Neighbourhood shape) { return shape == Neighbourhood::eightAndTwoOut ? 2 : 1; }

namespace window_detail {

// The points `shape` reads around the point whose presence flag `p` points
// at are present, in a grid of `cols` columns; the caller knows that they
// lie in the grid. The one presence rule of every stencil.
template <Neighbourhood shape>
bool presentAround(const std::uint8_t* p, std::ptrdiff_t cols)
{
    const bool cross = p[0] && p[-cols] && p[cols] && p[-1] && p[1];
    if constexpr (shape == Neighbourhood::four)
        return cross;
    const bool corners = p[-cols - 1] && p[-cols + 1] && p[cols - 1] && p[cols + 1];
    if constexpr (shape == Neighbourhood::eight)
        return cross && corners;
    return cross && corners && p[-2 * cols] && p[2 * cols] && p[-2] && p[2];
}

// Calls fn(std::integral_constant<Neighbourhood, shape>) for a shape known
// only at run time, so that the walks test presence with constant offsets.
template <class Fn>
void withShape(Neighbourhood shape, Fn fn)
{
    switch (shape) {
    case Neighbourhood::four: fn(std::integral_constant<Neighbourhood, Neighbourhood::four>()); return;
    case Neighbourhood::eight: fn(std::integral_constant<Neighbourhood, Neighbourhood::eight>()); return;
    case Neighbourhood::eightAndTwoOut:
        fn(std::integral_constant<Neighbourhood, Neighbourhood::eightAndTwoOut>());
        return;
    }
}

} // namespace window_detail

// Every point `shape` reads around (r, c) lies in g and is present: the
// stencil has a value there. A point nearer the edge than the shape's
// reach reads outside the grid and so has none.
inline bool neighbourhoodPresent(const GridView& g, int r, int c, Neighbourhood shape)
{
    const int reach = reachOf(shape);
    if (r < reach || c < reach || r >= g.rows - reach || c >= g.cols - reach)
        return false;
    if (!g.present)
        return true;
    bool present = false;
    window_detail::withShape(shape, [&](auto s) {
        present = window_detail::presentAround<decltype(s)::value>(g.present + g.index(r, c), g.cols);
    });
    return present;
}

// What a walk does where a window holds an absent point.
enum class AbsentPoints {
    // Visit it all the same, the absent point read as the height the
    // reader stored: the statistics report's curvature takes an absent
    // DEM point as its stored 0.
    readAsStored,
    // Leave the point out: a stencil has no value beside an absent point.
    skipWindow,
};

// Threads of a walk: THREADS_BY_SIZE takes as many as the grid's size is
// worth (threadsFor, model/parallel.h); 1 keeps it on the calling thread.
constexpr int THREADS_BY_SIZE = 0;

struct WindowWalk {
    Neighbourhood shape = Neighbourhood::eight;
    AbsentPoints absent = AbsentPoints::skipWindow;
    int threads = 1;
};

// Calls visit(window) for every point of g whose neighbourhood (walk.shape)
// lies in the grid: the border band as wide as the shape's reach is never
// visited (no stencil here clamps or mirrors at the edge). With
// AbsentPoints::skipWindow, points whose neighbourhood holds an absent
// point are not visited either.
//
// Several threads each take a band of whole rows, so a visitor may write
// the result of its own point anywhere, but must not add up across points:
// float sums belong after the walk, in row-major order, where their last
// bits do not depend on the split. On one thread the points come row by
// row, west to east. A visitor that returns bool ends the walk by returning
// false; such a walk stays on the calling thread, in that order.
template <class Visit>
void forEachWindow3x3(const GridView& g, const WindowWalk& walk, Visit visit)
{
    const int reach = reachOf(walk.shape);
    const int firstRow = reach, endRow = g.rows - reach, firstCol = reach, endCol = g.cols - reach;
    if (endRow <= firstRow || endCol <= firstCol)
        return;
    const bool skipAbsent = walk.absent == AbsentPoints::skipWindow && g.present;
    constexpr bool STOPS = std::is_same_v<std::invoke_result_t<Visit&, const Window3x3&>, bool>;
    // A visitor that cannot stop goes on after every point.
    auto call = [&](const Window3x3& w) {
        if constexpr (STOPS) {
            return visit(w);
        } else {
            visit(w);
            return true;
        }
    };
    window_detail::withShape(walk.shape, [&](auto shape) {
        auto band = [&](int first, int last) {
            for (int r = first; r < last; ++r) {
                const float* row = g.heights + g.index(r, 0);
                if (skipAbsent) {
                    const std::uint8_t* present = g.present + g.index(r, 0);
                    for (int c = firstCol; c < endCol; ++c)
                        if (window_detail::presentAround<decltype(shape)::value>(present + c, g.cols) &&
                            !call(Window3x3(row + c, g.cols, r, c)))
                            return;
                } else {
                    for (int c = firstCol; c < endCol; ++c)
                        if (!call(Window3x3(row + c, g.cols, r, c)))
                            return;
                }
            }
        };
        if constexpr (STOPS) {
            band(firstRow, endRow);
        } else {
            const long long points = static_cast<long long>(endRow - firstRow) * (endCol - firstCol);
            const int parts = walk.threads == THREADS_BY_SIZE ? threadsFor(points) : walk.threads;
            forEachPart(firstRow, endRow, parts, [&](int, int first, int last) { band(first, last); });
        }
    });
}

// Calls fn(r, c), row by row, for every point off the border band whose
// neighbourhood holds an absent point: the points a walk that skips
// windows leaves out, where a stencil's class shows nothing.
template <class Fn>
void forEachWindowWithAbsentPoint(const GridView& g, Neighbourhood shape, Fn fn)
{
    const int reach = reachOf(shape);
    if (!g.present || g.rows - reach <= reach || g.cols - reach <= reach)
        return;
    window_detail::withShape(shape, [&](auto s) {
        for (int r = reach; r < g.rows - reach; ++r) {
            const std::uint8_t* present = g.present + g.index(r, 0);
            for (int c = reach; c < g.cols - reach; ++c)
                if (!window_detail::presentAround<decltype(s)::value>(present + c, g.cols))
                    fn(r, c);
        }
    });
}

} // namespace orolith::model

#endif

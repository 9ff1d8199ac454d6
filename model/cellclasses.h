// Class bytes and class counts of the cells of a grid, from one value a
// cell (or one a interior point). The rules are those of cellmath.h; this
// is the loop that applies them to millions of cells, written so that the
// compiler can classify many cells per instruction.
#ifndef OROLITH_MODEL_CELLCLASSES_H
#define OROLITH_MODEL_CELLCLASSES_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

#include "model/cellmath.h"
#include "model/parallel.h"

namespace orolith::model {

namespace cellclasses {

// Classes of n values for the K bounds u, 2u, ..., Ku: K minus the number
// of bounds a value exceeds, so a value above Ku is class 0 and one at or
// below u (or NaN) class K. This is the first-bound-from-the-top rule of
// curveClass and diffClass whenever the bounds ascend, that is for u >= 0;
// `exceeded[j]` grows by the values above bound j + 1.
template <int K>
void classifyRun(const float* v, std::size_t n, const float (&bound)[K], std::uint8_t* out, long long (&exceeded)[K])
{
    std::size_t i = 0;
#ifdef __SSE2__
    // Sixteen values a step: each comparison gives -1 per value above the
    // bound, which both lowers the class and counts the value.
    __m128i above[K];
    __m128 b[K];
    for (int j = 0; j < K; ++j) {
        above[j] = _mm_setzero_si128();
        b[j] = _mm_set1_ps(bound[j]);
    }
    const __m128i top = _mm_set1_epi32(K);
    for (; i + 16 <= n; i += 16) {
        __m128i k[4];
        for (int q = 0; q < 4; ++q) {
            const __m128 x = _mm_loadu_ps(v + i + 4 * q);
            k[q] = top;
            for (int j = 0; j < K; ++j) {
                const __m128i e = _mm_castps_si128(_mm_cmpgt_ps(x, b[j]));
                k[q] = _mm_add_epi32(k[q], e);
                above[j] = _mm_sub_epi32(above[j], e);
            }
        }
        if (out) {
            const __m128i lo = _mm_packs_epi32(k[0], k[1]), hi = _mm_packs_epi32(k[2], k[3]);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(lo, hi));
        }
    }
    for (int j = 0; j < K; ++j) {
        alignas(16) std::int32_t lane[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(lane), above[j]);
        exceeded[j] += static_cast<long long>(lane[0]) + lane[1] + lane[2] + lane[3];
    }
#endif
    for (; i < n; ++i) {
        const float x = v[i];
        int k = K;
        for (int j = 0; j < K; ++j) {
            const int e = x > bound[j];
            exceeded[j] += e;
            k -= e;
        }
        if (out)
            out[i] = static_cast<std::uint8_t>(k);
    }
}

// One value's class by the rule itself, for units below 0 (or NaN), where
// the bounds do not ascend.
template <int K>
int classOf(float x, float u)
{
    if constexpr (K == 3)
        return curveClass(x, u);
    else
        return diffClass(x, u);
}

} // namespace cellclasses

// The K+1 classes of the (rows-1) x (cols-1) cells in unit u (K = 3: the
// curvature classes, K = 4: the difference classes). With `interiorOnly`
// the values are those of the interior points ((rows-2) x (cols-2)) and the
// border cells (row 0, column 0) fall in class K; otherwise there is a value
// for every cell. Each cell's class goes to `classes` when given; counts[k]
// is the number of cells of class k.
template <int K>
void classifyCells(const float* values, int rows, int cols, bool interiorOnly, float u, std::uint8_t* classes,
                   int counts[K + 1])
{
    using namespace cellclasses;
    const int cellCols = cols - 1;
    const std::size_t cells = rows > 1 && cols > 1 ? static_cast<std::size_t>(rows - 1) * cellCols : 0;
    for (int k = 0; k <= K; ++k)
        counts[k] = 0;
    if (cells == 0)
        return;
    const int parts = threadsFor(static_cast<long long>(cells));
    std::vector<std::array<long long, K + 1>> partCounts(static_cast<std::size_t>(parts),
                                                         std::array<long long, K + 1>{});
    float bound[K];
    for (int j = 0; j < K; ++j)
        bound[j] = (j + 1) * u;
    const bool ascending = u >= 0;
    forEachPart(0, rows - 1, parts, [&](int part, int first, int last) {
        std::array<long long, K + 1>& n = partCounts[static_cast<std::size_t>(part)];
        // A run of values whose classes go to out (when classes are kept).
        auto run = [&](const float* v, std::size_t len, std::size_t out) {
            std::uint8_t* to = classes ? classes + out : nullptr;
            if (ascending) {
                long long exceeded[K] = {};
                classifyRun<K>(v, len, bound, to, exceeded);
                n[0] += exceeded[K - 1];
                for (int k = 1; k < K; ++k)
                    n[static_cast<std::size_t>(k)] += exceeded[K - 1 - k] - exceeded[K - k];
                n[K] += static_cast<long long>(len) - exceeded[0];
                return;
            }
            for (std::size_t i = 0; i < len; ++i) {
                int k = classOf<K>(v[i], u);
                if (to)
                    to[i] = static_cast<std::uint8_t>(k);
                ++n[static_cast<std::size_t>(k)];
            }
        };
        // A border cell: no value of its own.
        auto border = [&](std::size_t at, std::size_t len) {
            if (classes)
                for (std::size_t i = 0; i < len; ++i)
                    classes[at + i] = K;
            n[K] += static_cast<long long>(len);
        };
        if (!interiorOnly) {
            const std::size_t at = static_cast<std::size_t>(first) * cellCols;
            run(values + at, static_cast<std::size_t>(last - first) * cellCols, at);
            return;
        }
        for (int r = first; r < last; ++r) {
            const std::size_t at = static_cast<std::size_t>(r) * cellCols;
            if (r == 0) {
                border(at, static_cast<std::size_t>(cellCols));
                continue;
            }
            border(at, 1);
            run(values + static_cast<std::size_t>(r - 1) * (cols - 2), static_cast<std::size_t>(cellCols - 1), at + 1);
        }
    });
    for (const auto& n : partCounts)
        for (int k = 0; k <= K; ++k)
            counts[k] += static_cast<int>(n[static_cast<std::size_t>(k)]);
}

} // namespace orolith::model

#endif

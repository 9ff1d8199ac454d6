// Synthetic DEM pairs for the benchmarks: fractal relief (value noise summed
// over octaves, mountains of a couple of thousand metres) written with two
// decimals, and a comparison grid that departs from it by a smooth error
// field plus a few blunders, as an interpolated DEM departs from a survey.
#ifndef OROLITH_BENCH_SYNTHETIC_H
#define OROLITH_BENCH_SYNTHETIC_H

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace bench {

inline float lattice(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    std::uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xffffu) / 65535.0f;
}

inline float smooth(float t) { return t * t * (3 - 2 * t); }

inline float valueNoise(float x, float y, std::uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    auto ix = static_cast<std::uint32_t>(static_cast<std::int64_t>(fx)),
         iy = static_cast<std::uint32_t>(static_cast<std::int64_t>(fy));
    float tx = smooth(x - fx), ty = smooth(y - fy);
    float a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    float c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

// Height of the fractal relief at (row, column) of a grid of `size` points
// a side: 7 octaves, the first spanning the whole grid.
inline float relief(int r, int c, int size, std::uint32_t seed = 1)
{
    float h = 0, amplitude = 1200, frequency = 4.0f / static_cast<float>(size);
    for (int octave = 0; octave < 7; ++octave) {
        h += amplitude * valueNoise(c * frequency, r * frequency, seed + octave);
        amplitude *= 0.5f;
        frequency *= 2.0f;
    }
    return 800 + h;
}

// Writes the pair as ESRI ASCII grids with two-decimal heights.
inline void writePair(const std::string& dem, const std::string& comparison, int size)
{
    std::FILE* files[2] = {std::fopen(dem.c_str(), "w"), std::fopen(comparison.c_str(), "w")};
    std::string line;
    char number[32];
    for (int k = 0; k < 2; ++k) {
        std::fprintf(files[k],
                     "ncols %d\nnrows %d\nxllcorner 600000\nyllcorner 5100000\ncellsize 10\n"
                     "NODATA_value -9999\n",
                     size, size);
    }
    std::vector<float> row(static_cast<std::size_t>(size));
    for (int r = 0; r < size; ++r) {
        for (int c = 0; c < size; ++c)
            row[static_cast<std::size_t>(c)] = relief(r, c, size);
        for (int k = 0; k < 2; ++k) {
            line.clear();
            for (int c = 0; c < size; ++c) {
                float h = row[static_cast<std::size_t>(c)];
                if (k == 1) // smooth error, plus a blunder every 9973 cells
                    h += 1.5f * valueNoise(c * 0.02f, r * 0.02f, 99) - 0.75f +
                         ((r * size + c) % 9973 == 0 ? 40.0f : 0.0f);
                auto [end, ec] = std::to_chars(number, number + sizeof number, h, std::chars_format::fixed, 2);
                (void)ec;
                line.append(number, end);
                line += c + 1 < size ? ' ' : '\n';
            }
            std::fwrite(line.data(), 1, line.size(), files[k]);
        }
    }
    std::fclose(files[0]);
    std::fclose(files[1]);
}

} // namespace bench

#endif

// A smooth fractal terrain for the co-registration tests and the accuracy
// benchmark: a sum of plane waves of random direction and phase whose
// amplitude grows with the wavelength as a power law (spectral synthesis).
// It is evaluated exactly at any point, so a grid moved by a fraction of a
// cell samples the same surface elsewhere instead of interpolating it.
#ifndef OROLITH_TESTS_MODEL_FRACTAL_SURFACE_H
#define OROLITH_TESTS_MODEL_FRACTAL_SURFACE_H

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

using namespace orolith::model;

class FractalSurface {
public:
    // Waves from `longest` down to `shortest` cells of wavelength, their
    // amplitudes scaled so that the longest reaches `relief` height units.
    explicit FractalSurface(std::uint32_t seed, double base = 1000, double relief = 150, double longest = 300,
                            double shortest = 6, int waves = 48)
        : base_(base)
    {
        std::mt19937 random(seed);
        auto uniform = [&] { return static_cast<double>(random() >> 8) / 16777216.0; };
        const double pi = 3.14159265358979323846;
        for (int i = 0; i < waves; ++i) {
            double wavelength = longest * std::pow(shortest / longest, i / (waves - 1.0));
            double k = 2 * pi / wavelength, direction = 2 * pi * uniform();
            waves_.push_back({k * std::cos(direction), k * std::sin(direction), 2 * pi * uniform(),
                              relief * std::pow(wavelength / longest, 1.6)});
        }
    }

    // A rows x cols grid, row 0 northern, of the surface moved by (east,
    // north) cells and raised by `offset`: the point of row r and column c
    // holds the height at x = c - east cells east and y = -r - north cells
    // north, plus offset.
    std::vector<float> grid(int rows, int cols, double east = 0, double north = 0, double offset = 0) const
    {
        // sin(a + b) = sin a cos b + cos a sin b, with a from the column and
        // b from the row: two products per wave and point.
        std::vector<std::vector<double>> sinCol(waves_.size()), cosCol(waves_.size());
        for (std::size_t w = 0; w < waves_.size(); ++w)
            for (int c = 0; c < cols; ++c) {
                double a = waves_[w].kx * (c - east) + waves_[w].phase;
                sinCol[w].push_back(std::sin(a));
                cosCol[w].push_back(std::cos(a));
            }
        std::vector<float> out(static_cast<std::size_t>(rows) * cols);
        std::vector<double> row(cols);
        for (int r = 0; r < rows; ++r) {
            std::fill(row.begin(), row.end(), base_ + offset);
            for (std::size_t w = 0; w < waves_.size(); ++w) {
                double b = waves_[w].ky * (-r - north), amp = waves_[w].amplitude;
                double sb = amp * std::sin(b), cb = amp * std::cos(b);
                const double* s = sinCol[w].data();
                const double* k = cosCol[w].data();
                for (int c = 0; c < cols; ++c)
                    row[c] += s[c] * cb + k[c] * sb;
            }
            for (int c = 0; c < cols; ++c)
                out[static_cast<std::size_t>(r) * cols + c] = static_cast<float>(row[c]);
        }
        return out;
    }

private:
    struct Wave {
        double kx, ky, phase, amplitude;
    };
    std::vector<Wave> waves_;
    double base_;
};

#endif

#pragma once
// One biquad's coefficients, and the shelving filters the Tolvar and Corvel equalisers share.

#include <cmath>

namespace classic {

// One biquad's coefficients, normalised by a0 (transposed direct form II in the engines).
struct Biquad {
    double b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    bool operator==(const Biquad&) const = default;
};

enum class Shelf : unsigned char { low, high };

// [any thread] A shelf with slope 1 (alpha = sin(w0)/sqrt(2)) at `hertz`, raising or lowering
// the band by `gainDecibels`, for the oversampled rate fos. The high shelf is the low one
// mirrored: cos w0 negated, and b1 and a1 with it; both negations are exact, so either shelf
// has the bits of its own textbook formulas.
inline Biquad shelfDesign(Shelf shelf, double hertz, double gainDecibels, double fos) noexcept {
    const double mirror = shelf == Shelf::low ? 1.0 : -1.0;
    const double a = std::pow(10.0, gainDecibels / 40.0);
    const double w0 = 2.0 * M_PI * hertz / fos;
    const double cs = mirror * std::cos(w0);
    const double alpha = std::sin(w0) / std::sqrt(2.0);
    const double beta = 2.0 * std::sqrt(a) * alpha;
    const double b0 = a * ((a + 1) - (a - 1) * cs + beta);
    const double b1 = 2.0 * a * ((a - 1) - (a + 1) * cs);
    const double b2 = a * ((a + 1) - (a - 1) * cs - beta);
    const double a0 = (a + 1) + (a - 1) * cs + beta;
    const double a1 = -2.0 * ((a - 1) + (a + 1) * cs);
    const double a2 = (a + 1) + (a - 1) * cs - beta;
    return {b0 / a0, mirror * (b1 / a0), b2 / a0, mirror * (a1 / a0), a2 / a0};
}

} // namespace classic

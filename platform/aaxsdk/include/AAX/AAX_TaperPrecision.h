#pragma once
// What the tapers share: a real precision of P steps per unit (P = 1: whole numbers, P = 1000:
// thousandths; P = 0: no rounding), clamping, and the normalised range.

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace aaxsdk {

// Halves away from zero, as the hosts show them.
template <int32_t RealPrecision> double roundToPrecision(double value) {
    if constexpr (RealPrecision > 0) {
        return std::round(value * RealPrecision) / RealPrecision;
    } else {
        return value;
    }
}

template <int32_t RealPrecision>
double constrainReal(double value, double minimum, double maximum) {
    if (std::isnan(value)) {
        return minimum;
    }
    // Rounding may step just outside the range; clamp afterwards.
    return std::clamp(roundToPrecision<RealPrecision>(std::clamp(value, minimum, maximum)), minimum,
                      maximum);
}

inline double clampNormalized(double normalized) {
    return std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
}

} // namespace aaxsdk

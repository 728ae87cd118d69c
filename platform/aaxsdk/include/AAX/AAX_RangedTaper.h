#pragma once
// What the tapers share: a range (given in either order), a real precision of P steps per unit
// (P = 1: whole numbers, P = 1000: thousandths; P = 0: no rounding), clamping, and the
// normalised range. A taper derives from RangedTaper and adds its mapping.

#include <AAX/AAX_ITaperDelegate.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace aaxsdk {

inline double clampNormalized(double normalized) {
    return std::isnan(normalized) ? 0.0 : std::clamp(normalized, 0.0, 1.0);
}

template <typename T, int32_t RealPrecision> class RangedTaper : public AAX_ITaperDelegate<T> {
public:
    RangedTaper(T minimum, T maximum)
        : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)) {}

    T GetMinimumValue() const override { return minimum_; }
    T GetMaximumValue() const override { return maximum_; }
    T ConstrainRealValue(T value) const override {
        if (std::isnan(static_cast<double>(value))) {
            return minimum_;
        }
        // Rounding may step just outside the range; clamp afterwards.
        return std::clamp(rounded(std::clamp(value, minimum_, maximum_)), minimum_, maximum_);
    }

protected:
    // The linear mapping, which a logarithmic taper falls back to for a range it cannot take.
    T linearReal(double normalized) const {
        return ConstrainRealValue(
            static_cast<T>(minimum_ + clampNormalized(normalized) * (maximum_ - minimum_)));
    }
    double linearNormalized(T real) const {
        const double width = static_cast<double>(maximum_) - static_cast<double>(minimum_);
        return width > 0.0 ? clampNormalized((ConstrainRealValue(real) - minimum_) / width) : 0.0;
    }

    T minimum_;
    T maximum_;

private:
    // Halves away from zero, as the hosts show them.
    static T rounded(T value) {
        if constexpr (RealPrecision > 0) {
            return static_cast<T>(std::round(value * RealPrecision) / RealPrecision);
        } else {
            return value;
        }
    }
};

} // namespace aaxsdk

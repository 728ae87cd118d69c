#pragma once
// AAX_CLogTaperDelegate: real = minimum * (maximum / minimum)^normalised, rounded to the
// precision (RealPrecision steps per unit; 0: not rounded): equal normalised steps are equal
// ratios, as for frequencies. The range must be positive (minimum > 0); a range that is not
// maps as AAX_CLinearTaperDelegate does, so nothing ever takes the logarithm of zero.

#include <AAX/AAX_ITaperDelegate.h>
#include <AAX/AAX_TaperPrecision.h>

template <typename T, int32_t RealPrecision = 1000>
class AAX_CLogTaperDelegate final : public AAX_ITaperDelegate<T> {
public:
    AAX_CLogTaperDelegate(T minimum, T maximum)
        : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)) {}

    AAX_CLogTaperDelegate* Clone() const override { return new AAX_CLogTaperDelegate(*this); }
    T GetMinimumValue() const override { return minimum_; }
    T GetMaximumValue() const override { return maximum_; }
    T ConstrainRealValue(T value) const override {
        return static_cast<T>(aaxsdk::constrainReal<RealPrecision>(value, minimum_, maximum_));
    }
    T NormalizedToReal(double normalized) const override {
        const double n = aaxsdk::clampNormalized(normalized);
        const double real =
            logarithmic() ? minimum_ * std::pow(ratio(), n) : minimum_ + n * (maximum_ - minimum_);
        return ConstrainRealValue(static_cast<T>(real));
    }
    double RealToNormalized(T real) const override {
        const double value = ConstrainRealValue(real);
        if (logarithmic()) {
            return aaxsdk::clampNormalized(std::log(value / minimum_) / std::log(ratio()));
        }
        const double width = static_cast<double>(maximum_) - static_cast<double>(minimum_);
        return width > 0.0 ? aaxsdk::clampNormalized((value - minimum_) / width) : 0.0;
    }

private:
    bool logarithmic() const { return minimum_ > 0 && maximum_ > minimum_; }
    double ratio() const { return static_cast<double>(maximum_) / static_cast<double>(minimum_); }

    T minimum_;
    T maximum_;
};

#pragma once
// AAX_CLinearTaperDelegate: real = minimum + normalised * (maximum - minimum), rounded to the
// precision (RealPrecision steps per unit; 0: not rounded). A range of zero width maps every
// normalised value to the minimum and every real value to 0.

#include <AAX/AAX_ITaperDelegate.h>
#include <AAX/AAX_TaperPrecision.h>

template <typename T, int32_t RealPrecision = 1000>
class AAX_CLinearTaperDelegate final : public AAX_ITaperDelegate<T> {
public:
    AAX_CLinearTaperDelegate(T minimum, T maximum)
        : minimum_(std::min(minimum, maximum)), maximum_(std::max(minimum, maximum)) {}

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T GetMinimumValue() const override { return minimum_; }
    T GetMaximumValue() const override { return maximum_; }
    T ConstrainRealValue(T value) const override {
        return static_cast<T>(aaxsdk::constrainReal<RealPrecision>(value, minimum_, maximum_));
    }
    T NormalizedToReal(double normalized) const override {
        const double n = aaxsdk::clampNormalized(normalized);
        return ConstrainRealValue(static_cast<T>(minimum_ + n * (maximum_ - minimum_)));
    }
    double RealToNormalized(T real) const override {
        const double width = static_cast<double>(maximum_) - static_cast<double>(minimum_);
        if (!(width > 0.0)) {
            return 0.0;
        }
        return aaxsdk::clampNormalized((ConstrainRealValue(real) - minimum_) / width);
    }

private:
    T minimum_;
    T maximum_;
};

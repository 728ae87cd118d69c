#pragma once
// AAX_CLogTaperDelegate: real = minimum * (maximum / minimum)^normalised, rounded to the
// precision (RealPrecision steps per unit; 0: not rounded): equal normalised steps are equal
// ratios, as for frequencies. The range must be positive (minimum > 0); a range that is not
// maps as AAX_CLinearTaperDelegate does, so nothing ever takes the logarithm of zero.

#include <AAX/AAX_RangedTaper.h>

template <typename T, int32_t RealPrecision = 1000>
class AAX_CLogTaperDelegate final : public aaxsdk::RangedTaper<T, RealPrecision> {
public:
    using aaxsdk::RangedTaper<T, RealPrecision>::RangedTaper;

    AAX_CLogTaperDelegate* Clone() const override { return new AAX_CLogTaperDelegate(*this); }
    T NormalizedToReal(double normalized) const override {
        if (!logarithmic()) {
            return this->linearReal(normalized);
        }
        return this->ConstrainRealValue(static_cast<T>(
            this->minimum_ * std::pow(ratio(), aaxsdk::clampNormalized(normalized))));
    }
    double RealToNormalized(T real) const override {
        if (!logarithmic()) {
            return this->linearNormalized(real);
        }
        const double value = this->ConstrainRealValue(real);
        return aaxsdk::clampNormalized(std::log(value / this->minimum_) / std::log(ratio()));
    }

private:
    bool logarithmic() const { return this->minimum_ > 0 && this->maximum_ > this->minimum_; }
    double ratio() const {
        return static_cast<double>(this->maximum_) / static_cast<double>(this->minimum_);
    }
};

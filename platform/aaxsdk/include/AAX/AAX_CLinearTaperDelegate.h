#pragma once
// AAX_CLinearTaperDelegate: real = minimum + normalised * (maximum - minimum), rounded to the
// precision (RealPrecision steps per unit; 0: not rounded). A range of zero width maps every
// normalised value to the minimum and every real value to 0.

#include <AAX/AAX_RangedTaper.h>

template <typename T, int32_t RealPrecision = 1000>
class AAX_CLinearTaperDelegate final : public aaxsdk::RangedTaper<T, RealPrecision> {
public:
    using aaxsdk::RangedTaper<T, RealPrecision>::RangedTaper;

    AAX_CLinearTaperDelegate* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T NormalizedToReal(double normalized) const override { return this->linearReal(normalized); }
    double RealToNormalized(T real) const override { return this->linearNormalized(real); }
};

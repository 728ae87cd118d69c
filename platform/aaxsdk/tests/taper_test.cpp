// The tapers: normalised to real and back, rounding to their precision, clamping.

#include <AAX/AAX_CLinearTaperDelegate.h>
#include <AAX/AAX_CLogTaperDelegate.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Case {
    const AAX_ITaperDelegate<double>& taper;
    double normalized;
    double real;
};

TEST(Tapers, MapNormalisedToRealAtTheirPrecision) {
    const AAX_CLinearTaperDelegate<double, 0> exact(-24.0, 24.0);
    const AAX_CLinearTaperDelegate<double, 1> whole(0.0, 4.0);
    const AAX_CLogTaperDelegate<double, 1000> frequency(20.0, 20000.0);
    const AAX_CLogTaperDelegate<double, 1000> fromZero(0.0, 10.0);
    const Case cases[] = {
        {exact, 0.0, -24.0},    {exact, 0.5, 0.0},         {exact, 0.5625, 3.0},
        {exact, -1.0, -24.0},   {exact, 2.0, 24.0},        {exact, NAN, -24.0},
        {whole, 0.3, 1.0},      {whole, 0.375, 2.0},       {whole, 1.0, 4.0},
        {frequency, 0.0, 20.0}, {frequency, 1.0, 20000.0}, {frequency, 0.5, 632.456},
        {fromZero, 0.5, 5.0},
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(c.taper.NormalizedToReal(c.normalized), c.real, 1e-9) << c.normalized;
    }
}

TEST(Tapers, MapRealToNormalisedWithinTheRange) {
    const AAX_CLinearTaperDelegate<double, 0> exact(-24.0, 24.0);
    const AAX_CLogTaperDelegate<double, 1000> frequency(20.0, 20000.0);
    const AAX_CLinearTaperDelegate<double, 0> empty(5.0, 5.0);
    EXPECT_DOUBLE_EQ(exact.RealToNormalized(12.0), 0.75);
    EXPECT_EQ(exact.RealToNormalized(100.0), 1.0);
    EXPECT_EQ(exact.RealToNormalized(NAN), 0.0);
    EXPECT_NEAR(frequency.RealToNormalized(632.456), 0.5, 1e-6);
    EXPECT_EQ(frequency.RealToNormalized(1.0), 0.0);
    EXPECT_EQ(empty.RealToNormalized(5.0), 0.0);
    EXPECT_EQ(empty.NormalizedToReal(0.7), 5.0);
    for (double real = -24.0; real <= 24.0; real += 0.37) {
        EXPECT_NEAR(exact.NormalizedToReal(exact.RealToNormalized(real)), real, 1e-12);
    }
    const AAX_CLinearTaperDelegate<double, 1> reversed(4.0, 0.0);
    EXPECT_EQ(reversed.GetMinimumValue(), 0.0);
    EXPECT_EQ(reversed.GetMaximumValue(), 4.0);
    std::unique_ptr<AAX_ITaperDelegate<double>> copy(frequency.Clone());
    EXPECT_EQ(copy->NormalizedToReal(1.0), 20000.0);
}

} // namespace

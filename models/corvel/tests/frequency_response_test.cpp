// Corvel's equaliser measured through the whole engine with sine tones and compared with the
// filter laws evaluated at the oversampled rate: each section's response is the ratio of the
// engine's output with the section set to the output with the equaliser flat, so the frame's
// own response (filters, stages, DC blocker) divides out.

#include "engine.h"
#include "engine_checks.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <memory>
#include <string>
#include <vector>

namespace {

using classic::Values;
namespace param = classic::param;
using checks::with;

constexpr double fs = 48000;
constexpr double fos = 4 * fs;

// Amplitude of the sinusoid at f in x[from, end) by least squares on cos and sin, exact for a
// pure tone whatever the window.
double amplitude(const std::vector<double>& x, std::size_t from, double f) {
    double cc = 0, ss = 0, cs = 0, xc = 0, xs = 0;
    for (std::size_t i = from; i < x.size(); ++i) {
        const double ph = 2 * M_PI * f * static_cast<double>(i) / fs;
        const double c = std::cos(ph), s = std::sin(ph);
        cc += c * c;
        ss += s * s;
        cs += c * s;
        xc += x[i] * c;
        xs += x[i] * s;
    }
    const double det = cc * ss - cs * cs;
    const double a = (xc * ss - xs * cs) / det;
    const double b = (xs * cc - xc * cs) / det;
    return std::hypot(a, b);
}

// The engine's gain at f in dB for the given values, a -40 dBFS tone.
double measured(const Values& v, double f) {
    auto engine = std::make_unique<classic::Engine>();
    engine->prepare(fs, v.data());
    const std::size_t frames = 19200;
    std::vector<double> out(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double s = 0.01 * std::sin(2 * M_PI * f * static_cast<double>(i) / fs);
        out[i] = engine->tick(s, s, 2).first;
    }
    return 20 * std::log10(amplitude(out, 9600, f) / 0.01);
}

// The filter laws, written out again here from their formulas.
using Complex = std::complex<double>;
Complex biquad(double b0, double b1, double b2, double a0, double a1, double a2, double f) {
    const Complex z1 = std::polar(1.0, -2 * M_PI * f / fos);
    return (b0 + b1 * z1 + b2 * z1 * z1) / (a0 + a1 * z1 + a2 * z1 * z1);
}
double shelf(bool high, double gain, double corner, double f) {
    const double A = std::pow(10, gain / 40), w = 2 * M_PI * corner / fos, c = std::cos(w);
    const double beta = 2 * std::sqrt(A) * std::sin(w) / std::sqrt(2.0);
    const double s = high ? 1 : -1; // the high shelf mirrors the signs of the cos terms
    const Complex h =
        biquad(A * ((A + 1) + s * (A - 1) * c + beta), -s * 2 * A * ((A - 1) + s * (A + 1) * c),
               A * ((A + 1) + s * (A - 1) * c - beta), (A + 1) - s * (A - 1) * c + beta,
               s * 2 * ((A - 1) - s * (A + 1) * c), (A + 1) - s * (A - 1) * c - beta, f);
    return 20 * std::log10(std::abs(h));
}
double bell(double gain, double centre, double f) {
    const double A = std::pow(10, gain / 40), w = 2 * M_PI * centre / fos, c = std::cos(w);
    const double alpha = std::sin(w) / (2 * 1.2);
    return 20 * std::log10(std::abs(biquad(1 + alpha * A, -2 * c, 1 - alpha * A, 1 + alpha / A,
                                           -2 * c, 1 - alpha / A, f)));
}
double highPass(double corner, double f) {
    const double w = 2 * M_PI * corner / fos, c = std::cos(w), alpha = std::sin(w) / 2;
    const double r = std::exp(-w);
    const Complex z1 = std::polar(1.0, -2 * M_PI * f / fos);
    const Complex onePole = r * (1.0 - z1) / (1.0 - r * z1);
    const Complex section =
        biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha, f);
    return 20 * std::log10(std::abs(onePole * section));
}

struct Point {
    const char* what;
    Values values;
    double frequency;
    double designed; // dB
};

// Each point within 0.1 dB of its design; the largest deviation goes to the test report.
void check(const std::vector<Point>& points) {
    double worst = 0;
    for (const Point& p : points) {
        const double flat = measured(classic::defaultValues(), p.frequency);
        const double gain = measured(p.values, p.frequency) - flat;
        EXPECT_NEAR(gain, p.designed, 0.1) << p.what << " at " << p.frequency << " Hz";
        worst = std::fmax(worst, std::fabs(gain - p.designed));
    }
    ::testing::Test::RecordProperty("worst_deviation_millibel", std::to_string(worst * 100));
}

TEST(CorvelFrequencyResponse, HighShelfIsHalfItsGainAtTwelveKilohertz) {
    const Values up = with({{param::highShelf, 16}});
    EXPECT_NEAR(shelf(true, 16, 12000, 12000), 8.0, 1e-9); // the shelf's midpoint, by its law
    std::vector<Point> points;
    for (double f : {1000.0, 4000.0, 8000.0, 12000.0, 16000.0, 20000.0}) {
        points.push_back({"High Shelf +16", up, f, shelf(true, 16, 12000, f)});
        points.push_back(
            {"High Shelf -9.5", with({{param::highShelf, -9.5f}}), f, shelf(true, -9.5, 12000, f)});
    }
    check(points);
    EXPECT_NEAR(measured(up, 12000) - measured(classic::defaultValues(), 12000), 8.0, 0.1);
}

TEST(CorvelFrequencyResponse, MidBellAtEveryCentre) {
    const double centres[6] = {360, 700, 1600, 3200, 4800, 7200};
    std::vector<Point> points;
    for (unsigned step = 0; step < 6; ++step) {
        const Values v = with({{param::midGain, 18}, {param::midFrequency, float(step)}});
        for (double ratio : {0.5, 1.0, 1.7}) {
            const double f = centres[step] * ratio;
            points.push_back({"Mid +18", v, f, bell(18, centres[step], f)});
        }
    }
    const Values cut = with({{param::midGain, -12}, {param::midFrequency, 1}});
    points.push_back({"Mid -12 at 700 Hz", cut, 700, bell(-12, 700, 700)});
    check(points);
    // +18 dB at 7.2 kHz exactly on the centre, by the law and by measurement.
    EXPECT_NEAR(bell(18, 7200, 7200), 18.0, 1e-9);
    const Values top = with({{param::midGain, 18}, {param::midFrequency, 5}});
    EXPECT_NEAR(measured(top, 7200) - measured(classic::defaultValues(), 7200), 18.0, 0.1);
}

TEST(CorvelFrequencyResponse, LowShelfAtEveryCorner) {
    const double corners[4] = {35, 60, 110, 220};
    std::vector<Point> points;
    for (unsigned step = 0; step < 4; ++step) {
        const Values v = with({{param::lowShelf, 12}, {param::lowFrequency, float(step)}});
        for (double ratio : {0.5, 1.0, 2.0, 6.0}) {
            const double f = corners[step] * ratio;
            points.push_back({"Low Shelf +12", v, f, shelf(false, 12, corners[step], f)});
        }
    }
    check(points);
}

TEST(CorvelFrequencyResponse, HighPassCornersThirdOrder) {
    const double corners[5] = {0, 50, 80, 160, 300};
    std::vector<Point> points;
    for (unsigned step = 1; step < 5; ++step) {
        const Values v = with({{param::highPass, float(step)}});
        for (double ratio : {0.7, 1.0, 2.0, 5.0}) {
            const double f = corners[step] * ratio;
            points.push_back({"High Pass", v, f, highPass(corners[step], f)});
        }
    }
    check(points);
    // About -3 dB at each corner: the one-pole's -3 dB, the Q 1 section's 0 dB.
    for (unsigned step = 1; step < 5; ++step) {
        EXPECT_NEAR(highPass(corners[step], corners[step]), -3.0, 0.1);
    }
}

TEST(CorvelFrequencyResponse, FlatAtZeroGainForEverySelector) {
    for (unsigned step = 0; step < 6; ++step) {
        const Values v =
            with({{param::midFrequency, float(step)}, {param::lowFrequency, float(step % 4)}});
        EXPECT_NEAR(measured(v, 1000) - measured(classic::defaultValues(), 1000), 0.0, 1e-6);
    }
}

} // namespace

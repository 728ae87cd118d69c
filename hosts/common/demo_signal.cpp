#include "demo_signal.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>

namespace kelvohost {
namespace {

// xorshift32: the same noise on every platform and library, unlike the standard
// distributions.
class Noise {
public:
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return static_cast<double>(state_) / 2147483648.0 - 1.0; // [-1, 1)
    }

private:
    std::uint32_t state_ = 0x2545F491u;
};

double midiToHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

// 120 beats per minute, so a bar of 4/4 lasts 2 s and the demo holds three bars.
constexpr double beatSeconds = 0.5;

// One chord per half bar: Am, F, C, G, Am, E (MIDI notes).
constexpr std::array<std::array<int, 4>, 6> chords{{
    {57, 60, 64, 69},
    {53, 57, 60, 65},
    {55, 60, 64, 67},
    {55, 59, 62, 67},
    {57, 60, 64, 69},
    {56, 59, 64, 68},
}};

// Bass, one note per eighth: root and fifth of each chord.
constexpr std::array<int, 6> roots{45, 41, 36, 43, 45, 40};

} // namespace

AudioData makeDemoSignal() {
    constexpr double rate = demoSampleRate;
    const auto frames = static_cast<std::size_t>(demoSeconds * rate);
    AudioData audio;
    audio.sampleRate = rate;
    audio.channels.assign(2, std::vector<float>(frames, 0.0f));

    constexpr double twoPi = 2.0 * std::numbers::pi;
    std::vector<std::vector<double>> mix(2, std::vector<double>(frames, 0.0));
    double peak = 0.0;
    Noise noise;
    // One-pole filters shaping the percussion noise.
    double hatLow = 0.0;
    double snareLow = 0.0;
    const double hatCoefficient = 1.0 - std::exp(-twoPi * 6000.0 / rate);
    const double snareCoefficient = 1.0 - std::exp(-twoPi * 2500.0 / rate);

    for (std::size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double beat = t / beatSeconds;
        const auto chordIndex = static_cast<std::size_t>(beat / 2.0) % chords.size();
        const double chordTime = std::fmod(t, 2.0 * beatSeconds);

        // Chord: detuned saw-like partials with a soft attack and a slow decay.
        const double chordEnvelope =
            (1.0 - std::exp(-chordTime / 0.02)) * (0.35 + 0.65 * std::exp(-chordTime / 0.6));
        double chordLeft = 0.0;
        double chordRight = 0.0;
        for (std::size_t v = 0; v < 4; ++v) {
            const double f = midiToHz(chords[chordIndex][v]);
            double voice = 0.0;
            for (int h = 1; h <= 4; ++h) {
                voice += std::sin(twoPi * f * h * t * (1.0 + 0.0007 * static_cast<double>(v))) / h;
            }
            const double pan = 0.3 + 0.4 * static_cast<double>(v) / 3.0;
            chordLeft += voice * (1.0 - pan);
            chordRight += voice * pan;
        }
        chordLeft *= 0.07 * chordEnvelope;
        chordRight *= 0.07 * chordEnvelope;

        // Bass: eighth notes alternating root and fifth, plucked envelope.
        const double eighth = beat * 2.0;
        const double eighthTime = (eighth - std::floor(eighth)) * beatSeconds / 2.0;
        const int bassNote =
            roots[chordIndex] + ((static_cast<int>(std::floor(eighth)) % 2) ? 7 : 0);
        const double bassPhase = twoPi * midiToHz(bassNote) * t;
        const double bass = 0.28 * std::exp(-eighthTime / 0.18) *
                            (std::sin(bassPhase) + 0.3 * std::sin(2.0 * bassPhase));

        // Kick on every beat: a falling sine; snare on beats 2 and 4; hats on eighths.
        const double beatTime = (beat - std::floor(beat)) * beatSeconds;
        const double kickFrequency = 50.0 + 90.0 * std::exp(-beatTime / 0.03);
        const double kick =
            0.5 * std::exp(-beatTime / 0.12) * std::sin(twoPi * kickFrequency * beatTime);
        const bool snareBeat = static_cast<int>(std::floor(beat)) % 2 == 1;
        const double white = noise.next();
        snareLow += snareCoefficient * (white - snareLow);
        hatLow += hatCoefficient * (white - hatLow);
        const double snare = snareBeat ? 0.3 * std::exp(-beatTime / 0.07) *
                                             (snareLow + 0.4 * std::sin(twoPi * 190.0 * beatTime))
                                       : 0.0;
        const double hat = 0.12 * std::exp(-eighthTime / 0.025) * (white - hatLow);

        // Short fades so the demo starts and ends without a click.
        const double fade = std::min({1.0, t / 0.01, (demoSeconds - t) / 0.05});
        const double left = fade * (chordLeft + bass + kick + snare + 0.6 * hat);
        const double right = fade * (chordRight + bass + kick + 0.9 * snare + hat);
        mix[0][i] = left;
        mix[1][i] = right;
        peak = std::max({peak, std::fabs(left), std::fabs(right)});
    }

    // Peaks at about -3 dBFS: loud enough to drive the units, with headroom.
    const double gain = peak > 0.0 ? 0.7 / peak : 1.0;
    for (std::size_t c = 0; c < 2; ++c) {
        for (std::size_t i = 0; i < frames; ++i) {
            audio.channels[c][i] = static_cast<float>(gain * mix[c][i]);
        }
    }
    return audio;
}

} // namespace kelvohost

#pragma once
// The frame's four-times oversampling: one 65-tap linear-phase low-pass serves both the
// interpolation (host rate up to the oversampled rate, zero-stuffed) and the decimation (back
// down). Each filter delays by 32 oversampled samples, both together by 16 host frames, which
// the dry path matches.
//
// Nothing here allocates, locks or calls the system.

#include <cmath>
#include <cstdint>

namespace classic {

inline constexpr unsigned filterTaps = 65;
inline constexpr unsigned filterCentre = 32;  // each filter delays 32 oversampled samples
inline constexpr unsigned dryRingLength = 17; // 64 oversampled samples = 16 host frames, plus one
inline constexpr unsigned oversampling = 4;

// [main thread] The taps: a windowed sinc with its cut-off at 0.225 of the oversampled Nyquist
// frequency (0.45 fs), Hamming window, normalised to unity gain at DC.
inline void designTaps(double (&taps)[filterTaps]) {
    double sum = 0;
    for (unsigned i = 0; i < filterTaps; ++i) {
        const double d = static_cast<double>(i) - filterCentre;
        const double sinc = d == 0 ? 0.225 : std::sin(0.225 * M_PI * d) / (M_PI * d);
        const double window = 0.54 - 0.46 * std::cos(2.0 * M_PI * i / 64.0); // Hamming
        taps[i] = sinc * window;
        sum += taps[i];
    }
    for (double& tap : taps) {
        tap /= sum; // unity gain at DC
    }
}

// Interpolation side of the 65-tap filter, fed one host sample per frame. Of the zero-stuffed
// line only every fourth slot is non-zero, so substep k needs the taps k, k+4, ... against the
// last host samples; the sum keeps the straightforward order (newest sample meets the lowest
// tap), so the result equals the full 65-term sum exactly.
struct Interpolator {
    double history[2 * dryRingLength] = {}; // mirrored ring of the last 17 host samples
    std::uint32_t index = 0;

    // [render thread]
    void push(double x) noexcept {
        index = index + 1 == dryRingLength ? 0 : index + 1;
        history[index] = x;
        history[index + dryRingLength] = x;
    }
    // [render thread] Filter output at substep k (0..3) of the frame whose input was pushed
    // last.
    double output(const double* taps, unsigned k) const noexcept {
        const double* newest = history + index + dryRingLength;
        double sum = 0.0;
        for (unsigned j = k, m = 0; j < filterTaps; j += oversampling, ++m) {
            sum += taps[j] * newest[-static_cast<int>(m)];
        }
        return sum;
    }
};

// Decimation side: a 65-sample line fed every substep; mirrored so the sum needs no modulo.
struct Decimator {
    double line[2 * filterTaps] = {};
    std::uint32_t index = 0; // slot of the next write

    // [render thread]
    void push(double x) noexcept {
        line[index] = x;
        line[index + filterTaps] = x;
    }
    // [render thread] Σ tap(j)·line[(index − j) mod 65] for the sample just pushed.
    double output(const double* taps) const noexcept {
        const double* newest = line + index + filterTaps;
        double sum = 0.0;
        for (unsigned j = 0; j < filterTaps; ++j) {
            sum += taps[j] * newest[-static_cast<int>(j)];
        }
        return sum;
    }
    // [render thread]
    void advance() noexcept { index = index + 1 == filterTaps ? 0 : index + 1; }
};

} // namespace classic

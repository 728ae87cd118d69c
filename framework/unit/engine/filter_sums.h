#pragma once
// The 65-tap filter's sums for a whole stretch of frames, many side by side. Each sum is a
// chain of dependent additions: taken one at a time, the processor waits on every addition.
// Here every vector lane carries one sum (one channel of one frame) and takes its terms in the
// filter's own order, tap 0 first, each product rounded before it is added: every lane equals
// the one-at-a-time sum bit for bit. Four lanes (two frames, both channels) to a quad, one AVX2
// register on the AVX2 path; the baseline compiles the same operations to pairs.
//
// Layouts (two doubles per entry: left, right):
//   input[m]      host inputs, oldest first; frame i's own input is input[inputHistory + i]
//   line[p][r]    the decimation line by phase: substep t of the line is line[t % 4][t / 4],
//                 where the stretch's substeps start at t = lineHistory (64)
//
// Nothing here allocates, locks or calls the system.

#include "engine/frame.h"
#include "engine/simd/dispatch.h"
#include "engine/simd/quad.h"

#include <cstring>

namespace classic {

inline constexpr unsigned stretchFrames = 16;           // frames of one stretch, at most
inline constexpr unsigned inputHistory = 16;            // host frames an input sum reaches
inline constexpr unsigned lineHistory = filterTaps - 1; // substeps a decimation sum reaches
inline constexpr unsigned lineRows = 2 * stretchFrames; // history rows, then the stretch's
static_assert(lineHistory == oversampling * stretchFrames, "history rows are whole frames");

namespace filter_sums_detail {

// Interpolation, two frames at a time: substep k of frame i meets taps k, k + 4, ... against
// input i, i - 1, ...; a frame's four substeps side by side as well.
[[gnu::always_inline]] inline void interpolateBody(const double* taps, const double (*input)[2],
                                                   unsigned frames, double* filtered) {
    for (unsigned i = 0; i < frames; i += 2) {
        simd::Quad sum[oversampling] = {};
        unsigned m = 0;
        for (; oversampling * m + oversampling <= filterTaps; ++m) {
            const simd::Quad x = simd::loadQuad(input[inputHistory + i - m]);
            for (unsigned k = 0; k < oversampling; ++k) {
                sum[k] = sum[k] + x * taps[oversampling * m + k];
            }
        }
        const simd::Quad x = simd::loadQuad(input[inputHistory + i - m]);
        for (unsigned k = 0; oversampling * m + k < filterTaps; ++k) {
            sum[k] = sum[k] + x * taps[oversampling * m + k];
        }
        for (unsigned k = 0; k < oversampling; ++k) {
            std::memcpy(filtered + 2 * (oversampling * i + k), &sum[k], 2 * sizeof(double));
            if (i + 1 < frames) {
                std::memcpy(filtered + 2 * (oversampling * (i + 1) + k),
                            reinterpret_cast<const double*>(&sum[k]) + 2, 2 * sizeof(double));
            }
        }
    }
}

// Decimation of all sixteen frames of a stretch, eight vectors side by side. Frame i's sum
// starts at its first substep, t = lineHistory + 4i, and tap j meets substep t - j: for
// j = 4a + b that is row 16 + i - a of phase 0 (b = 0) or row 15 + i - a of phase 4 - b.
[[gnu::always_inline]] inline void
decimateBody(const double* taps, const double (*line)[lineRows][2], double (*wet)[2]) {
    // The sums stay in registers only if the compiler unrolls the loops over them before it
    // decides where the array lives; otherwise each addition waits on a store and a load.
    constexpr unsigned vectors = stretchFrames / 2;
    simd::Quad sum[vectors] = {};
    for (unsigned j = 0; j < filterTaps; ++j) {
        const unsigned a = j / oversampling, b = j % oversampling;
        const double(*row)[2] =
            b == 0 ? line[0] + stretchFrames - a : line[oversampling - b] + stretchFrames - 1 - a;
#pragma GCC unroll 8
        for (unsigned q = 0; q < vectors; ++q) {
            sum[q] = sum[q] + simd::loadQuad(row[2 * q]) * taps[j];
        }
    }
#pragma GCC unroll 8
    for (unsigned q = 0; q < vectors; ++q) {
        simd::store(wet[2 * q], sum[q]);
    }
}

} // namespace filter_sums_detail

// [render thread] The interpolation outputs of frames host frames (at most stretchFrames):
// filtered[2 * (4i + k) + c] for substep k of frame i, channel c. input holds
// inputHistory + frames + 1 entries (the last read, not used, when frames is odd). path: the
// processor's unless a test compares them.
inline void interpolateStretch(const double* taps, const double (*input)[2], unsigned frames,
                               double* filtered, simd::Path path = simd::selectedPath) noexcept {
    simd::dispatch(
        path,
        [](auto, const double* t, const double(*x)[2], unsigned n, double* y)
            __attribute__((always_inline)) { filter_sums_detail::interpolateBody(t, x, n, y); },
        taps, input, frames, filtered);
}

// [render thread] The decimation outputs wet[i][c] of all stretchFrames frames whose substeps
// the line holds (those past the stretch's end come out too, from whatever the rows hold).
inline void decimateStretch(const double* taps, const double (*line)[lineRows][2], double (*wet)[2],
                            simd::Path path = simd::selectedPath) noexcept {
    simd::dispatch(
        path,
        [](auto, const double* t, const double(*x)[lineRows][2], double(*y)[2])
            __attribute__((always_inline)) { filter_sums_detail::decimateBody(t, x, y); },
        taps, line, wet);
}

} // namespace classic

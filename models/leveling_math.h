#pragma once
// The two transcendental functions of the leveling gain cell, each in one place: the decimal
// logarithm of a linked level and the power of ten that turns a reduction into a gain. Every
// path of the cell (substep by substep, a pair of channels, a whole stretch) goes through
// these, so all of them give the same bits; the reference transcription of the tests uses the
// same functions.
//
//     double levelLog10(double x);                  log10 x
//     simd::Pair levelLog10Pair(simd::Pair x);      both channels of a substep
//     void levelLog10Many(const double* in, double* out, unsigned count);
//     double levelGain(double g);                   10^(g / -20), the gain of a reduction g
//     void levelGainMany(const double* in, double* out, unsigned count);
//     simd::Pair levelGainFollowing(simd::Pair g, KeptRow& last);   along the feedback chain
//
// Nothing here allocates, locks or calls the system.

#include "engine/exp10.h"
#include "engine/log10.h"
#include "engine/simd/pair.h"

namespace classic {

inline double levelLog10(double x) noexcept {
    return log10Scalar(x);
}

inline simd::Pair levelLog10Pair(simd::Pair x) noexcept {
    return log10Pair(x);
}

// count values, each exactly as levelLog10.
inline void levelLog10Many(const double* in, double* out, unsigned count) noexcept {
    log10Many(in, out, count);
}

// 10^(g / -20) of a gain reduction g in dB.
inline double levelGain(double g) noexcept {
    return attenuationScalar(g);
}

// count values, each exactly as levelGain.
inline void levelGainMany(const double* in, double* out, unsigned count) noexcept {
    attenuationMany(in, out, count);
}

// Both channels' levelGain, for the feedback chain, where each substep's reduction is close
// to the one before: the row of the last k comes from `last` (see attenuationFollowing).
inline simd::Pair levelGainFollowing(simd::Pair g, KeptRow& last) noexcept {
    return attenuationFollowing(g, last);
}

} // namespace classic

#pragma once
// The two transcendental functions of the leveling gain cell, each in one place: the decimal
// logarithm of a linked level and the power of ten that turns a reduction into a gain. Every
// path of the cell (substep by substep, a pair of channels, a whole stretch) goes through
// these, so all of them give the same bits; the reference transcription of the tests uses the
// same functions.
//
//     double levelLog10(double x);                  log10 x
//     Lanes levelLog10Pair(Lanes x);                both channels of a substep
//     void levelLog10Many(const double* in, double* out, unsigned count);
//     double levelExp10(double x);                  10^x
//     void levelExp10Many(const double* in, double* out, unsigned count);
//     Lanes levelGainPair(Lanes g);                 10^(g / -20), for the feedback chain
//
// Nothing here allocates, locks or calls the system.

#include "engine/exp10.h"
#include "engine/log10.h"
#include "leveling_lanes.h"

namespace classic {

inline double levelLog10(double x) noexcept {
    return log10Scalar(x);
}

inline Lanes levelLog10Pair(Lanes x) noexcept {
    return reinterpret_cast<Lanes>(log10Pair(reinterpret_cast<__m128d>(x)));
}

// count values, each exactly as levelLog10.
inline void levelLog10Many(const double* in, double* out, unsigned count) noexcept {
    log10Many(in, out, count);
}

inline double levelExp10(double x) noexcept {
    return exp10Scalar(x);
}

// 10^(g / -20) of both channels' reductions g, lane by lane exactly levelExp10(g / -20) (the
// same value as -g / 20): the table row is on its way before the division ends (see
// exp10QuotientPair).
inline Lanes levelGainPair(Lanes g) noexcept {
    return reinterpret_cast<Lanes>(exp10QuotientPair<-20.0>(reinterpret_cast<__m128d>(g)));
}

// count values, each exactly as levelExp10.
inline void levelExp10Many(const double* in, double* out, unsigned count) noexcept {
    exp10Many(in, out, count);
}

} // namespace classic

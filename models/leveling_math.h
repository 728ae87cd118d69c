#pragma once
// The two transcendental functions of the leveling gain cell, each in one place: the decimal
// logarithm of a linked level and the power of ten that turns a reduction into a gain. Every
// path of the cell (substep by substep, a pair of channels, a whole stretch) goes through
// these, so all of them give the same bits, and the reference transcription of the tests
// names the same functions.
//
//     double levelLog10(double x);                  log10 x
//     void levelLog10Pair(const double in[2], double out[2]);   both channels of a substep
//     void levelLog10Many(const double* in, double* out, unsigned count);
//     double levelExp10(double x);                  10^x
//     void levelExp10Pair(const double in[2], double out[2]);
//     void levelExp10Many(const double* in, double* out, unsigned count);
//
// Nothing here allocates, locks or calls the system.

#include <cmath>

namespace classic {

inline double levelLog10(double x) noexcept {
    return std::log10(x);
}

inline double levelExp10(double x) noexcept {
    return std::pow(10.0, x);
}

// Linked stereo often gives both channels the same level, and mono the same reduction: then
// one evaluation serves both.
inline void levelLog10Pair(const double in[2], double out[2]) noexcept {
    out[0] = levelLog10(in[0]);
    out[1] = in[1] == in[0] ? out[0] : levelLog10(in[1]);
}

inline void levelExp10Pair(const double in[2], double out[2]) noexcept {
    out[0] = levelExp10(in[0]);
    out[1] = in[1] == in[0] ? out[0] : levelExp10(in[1]);
}

// count values (even: left, right per substep), each exactly as levelLog10.
inline void levelLog10Many(const double* in, double* out, unsigned count) noexcept {
    for (unsigned i = 0; i < count; i += 2) {
        levelLog10Pair(in + i, out + i);
    }
}

// count values (even), each exactly as levelExp10.
inline void levelExp10Many(const double* in, double* out, unsigned count) noexcept {
    for (unsigned i = 0; i < count; i += 2) {
        levelExp10Pair(in + i, out + i);
    }
}

} // namespace classic

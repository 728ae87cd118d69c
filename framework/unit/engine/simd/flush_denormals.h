#pragma once
// Flush-to-zero and denormals-are-zero for the length of a render call. Filters gliding toward
// silence decay into subnormal numbers, whose arithmetic costs many times the normal one; the
// render path runs with subnormal inputs read as zero and subnormal results written as zero,
// and hands the caller's mode back when it returns. The mode lives in the floating-point
// control register: MXCSR on x86-64 (its FTZ and DAZ bits), FPCR on aarch64 (its FZ bit, which
// does both); elsewhere the arithmetic stays as it is.
//
//     ControlWord controlWord();            the register as it stands
//     void setControlWord(ControlWord w);
//     flushBits                             the bits FlushDenormals sets
//     modeBits                              the bits that are modes (MXCSR also holds flags)

#include "engine/simd/backend.h"

#include <cstdint>

#if KELVO_SIMD_X86
#include <xmmintrin.h>
#endif

namespace classic::simd {

#if KELVO_SIMD_X86

using ControlWord = unsigned;
inline constexpr ControlWord flushBits = 0x8000 | 0x0040; // MXCSR FTZ, DAZ
inline constexpr ControlWord modeBits = 0xFFC0;           // below: the exception flags

// [any thread]
inline ControlWord controlWord() noexcept {
    return _mm_getcsr();
}
// [any thread]
inline void setControlWord(ControlWord w) noexcept {
    _mm_setcsr(w);
}

#elif KELVO_SIMD_NEON

using ControlWord = std::uint64_t;
inline constexpr ControlWord flushBits = ControlWord{1} << 24; // FPCR FZ
inline constexpr ControlWord modeBits = ~ControlWord{0};       // the flags live in FPSR

// [any thread]
inline ControlWord controlWord() noexcept {
    ControlWord w;
    asm volatile("mrs %0, fpcr" : "=r"(w));
    return w;
}
// [any thread]
inline void setControlWord(ControlWord w) noexcept {
    asm volatile("msr fpcr, %0" : : "r"(w));
}

#else

using ControlWord = unsigned;
inline constexpr ControlWord flushBits = 0;
inline constexpr ControlWord modeBits = 0;

// [any thread]
inline ControlWord controlWord() noexcept {
    return 0;
}
// [any thread]
inline void setControlWord(ControlWord) noexcept {}

#endif

class FlushDenormals {
public:
    // [render thread]
    FlushDenormals() noexcept : saved(controlWord()) { setControlWord(saved | flushBits); }
    ~FlushDenormals() { setControlWord(saved); }
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;

private:
    ControlWord saved;
};

} // namespace classic::simd

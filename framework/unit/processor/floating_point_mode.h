#pragma once
// Flush-to-zero and denormals-are-zero for the length of a render call. Filters gliding toward
// silence decay into subnormal numbers, whose arithmetic costs many times the normal one; the
// render path runs with both modes set and hands the caller's mode back when it returns.

#include <xmmintrin.h>

class FlushDenormals {
public:
    static constexpr unsigned flushToZero = 0x8000;      // MXCSR FTZ
    static constexpr unsigned denormalsAreZero = 0x0040; // MXCSR DAZ

    // [render thread]
    FlushDenormals() noexcept : saved(_mm_getcsr()) {
        _mm_setcsr(saved | flushToZero | denormalsAreZero);
    }
    ~FlushDenormals() { _mm_setcsr(saved); }
    FlushDenormals(const FlushDenormals&) = delete;
    FlushDenormals& operator=(const FlushDenormals&) = delete;

private:
    unsigned saved;
};

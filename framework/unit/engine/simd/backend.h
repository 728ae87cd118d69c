#pragma once
// Which instructions the engines' vector code is built on, decided here once for the whole
// layer; every other file of the layer writes its backend-specific lines under these names,
// and nothing outside the layer tests the architecture.
//
//     KELVO_SIMD_X86       x86-64: SSE2 throughout, and the AVX2 path where the processor has it
//     KELVO_SIMD_NEON      aarch64: NEON (Advanced SIMD, always present there)
//     KELVO_SIMD_PORTABLE  anything else: the compiler's generic vectors, plain code per lane
//     KELVO_SIMD_AVX2      the AVX2 path is compiled (x86-64 unless the build forces the baseline)
//
// The build defines KELVO_SIMD_BASELINE to leave the AVX2 path out (every processor then runs
// the SSE2 code, so that it can be tested on a machine that has AVX2). A test defines
// KELVO_SIMD_PORTABLE itself to run the portable code on x86-64 or aarch64.

#if defined(KELVO_SIMD_PORTABLE)
// Chosen by a test's build (-DKELVO_SIMD_PORTABLE, which defines it as 1).
#elif defined(__x86_64__) && defined(__SSE2__)
#define KELVO_SIMD_X86 1
#if !defined(KELVO_SIMD_BASELINE)
#define KELVO_SIMD_AVX2 1
#endif
#elif defined(__aarch64__) && defined(__ARM_NEON)
#define KELVO_SIMD_NEON 1
#else
#define KELVO_SIMD_PORTABLE 1
#endif

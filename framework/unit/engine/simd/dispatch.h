#pragma once
// The one place where code chooses between its AVX2 form and its baseline form (SSE2 on x86-64,
// NEON on aarch64, plain code elsewhere). Both forms run the same operations in the same order
// and give the same bits; the AVX2 one takes four lanes where the baseline takes two, or the
// same lanes with the shorter AVX encodings.
//
// A function with the two forms writes its body once, as a lambda without captures, forced
// inline, that takes the path as a tag and its values as parameters, and hands both to
// `dispatch`:
//
//     simd::dispatch(path, [](auto on, const double* in, double* out)
//                                __attribute__((always_inline)) {
//         if constexpr (decltype(on)::avx2) { ... quads ... } else { ... pairs ... }
//     }, in, out);
//
// The body is compiled twice, once inside AVX2 code, and the path chosen at start-up runs.
// (The GNU spelling of the attribute: the standard one, after a lambda's parameters, would
// name the lambda's type, where it means nothing.) A body that only wants the AVX2 encodings
// of the same code ignores the tag. The values go by value (objects by pointer): as parameters
// of the AVX2 function the compiler knows they cannot point at the body's own arrays, and keeps
// what they point at in registers (a capture, read from memory, might).

#include "engine/simd/backend.h"
#include "engine/simd/cpu.h"

namespace classic::simd {

enum class Path : unsigned char { baseline, avx2 };

// The tag a body is called with.
template <Path p> struct On {
    static constexpr Path path = p;
    static constexpr bool avx2 = p == Path::avx2;
};

// [any thread] Whether this build and this processor can take a path.
inline bool available(Path path) noexcept {
#if KELVO_SIMD_AVX2
    return path == Path::baseline || cpuHasAvx2();
#else
    return path == Path::baseline;
#endif
}

// The path this process takes: AVX2 where the build has it and the processor runs it. Set while
// the program (or the bundle) is loaded, before any render thread runs, and never written
// again, so any thread may read it. (Read before its initialisation it is the baseline, which
// gives the same results.)
inline const Path selectedPath = available(Path::avx2) ? Path::avx2 : Path::baseline;

namespace dispatch_detail {

#if KELVO_SIMD_AVX2
template <class Body, class... Args>
[[gnu::target("avx2")]] inline void avx2(Args... args) noexcept {
    Body{}(On<Path::avx2>{}, args...);
}
#endif

} // namespace dispatch_detail

// [any thread] body(tag, args...) on the given path, which must be available: the processor's
// (selectedPath) unless a test compares them.
template <class Body, class... Args>
[[gnu::always_inline]] inline void dispatch(Path path, Body body, Args... args) noexcept {
#if KELVO_SIMD_AVX2
    if (path == Path::avx2) {
        dispatch_detail::avx2<Body>(args...);
        return;
    }
#endif
    (void)path;
    body(On<Path::baseline>{}, args...);
}

} // namespace classic::simd

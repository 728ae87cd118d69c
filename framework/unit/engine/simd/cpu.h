#pragma once
// What the processor offers beyond the backend's baseline.

#include "engine/simd/backend.h"

namespace classic::simd {

// [any thread] Whether the processor (and the system, which must save the wide registers)
// runs AVX2 code. Asks the processor: read it once (dispatch.h does).
inline bool cpuHasAvx2() noexcept {
#if KELVO_SIMD_X86
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

} // namespace classic::simd

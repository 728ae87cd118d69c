#pragma once
// Both channels of the leveling gain cell side by side in one SSE2 register: each lane does
// exactly the scalar arithmetic of its channel (the same IEEE operations, no fused
// multiply-add), and every branch of the scalar cell becomes a lane-wise select of the value
// that branch would have produced.

#include <cstdint>
#include <cstring>

namespace classic {

using Lanes = double __attribute__((vector_size(16)));
using LaneBits = std::int64_t __attribute__((vector_size(16)));

inline Lanes loadLanes(const double* from) noexcept {
    Lanes v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

inline void storeLanes(double* to, Lanes v) noexcept {
    std::memcpy(to, &v, sizeof v);
}

inline Lanes splat(double v) noexcept {
    return Lanes{v, v};
}

// std::fabs: the sign bit cleared, NaN included.
inline Lanes magnitude(Lanes v) noexcept {
    return reinterpret_cast<Lanes>(reinterpret_cast<LaneBits>(v) &
                                   static_cast<std::int64_t>(0x7fffffffffffffffULL));
}

// larger(v, bound) of the scalar cell for a bound that is never NaN: a NaN v yields the bound.
inline Lanes atLeast(Lanes v, double bound) noexcept {
    return v >= splat(bound) ? v : splat(bound);
}

// smaller(v, bound) likewise.
inline Lanes atMost(Lanes v, double bound) noexcept {
    return v <= splat(bound) ? v : splat(bound);
}

} // namespace classic

#pragma once
// The frame's wet stages after the output stage's saturation: Analog Shimmer (an air
// low-pass, a noise generator with its shaping filters, and the colouring law itself), the
// gains and the DC blocker, both channels side by side in a pair (engine/simd), each lane
// exactly one channel's arithmetic.
//
// Nothing here allocates, locks or calls the system.

#include "engine/coefficients.h"
#include "engine/simd/pair.h"
#include "engine/tanh.h"

#include <cstdint>

namespace classic {

inline constexpr std::uint32_t noiseSeedLeft = 0x3728AC51u;
inline constexpr std::uint32_t noiseSeedRight = 0x98E16B43u;

// Analog Shimmer state of one channel.
struct Shimmer {
    double air = 0;       // lp
    double noiseHigh = 0; // nh
    double noiseLow = 0;  // nl
    std::uint32_t noise = 0;
};

// Values of the Shimmer law shared by both channels of one substep.
struct ShimmerDrive {
    double u = 0; // 0.01 x smoothed Analog Shimmer
    double g = 0; // G = 0.025u
    double d = 0; // D = 0.45 + 1.45u
    double tanhG = 0;
    double m = 1; // D(1 - tanh^2(G))

    // [render thread] The law for u; at 0 it is off, and the other values are not read.
    void follow(double shimmer) noexcept {
        u = shimmer;
        if (u > 0) {
            g = 0.025 * u;
            d = 0.45 + 1.45 * u;
            tanhG = tanhScalar(g);
            m = d * (1.0 - tanhG * tanhG);
        }
    }
};

// The states of the wet stages (Shimmer filters and noise, DC blockers), both channels side by
// side, held in registers through a run of substeps.
struct WetFilters {
    simd::Pair air, noiseHigh, noiseLow, dcIn, dcOut;
    std::uint32_t noise[2];
};

// [render thread] One substep of the wet stages after the output stage: z its result,
// shimmerTanh the Shimmer law's tanh of the substep, read (and passed) only where the law is
// on; then the output and post gains and the DC blocker. k: the frame's coefficients.
inline simd::Pair wetFilter(const FrameCoefficients& k, WetFilters& w, simd::Pair z,
                            const ShimmerDrive& v, const double*& shimmerTanh,
                            double outputGainValue, double postGainValue) noexcept {
    w.air += k.air * (z - w.air);
    simd::Pair n;
    for (unsigned c = 0; c < 2; ++c) {
        w.noise[c] ^= w.noise[c] << 13;
        w.noise[c] ^= w.noise[c] >> 17;
        w.noise[c] ^= w.noise[c] << 5;
        n[c] = w.noise[c] * (1.0 / 2147483648.0) - 1.0; // s * 2^-31 - 1
    }
    w.noiseHigh += k.noiseHigh * (n - w.noiseHigh);
    w.noiseLow += k.noiseLow * (w.noiseHigh - w.noiseLow);
    if (v.u > 0) {
        z = z + 0.22 * v.u * ((simd::load(shimmerTanh) - v.tanhG) / v.m - z) +
            0.065 * v.u * (z - w.air) + 0.000075 * v.u * (w.noiseHigh - w.noiseLow);
        shimmerTanh += 2;
    }
    z = z * outputGainValue * postGainValue;
    const simd::Pair blocked = z - w.dcIn + k.dcPole * w.dcOut;
    w.dcIn = z;
    w.dcOut = blocked;
    return blocked;
}

// The wet stages' states as the frame keeps them between runs of substeps, per channel.
struct WetStates {
    Shimmer shimmer[2];
    ShimmerDrive shimmerDrive;
    double dcInput[2] = {};
    double dcOutput[2] = {};

    // [render thread] Shimmer filters at zero, noise generators at their seeds.
    void resetShimmer() noexcept {
        shimmer[0] = Shimmer{0, 0, 0, noiseSeedLeft};
        shimmer[1] = Shimmer{0, 0, 0, noiseSeedRight};
    }

    // [render thread]
    WetFilters loadWetFilters() const noexcept {
        WetFilters w;
        for (unsigned c = 0; c < 2; ++c) {
            w.air[c] = shimmer[c].air;
            w.noiseHigh[c] = shimmer[c].noiseHigh;
            w.noiseLow[c] = shimmer[c].noiseLow;
            w.noise[c] = shimmer[c].noise;
            w.dcIn[c] = dcInput[c];
            w.dcOut[c] = dcOutput[c];
        }
        return w;
    }

    // [render thread]
    void storeWetFilters(const WetFilters& w) noexcept {
        for (unsigned c = 0; c < 2; ++c) {
            shimmer[c].air = w.air[c];
            shimmer[c].noiseHigh = w.noiseHigh[c];
            shimmer[c].noiseLow = w.noiseLow[c];
            shimmer[c].noise = w.noise[c];
            dcInput[c] = w.dcIn[c];
            dcOutput[c] = w.dcOut[c];
        }
    }
};

} // namespace classic

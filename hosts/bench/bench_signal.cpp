#include "bench_signal.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace kelvohost {

std::vector<std::vector<float>> loudSecond(double rate, unsigned channels) {
    const auto frames = static_cast<std::size_t>(rate);
    std::vector<std::vector<float>> samples(channels, std::vector<float>(frames));
    std::uint32_t state = 0x1234567u;
    for (unsigned c = 0; c < channels; ++c) {
        for (std::size_t i = 0; i < frames; ++i) {
            state = state * 1664525u + 1013904223u;
            const double noise = static_cast<double>(state) / 4294967296.0 * 2.0 - 1.0;
            const double tone = std::sin(2.0 * std::numbers::pi * 110.0 * i / rate + c);
            samples[c][i] = static_cast<float>(0.5 * tone + 0.25 * noise);
        }
    }
    return samples;
}

} // namespace kelvohost

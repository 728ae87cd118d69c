#pragma once
// The material the benchmarks render: one second of noise at about -12 dBFS over a 110 Hz sine
// at -6 dBFS, per channel, so dynamics models work and saturating stages are driven. The same
// samples on every run.

#include <vector>

namespace kelvohost {

std::vector<std::vector<float>> loudSecond(double rate, unsigned channels);

} // namespace kelvohost

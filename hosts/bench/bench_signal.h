#pragma once
// The material the benchmarks render.

#include <vector>

namespace kelvohost {

// One second of loud material: noise at about -12 dBFS over a 110 Hz sine at -6 dBFS, so
// dynamics models work and saturating stages are driven.
std::vector<std::vector<float>> loudSecond(double rate, unsigned channels);

} // namespace kelvohost

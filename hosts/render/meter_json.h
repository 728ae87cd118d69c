#pragma once
// The meter block kelvo-render --json prints:
// {"input":[l,r],"output":[l,r],"gr":[l,r],"peak":[l,r],"latency_samples":n,"tail_seconds":t}

#include "hosted_unit.h"

#include <string>

namespace kelvohost {

std::string meterJson(const Meters& meters, double latencySamples, double tailSeconds);

} // namespace kelvohost

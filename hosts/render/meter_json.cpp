#include "meter_json.h"

#include "parameter_lookup.h"

#include <cmath>

namespace kelvohost {
namespace {

// JSON has no NaN or infinity; a unit that published one shows null.
std::string number(double value) {
    return std::isfinite(value) ? formatNumber(value) : "null";
}

std::string pair(const float (&values)[2]) {
    std::string text = "[";
    text += number(values[0]);
    text += ',';
    text += number(values[1]);
    text += ']';
    return text;
}

} // namespace

std::string meterJson(const Meters& meters, double latencySamples, double tailSeconds) {
    const double latency = std::round(latencySamples);
    return "{\"input\":" + pair(meters.input) + ",\"output\":" + pair(meters.output) +
           ",\"gr\":" + pair(meters.gr) + ",\"peak\":" + pair(meters.peak) +
           ",\"latency_samples\":" +
           (std::isfinite(latency) ? std::to_string(static_cast<long long>(latency)) : "null") +
           ",\"tail_seconds\":" + number(tailSeconds) + "}";
}

} // namespace kelvohost

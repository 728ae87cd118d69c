#pragma once
// The meter block: what a unit publishes through its custom meter property after every render,
// and what its editor polls at 30 Hz and the host programs read back. Eight floats, 32 bytes;
// the unit, both editor variants and the hosts take the layout and the property codes from
// here, so the two sides cannot drift apart.

#include "parameters/model_info.h"

#include <cstdint>

// The property's 32 bytes, in this order.
struct TelemetryBlock {
    float input[2];  // RMS of the input, dB (floor -100), left and right
    float output[2]; // RMS of the output, dB
    float gr[2];     // gain reduction, dB (0: none; the preamps always 0)
    float peak[2];   // output peak, dB
};
static_assert(sizeof(TelemetryBlock) == 32, "the meter property carries eight floats");

namespace classic {

// The meter property of the units with the framework editor (Tolvar and the five further
// models), and that of the rack series (Corvel, Fennic); global scope, element 0, read-only.
inline constexpr std::uint32_t frameworkMeterProperty = fourCharCode("KIRM");
inline constexpr std::uint32_t rackMeterProperty = fourCharCode("KCRM");

} // namespace classic

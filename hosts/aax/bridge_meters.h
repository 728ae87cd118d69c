#pragma once
// What kelvo-aax --json prints after a render: the hosted unit's meters, read from the unit
// the plug-in names in its custom data 'KAUI' (the same process), with the latency the
// plug-in reported to the host, in kelvo-render's shape.

#include <AAXHost/Instance.h>

#include <string>

namespace kelvohost {

// [main thread] Throws std::runtime_error when the plug-in names no unit or the unit has no
// meter property.
std::string bridgeMeterJson(aaxhost::Instance& instance);

} // namespace kelvohost

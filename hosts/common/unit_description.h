#pragma once
// What a host learns about a unit through the Audio Unit calls, in plain C++ types so the
// lookup and formatting code can be tested without a unit.

#include <cstdint>
#include <string>
#include <vector>

namespace kelvohost {

enum class ParameterUnit {
    generic,
    indexed,
    boolean,
    percent,
    decibels,
    hertz,
    milliseconds,
    other
};

struct ParameterDescription {
    std::uint32_t id = 0;
    std::string name;
    float minimum = 0.0f;
    float maximum = 0.0f;
    float defaultValue = 0.0f;
    ParameterUnit unit = ParameterUnit::generic;
    std::uint32_t unitCode = 0; // the unit as the platform numbers it
    std::uint32_t flags = 0;    // the platform's parameter flags
    bool canRamp = false;
    std::vector<std::string> valueStrings; // captions of the steps, minimum first

    bool isStepped() const {
        return unit == ParameterUnit::indexed || unit == ParameterUnit::boolean;
    }
};

struct PresetDescription {
    std::int32_t number = 0;
    std::string name; // as the unit lists it: "Group / Name"
};

// The text a unit shows for the unit of a parameter ("dB", "%", ...; empty for none).
const char* unitSymbol(ParameterUnit unit);

// A short name of the unit for listings ("dB", "%", "indexed", "switch", "").
const char* unitLabel(ParameterUnit unit);

} // namespace kelvohost

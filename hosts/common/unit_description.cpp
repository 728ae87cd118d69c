#include "unit_description.h"

namespace kelvohost {

const char* unitSymbol(ParameterUnit unit) {
    switch (unit) {
    case ParameterUnit::percent:
        return "%";
    case ParameterUnit::decibels:
        return "dB";
    case ParameterUnit::hertz:
        return "Hz";
    case ParameterUnit::milliseconds:
        return "ms";
    default:
        return "";
    }
}

const char* unitLabel(ParameterUnit unit) {
    switch (unit) {
    case ParameterUnit::indexed:
        return "steps";
    case ParameterUnit::boolean:
        return "switch";
    case ParameterUnit::other:
        return "other";
    default:
        return unitSymbol(unit);
    }
}

} // namespace kelvohost

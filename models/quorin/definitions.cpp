// The Quorin parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Gain", 34, 69, 34, "dB", 0, 0, 0},
    {"Input Trim", -60, 0, -34, "dB", 0, 0, 1},
    {"Output Trim", -36, 12, 0, "dB", 0, 0, 0},
    {"Pad", 0, 1, 0, "", 1, 0, 0},
    {"Polarity", 0, 1, 0, "", 1, 0, 0},
    {"3:1 Tap", 0, 1, 0, "", 1, 0, 0},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 1, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

const char* const* choices(unsigned id, unsigned& count) {
    static const char* const inOut[] = {"Input", "Output"};
    static_assert(std::size(inOut) == 2);
    if (id == param::meter) {
        count = std::size(inOut);
        return inOut;
    }
    count = 0;
    return nullptr;
}

} // namespace classic

// The Opalin parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Gain", 0, 100, 50, "", 0, 0, 0},
    {"Peak Reduction", 0, 100, 25, "", 0, 0, 0},
    {"Limit", 0, 1, 0, "", 1, 0, 0},
    {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
    {"Output Trim", -24, 12, 0, "dB", 0, 0, 1},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

const char* const* choices(unsigned id, unsigned& count) {
    static const char* const grOut[] = {"GR", "Output"};
    static_assert(std::size(grOut) == 2);
    if (id == model.meterId) {
        count = std::size(grOut);
        return grOut;
    }
    count = 0;
    return nullptr;
}

} // namespace classic

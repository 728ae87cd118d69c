// The Mireth parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Input Trim", 0, 36, 10, "dB", 0, 0, 0},   {"Output Trim", -36, 12, 0, "dB", 0, 0, 0},
    {"Recovery", 0, 5, 2, "", 0, 1, 0},         {"Mode", 0, 2, 1, "", 0, 1, 0},
    {"Sidechain HP", 0, 3, 0, "", 0, 1, 1},     {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1}, {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},           {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

// The middle dot in the Recovery captions is U+00B7.
const char* const* choices(unsigned id, unsigned& count) {
    static const char* const recovery[] = {"1 \u00b7 Fast", "2", "3", "4", "5", "6 \u00b7 Slow"};
    static const char* const mode[] = {"Single", "Double", "Fast"};
    static const char* const hp[] = {"Off", "60 Hz", "120 Hz", "200 Hz"};
    static const char* const grOut[] = {"GR", "Output"};
    static_assert(std::size(recovery) == 6 && std::size(mode) == 3 && std::size(hp) == 4 &&
                  std::size(grOut) == 2);
    switch (id) {
    case 2:
        count = std::size(recovery);
        return recovery;
    case 3:
        count = std::size(mode);
        return mode;
    case 4:
        count = std::size(hp);
        return hp;
    case 7:
        count = std::size(grOut);
        return grOut;
    default:
        count = 0;
        return nullptr;
    }
}

} // namespace classic

// The Tolvar parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Gain", 0, 4, 2, "", 0, 1, 0},
    {"Level", 0, 10, 5, "", 0, 0, 0},
    {"Low EQ", 0, 10, 5, "", 0, 1, 0},
    {"High EQ", 0, 10, 5, "", 0, 1, 0},
    {"Low Frequency", 0, 2, 1, "", 0, 1, 0},
    {"High Frequency", 0, 2, 1, "", 0, 1, 0},
    {"Pad", 0, 1, 0, "", 1, 0, 0},
    {"Polarity", 0, 1, 0, "", 1, 0, 0},
    {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
    {"Output Trim", -36, 12, 0, "dB", 0, 0, 1},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 1, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

// The minus sign in the captions is U+2212.
const char* const* choices(unsigned id, unsigned& count) {
    static const char* const g[] = {"\u221210 dB", "\u22125 dB", "0 dB", "+5 dB", "+10 dB"};
    static const char* const eq[] = {"\u22129 dB",   "\u22126 dB", "\u22124.5 dB", "\u22123 dB",
                                     "\u22121.5 dB", "0 dB",       "+1.5 dB",      "+3 dB",
                                     "+4.5 dB",      "+6 dB",      "+9 dB"};
    static const char* const lo[] = {"70 Hz", "100 Hz", "200 Hz"};
    static const char* const hi[] = {"4.5 kHz", "7 kHz", "10 kHz"};
    static const char* const inOut[] = {"Input", "Output"};
    static_assert(std::size(g) == 5 && std::size(eq) == 11 && std::size(lo) == 3 &&
                  std::size(hi) == 3 && std::size(inOut) == 2);
    switch (id) {
    case 0:
        count = std::size(g);
        return g;
    case 2:
    case 3:
        count = std::size(eq);
        return eq;
    case 4:
        count = std::size(lo);
        return lo;
    case 5:
        count = std::size(hi);
        return hi;
    case 11:
        count = std::size(inOut);
        return inOut;
    default:
        count = 0;
        return nullptr;
    }
}

} // namespace classic

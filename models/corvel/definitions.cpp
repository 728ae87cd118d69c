// The Corvel parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Input Gain", 0, 20, 2, "", 0, 1, 0},       {"High Shelf", -16, 16, 0, "dB", 0, 0, 0},
    {"Mid Gain", -18, 18, 0, "dB", 0, 0, 0},     {"Mid Frequency", 0, 5, 2, "", 0, 1, 0},
    {"Low Shelf", -16, 16, 0, "dB", 0, 0, 0},    {"Low Frequency", 0, 3, 2, "", 0, 1, 0},
    {"High Pass", 0, 4, 0, "", 0, 1, 0},         {"EQ In", 0, 1, 1, "", 1, 0, 0},
    {"Polarity", 0, 1, 0, "", 1, 0, 0},          {"Output Trim", -60, 12, 0, "dB", 0, 0, 0},
    {"Mix", 0, 100, 100, "%", 0, 0, 0},          {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 0},
};

// These captions use the ASCII hyphen-minus, as the faceplate engraves them.
const char* const* choices(unsigned id, unsigned& count) {
    static const char* const g[] = {
        "LINE -10", "LINE -5", "LINE 0",  "LINE +5", "LINE +10", "LINE +15", "LINE +20",
        "OFF",      "MIC +20", "MIC +25", "MIC +30", "MIC +35",  "MIC +40",  "MIC +45",
        "MIC +50",  "MIC +55", "MIC +60", "MIC +65", "MIC +70",  "MIC +75",  "MIC +80"};
    static const char* const m[] = {"360 Hz", "700 Hz", "1.6 kHz", "3.2 kHz", "4.8 kHz", "7.2 kHz"};
    static const char* const l[] = {"35 Hz", "60 Hz", "110 Hz", "220 Hz"};
    static const char* const h[] = {"Off", "50 Hz", "80 Hz", "160 Hz", "300 Hz"};
    static_assert(std::size(g) == 21 && std::size(m) == 6 && std::size(l) == 4 &&
                  std::size(h) == 5);
    switch (id) {
    case param::inputGain:
        count = std::size(g);
        return g;
    case param::midFrequency:
        count = std::size(m);
        return m;
    case param::lowFrequency:
        count = std::size(l);
        return l;
    case param::highPass:
        count = std::size(h);
        return h;
    default:
        count = 0;
        return nullptr;
    }
}

} // namespace classic

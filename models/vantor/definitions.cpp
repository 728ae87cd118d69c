// The Vantor parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Threshold", -40, 20, -12, "dB", 0, 0, 0},
    {"Makeup", 0, 24, 0, "dB", 0, 0, 0},
    {"Attack", 0, 5, 4, "", 0, 1, 0},
    {"Release", 0, 4, 4, "", 0, 1, 0},
    {"Ratio", 0, 2, 1, "", 0, 1, 0},
    {"Sidechain HP", 0, 4, 0, "", 0, 1, 0},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

const char* const* choices(unsigned id, unsigned& count) {
    static const char* const attack[] = {"0.1 ms", "0.3 ms", "1 ms", "3 ms", "10 ms", "30 ms"};
    static const char* const release[] = {"100 ms", "300 ms", "600 ms", "1.2 s", "Auto"};
    static const char* const ratio[] = {"2:1", "4:1", "10:1"};
    static const char* const hp[] = {"Off", "60 Hz", "90 Hz", "150 Hz", "300 Hz"};
    static const char* const grOut[] = {"GR", "Output"};
    static_assert(std::size(attack) == 6 && std::size(release) == 5 && std::size(ratio) == 3 &&
                  std::size(hp) == 5 && std::size(grOut) == 2);
    switch (id) {
    case 2:
        count = std::size(attack);
        return attack;
    case 3:
        count = std::size(release);
        return release;
    case 4:
        count = std::size(ratio);
        return ratio;
    case 5:
        count = std::size(hp);
        return hp;
    case 8:
        count = std::size(grOut);
        return grOut;
    default:
        count = 0;
        return nullptr;
    }
}

} // namespace classic

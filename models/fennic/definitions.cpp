// The Fennic parameter table and value strings.

#include "model.h"

#include <iterator>

namespace classic {

// name, minimum, maximum, default, unit text, switch, indexed, utility
const Definition definitions[parameterCount] = {
    {"Input", 0, 48, 24, "", 0, 0, 0},  {"Output", 0, 48, 24, "", 0, 0, 0},
    {"Attack", 0, 7, 3, "", 0, 0, 0},   {"Release", 1, 7, 5, "", 0, 0, 0},
    {"Ratio", 0, 4, 0, "", 0, 1, 0},    {"Meter", 0, 3, 0, "", 0, 1, 0},
    {"Mix", 0, 100, 100, "%", 0, 0, 0}, {"Stereo Link", 0, 100, 100, "%", 0, 0, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},   {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 0},
};

const char* const* choices(unsigned id, unsigned& count) {
    static const char* const ratios[] = {"4:1", "8:1", "12:1", "20:1", "All Buttons"};
    static const char* const meters[] = {"Gain Reduction", "Output +8", "Output +4", "Meter Off"};
    static_assert(std::size(ratios) == 5 && std::size(meters) == 4);
    switch (id) {
    case param::ratio:
        count = std::size(ratios);
        return ratios;
    case param::meter:
        count = std::size(meters);
        return meters;
    default:
        count = 0;
        return nullptr;
    }
}

} // namespace classic

// The nine Tolvar factory presets.

#include "presets/factory_preset.h"

namespace classic {

namespace {
// Parameter IDs of the Tolvar table, for readable override lists.
enum : unsigned {
    gain = 0,
    level = 1,
    lowEq = 2,
    highEq = 3,
    lowFrequency = 4,
    highFrequency = 5,
    shimmer = 13,
};
} // namespace

const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {
        makePreset("Start", "Studio Start", {}),
        makePreset("Vocals", "Warm Body", {{gain, 3}, {level, 2.8f}, {lowEq, 6}}),
        makePreset("Vocals", "Soft Air", {{highEq, 7}, {highFrequency, 2}, {shimmer, 10}}),
        makePreset("Bass", "Rounded Low End",
                   {{lowEq, 7}, {lowFrequency, 1}, {highEq, 4}, {gain, 3}, {level, 2.8f}}),
        makePreset("Acoustic", "Open Acoustic", {{lowEq, 4}, {highEq, 7}, {highFrequency, 2}}),
        makePreset("Drums", "Drum Weight", {{gain, 3}, {level, 3}, {lowEq, 7}, {lowFrequency, 2}}),
        makePreset("Color", "Tube Edge", {{gain, 4}, {level, 1.8f}}),
        makePreset("Color", "Dark Velvet",
                   {{gain, 3}, {level, 3}, {highEq, 2}, {highFrequency, 0}}),
        makePreset("Color", "Analog Shimmer", {{highEq, 6}, {highFrequency, 2}, {shimmer, 32}}),
    };
    return presets;
}

} // namespace classic

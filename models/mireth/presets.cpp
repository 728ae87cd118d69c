// The nine Mireth factory presets.

#include "presets/factory_preset.h"

namespace classic {

namespace {
// Parameter IDs of the Mireth table, for readable override lists.
enum : unsigned {
    inputTrim = 0,
    outputTrim = 1,
    recovery = 2,
    mode = 3,
    parallelMix = 5,
    shimmer = 9,
};
} // namespace

const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {
        makePreset("Start", "Studio Start", {}),
        makePreset("Vocals", "Long Vocal Ride",
                   {{inputTrim, 14}, {outputTrim, -2}, {recovery, 3}, {mode, 1}}),
        makePreset("Vocals", "Vocal Breathing",
                   {{inputTrim, 12}, {outputTrim, -1}, {recovery, 1}, {mode, 0}}),
        makePreset("Bass", "Long Notes",
                   {{inputTrim, 18}, {outputTrim, -3}, {recovery, 4}, {mode, 1}}),
        makePreset("Bass", "Pulse Control",
                   {{inputTrim, 15}, {outputTrim, -2}, {recovery, 0}, {mode, 2}}),
        makePreset("Acoustic", "Sustain and Body",
                   {{inputTrim, 8}, {outputTrim, -1}, {recovery, 2}, {mode, 0}}),
        makePreset("Drums", "Room Hold",
                   {{inputTrim, 23}, {outputTrim, -4}, {recovery, 1}, {mode, 2}}),
        makePreset("Parallel", "Dense Leveler",
                   {{inputTrim, 29}, {outputTrim, -6}, {recovery, 2}, {parallelMix, 40}}),
        makePreset("Color", "Warm Shimmer", {{inputTrim, 8}, {outputTrim, -1}, {shimmer, 30}}),
    };
    return presets;
}

} // namespace classic

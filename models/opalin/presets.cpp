// The nine Opalin factory presets.

#include "presets/factory_preset.h"

namespace classic {

namespace {
// Parameter IDs of the Opalin table, for readable override lists.
enum : unsigned {
    gain = 0,
    peakReduction = 1,
    limit = 2,
    parallelMix = 5,
    shimmer = 9,
};
} // namespace

const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {
        makePreset("Start", "Studio Start", {}),
        makePreset("Vocals", "Gentle Vocal", {{gain, 53}, {peakReduction, 40}}),
        makePreset("Vocals", "Held Lead", {{gain, 58}, {peakReduction, 53}}),
        makePreset("Bass", "Rounded Bass", {{gain, 55}, {peakReduction, 48}}),
        makePreset("Bass", "Steady Bass", {{gain, 60}, {peakReduction, 58}, {limit, 1}}),
        makePreset("Acoustic", "Soft Leveling", {{gain, 51}, {peakReduction, 33}}),
        makePreset("Drums", "Room Leveler", {{gain, 56}, {peakReduction, 61}, {parallelMix, 65}}),
        makePreset("Parallel", "Vocal Density",
                   {{gain, 63}, {peakReduction, 70}, {parallelMix, 40}}),
        // Peak Reduction 0: no leveling, only the colour of the stages and the Shimmer.
        makePreset("Color", "Shimmer Air", {{gain, 50}, {peakReduction, 0}, {shimmer, 28}}),
    };
    return presets;
}

} // namespace classic

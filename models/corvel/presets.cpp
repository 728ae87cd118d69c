// The nine Corvel factory presets.

#include "presets/factory_preset.h"

namespace classic {

namespace {
using namespace param;
} // namespace

const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {
        makePreset("Start", "Studio Start", {}),
        // +2 dB high shelf, +2 dB at 3.2 kHz, high pass at 50 Hz.
        makePreset("Vocals", "Vocal Presence",
                   {{highShelf, 2}, {midGain, 2}, {midFrequency, 3}, {highPass, 1}}),
        makePreset("Vocals", "Warm Low Mid", {{lowShelf, 2}, {lowFrequency, 3}, {highPass, 1}}),
        makePreset("Acoustic", "Acoustic Air",
                   {{highShelf, 3}, {midGain, -2}, {midFrequency, 0}, {highPass, 1}}),
        makePreset("Drums", "Snare Bite",
                   {{midGain, 3}, {midFrequency, 3}, {highShelf, 2}, {highPass, 1}}),
        makePreset("Bass", "Bass Body",
                   {{lowShelf, 3}, {lowFrequency, 1}, {midGain, 1}, {midFrequency, 1}}),
        makePreset("Mix Bus", "Gentle Tone", {{lowShelf, 1}, {highShelf, 1}}),
        // "LINE +15" with the output trimmed by the same 15 dB.
        makePreset("Color", "Preamp Push", {{inputGain, 5}, {outputTrim, -15}}),
        makePreset("Color", "Analog Shimmer", {{highShelf, 1}, {shimmer, 25}}),
    };
    return presets;
}

} // namespace classic

// The nine Quorin factory presets, each a full row of the ten values.

#include "presets/factory_preset.h"

namespace classic {

// Columns in parameter order: Gain, Input Trim, Output Trim, Pad, Polarity, "3:1 Tap",
// Parallel Mix, Meter, Bypass, Analog Shimmer.
const FactoryPresetList& factoryPresets() {
    static const FactoryPresetList presets = {{
        {"Start", "Studio Start", {34, -34, 0, 0, 0, 0, 100, 1, 0, 0}},
        {"Vocals", "Forward Voice", {40, -34, -6, 0, 0, 0, 100, 1, 0, 0}},
        {"Acoustic", "Acoustic Body", {38, -34, -4, 0, 0, 0, 100, 1, 0, 0}},
        {"Bass", "Bass Edge", {48, -34, -14, 0, 0, 0, 100, 1, 0, 0}},
        {"Drums", "Close-Mic Weight", {43, -34, -9, 0, 0, 0, 100, 1, 0, 0}},
        {"Color", "Transformer Push", {54, -34, -18, 0, 0, 0, 100, 1, 0, 0}},
        {"Color", "Pad and Drive", {62, -34, -8, 1, 0, 0, 100, 1, 0, 0}},
        {"Color", "Output Tap Drive", {54, -34, -10.5f, 0, 0, 1, 100, 1, 0, 0}},
        {"Color", "Shimmer Lift", {38, -34, -4, 0, 0, 0, 100, 1, 0, 25}},
    }};
    return presets;
}

} // namespace classic

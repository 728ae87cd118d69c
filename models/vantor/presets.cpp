// The nine Vantor factory presets, each a full row of the twelve parameters.

#include "presets/factory_preset.h"

namespace classic {

namespace {

// A preset written out in full, in parameter-ID order; the count is checked.
template <class... V> FactoryPreset row(const char* group, const char* name, V... values) {
    static_assert(sizeof...(values) == parameterCount, "a full row of every parameter");
    return FactoryPreset{group, name, Values{static_cast<float>(values)...}};
}

} // namespace

const FactoryPresetList& factoryPresets() {
    // Columns: Threshold, Makeup, Attack, Release, Ratio, Sidechain HP, Parallel Mix,
    // Stereo Link, Meter, Input Trim, Bypass, Analog Shimmer. Steps by caption:
    // Attack 0.1/0.3/1/3/10/30 ms, Release 100/300/600 ms/1.2 s/Auto, Ratio 2:1/4:1/10:1.
    static const FactoryPresetList presets = {
        row("Start", "Studio Start", -12, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 0),
        row("Mix Bus", "Open Glue", -18, 1.5, 5, 4, 0, 0, 100, 100, 0, 0, 0, 0),
        row("Mix Bus", "Gentle Glue", -22, 2.5, 4, 4, 1, 2, 100, 100, 0, 0, 0, 0),
        row("Drums", "Punch Bus", -20, 4, 5, 1, 1, 0, 100, 100, 0, 0, 0, 0),
        row("Drums", "Tight Crush", -30, 8, 2, 0, 2, 0, 100, 100, 0, 0, 0, 0),
        row("Bass", "Low-End Support", -22, 3, 4, 2, 0, 0, 100, 100, 0, 0, 0, 0),
        row("Vocals", "Vocal Bus", -20, 3, 3, 1, 0, 0, 100, 100, 0, 0, 0, 0),
        row("Parallel", "Attack and Weight", -28, 7, 4, 0, 2, 0, 40, 100, 0, 0, 0, 0),
        // Threshold +20 dB: nothing is reduced below a linked level of +17 dB.
        row("Color", "Subtle Shimmer", 20, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 20),
    };
    return presets;
}

} // namespace classic

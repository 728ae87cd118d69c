// The nine Elvane factory presets, each a full row of the nine parameters.

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
    // Columns: Input Trim, Output Trim, Mode (0 Single, 1 Dual), Sidechain HP
    // (Off/60/120/200 Hz), Parallel Mix, Stereo Link, Meter, Bypass, Analog Shimmer.
    static const FactoryPresetList presets = {
        row("Start", "Studio Start", 10, 0, 1, 0, 100, 100, 0, 0, 0),
        row("Vocals", "Broadcast Lead", 13, -2, 1, 0, 100, 100, 0, 0, 0),
        row("Vocals", "Single Recovery", 11, -1, 0, 0, 100, 100, 0, 0, 0),
        row("Bass", "Broadcast Bass", 16, -3, 1, 0, 100, 100, 0, 0, 0),
        row("Drums", "Room Clamp", 23, -5, 0, 0, 100, 100, 0, 0, 0),
        row("Mix Bus", "Gentle Iron", 5, -1, 1, 2, 100, 100, 0, 0, 0),
        row("Parallel", "Dense Broadcast", 28, -5, 1, 0, 35, 100, 0, 0, 0),
        row("Color", "Tube Weight", 8, -1, 1, 0, 100, 100, 0, 0, 15),
        row("Color", "Shimmer Broadcast", 8, -1, 1, 0, 100, 100, 0, 0, 35),
    };
    return presets;
}

} // namespace classic

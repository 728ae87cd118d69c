#pragma once
// A factory preset: group, name and a full parameter array. Each model lists nine in
// `classic::factoryPresets()`, built with `classic::makePreset` from its defaults.

#include "model.h"

#include <array>
#include <initializer_list>
#include <utility>

namespace classic {

using Values = std::array<float, parameterCount>;

struct FactoryPreset {
    const char* group;
    const char* name;
    Values values;
};

inline constexpr unsigned factoryPresetCount = 9;
using FactoryPresetList = std::array<FactoryPreset, factoryPresetCount>;

// The model's presets, built on first use and kept for the life of the process. Defined by
// each model. [any thread]
const FactoryPresetList& factoryPresets();

// The default of every row of the table.
inline Values defaultValues() {
    Values values{};
    for (unsigned id = 0; id < parameterCount; ++id) {
        values[id] = definitions[id].defaultValue;
    }
    return values;
}

// Defaults, then each (ID, value) override in order; a later pair for the same ID wins.
inline FactoryPreset makePreset(const char* group, const char* name,
                                std::initializer_list<std::pair<unsigned, float>> overrides) {
    FactoryPreset preset{group, name, defaultValues()};
    for (const auto& [id, value] : overrides) {
        preset.values[id] = value;
    }
    return preset;
}

} // namespace classic

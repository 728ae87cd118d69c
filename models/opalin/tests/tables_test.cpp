// The Opalin parameter table, value strings, model data and factory presets.

#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace classic {
namespace {

struct RowCase {
    const char* name;
    float minimum, maximum, defaultValue;
    const char* unit;
    int isSwitch, isIndexed, isUtility;
};

const RowCase rows[parameterCount] = {
    {"Gain", 0, 100, 50, "", 0, 0, 0},
    {"Peak Reduction", 0, 100, 25, "", 0, 0, 0},
    {"Limit", 0, 1, 0, "", 1, 0, 0},
    {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
    {"Output Trim", -24, 12, 0, "dB", 0, 0, 1},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

TEST(OpalinTables, ParameterTable) {
    for (unsigned id = 0; id < parameterCount; ++id) {
        const Definition& d = definitions[id];
        const RowCase& want = rows[id];
        EXPECT_STREQ(d.name, want.name) << id;
        EXPECT_EQ(d.minimum, want.minimum) << id;
        EXPECT_EQ(d.maximum, want.maximum) << id;
        EXPECT_EQ(d.defaultValue, want.defaultValue) << id;
        EXPECT_STREQ(d.unitText, want.unit) << id;
        EXPECT_EQ(d.isSwitch, want.isSwitch) << id;
        EXPECT_EQ(d.isIndexed, want.isIndexed) << id;
        EXPECT_EQ(d.isUtility, want.isUtility) << id;
    }
}

TEST(OpalinTables, ModelData) {
    EXPECT_EQ(parameterCount, 10u);
    EXPECT_STREQ(model.product, "KelvoOpalin");
    EXPECT_STREQ(model.bundleIdentifier, "com.kelvo.KelvoOpalin");
    EXPECT_EQ(model.subtype, 0x4F70616Cu); // 'Opal'
    EXPECT_EQ(model.meterId, 7u);
    EXPECT_EQ(model.bypassId, 8u);
    EXPECT_EQ(model.mixId, 5u);
    EXPECT_EQ(model.shimmerId, 9u);
    EXPECT_STREQ(model.viewFactoryClass, "KelvoOpalinViewFactory");
    EXPECT_EQ(model.meterProperty, 0x4B49524Du); // 'KIRM'
}

TEST(OpalinTables, OnlyMeterHasValueStrings) {
    unsigned count = 99;
    const char* const* grOut = choices(7, count);
    ASSERT_NE(grOut, nullptr);
    ASSERT_EQ(count, 2u);
    EXPECT_STREQ(grOut[0], "GR");
    EXPECT_STREQ(grOut[1], "Output");
    for (unsigned id : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 8u, 9u, 10u, 1000u}) {
        count = 99;
        EXPECT_EQ(choices(id, count), nullptr) << id;
        EXPECT_EQ(count, 0u) << id;
    }
}

struct PresetCase {
    const char* group;
    const char* name;
    float gain, peakReduction, limit, mix, shimmer;
};

TEST(OpalinTables, FactoryPresets) {
    const PresetCase want[] = {
        {"Start", "Studio Start", 50, 25, 0, 100, 0},
        {"Vocals", "Gentle Vocal", 53, 40, 0, 100, 0},
        {"Vocals", "Held Lead", 58, 53, 0, 100, 0},
        {"Bass", "Rounded Bass", 55, 48, 0, 100, 0},
        {"Bass", "Steady Bass", 60, 58, 1, 100, 0},
        {"Acoustic", "Soft Leveling", 51, 33, 0, 100, 0},
        {"Drums", "Room Leveler", 56, 61, 0, 65, 0},
        {"Parallel", "Vocal Density", 63, 70, 0, 40, 0},
        {"Color", "Shimmer Air", 50, 0, 0, 100, 28},
    };
    const auto& presets = factoryPresets();
    ASSERT_EQ(presets.size(), 9u);
    EXPECT_EQ(&presets, &factoryPresets());
    for (unsigned p = 0; p < 9; ++p) {
        const FactoryPreset& preset = presets[p];
        EXPECT_STREQ(preset.group, want[p].group) << p;
        EXPECT_STREQ(preset.name, want[p].name) << p;
        const float expected[parameterCount] = {
            want[p].gain, want[p].peakReduction, want[p].limit, 0, 0, want[p].mix, 100, 0, 0,
            want[p].shimmer};
        for (unsigned id = 0; id < parameterCount; ++id) {
            EXPECT_EQ(preset.values[id], expected[id]) << preset.name << " id " << id;
            EXPECT_EQ(normalize(definitions[id], preset.values[id]), preset.values[id])
                << preset.name << " id " << id << " must already be normal";
        }
    }
    EXPECT_EQ(presets[0].values, defaultValues());
}

} // namespace
} // namespace classic

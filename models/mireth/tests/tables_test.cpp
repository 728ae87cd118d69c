// The Mireth parameter table, value strings, model data and factory presets.

#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace classic {
namespace {

struct RowCase {
    const char* name;
    float minimum, maximum, defaultValue;
    const char* unit;
    int isSwitch, isIndexed, isUtility;
};

const RowCase rows[parameterCount] = {
    {"Input Trim", 0, 36, 10, "dB", 0, 0, 0},
    {"Output Trim", -36, 12, 0, "dB", 0, 0, 0},
    {"Recovery", 0, 5, 2, "", 0, 1, 0},
    {"Mode", 0, 2, 1, "", 0, 1, 0},
    {"Sidechain HP", 0, 3, 0, "", 0, 1, 1},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

TEST(MirethTables, ParameterTable) {
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

TEST(MirethTables, ModelData) {
    EXPECT_EQ(parameterCount, 10u);
    EXPECT_STREQ(model.product, "KelvoMireth");
    EXPECT_STREQ(model.bundleIdentifier, "com.kelvo.KelvoMireth");
    EXPECT_EQ(model.subtype, 0x4D697265u); // 'Mire'
    EXPECT_EQ(model.meterId, 7u);
    EXPECT_EQ(model.bypassId, 8u);
    EXPECT_EQ(model.mixId, 5u);
    EXPECT_EQ(model.shimmerId, 9u);
    EXPECT_STREQ(model.viewFactoryClass, "KelvoMirethViewFactory");
    EXPECT_EQ(model.meterProperty, 0x4B49524Du); // 'KIRM'
}

TEST(MirethTables, ValueStrings) {
    struct Captions {
        unsigned id;
        std::vector<std::string> strings;
    };
    const Captions want[] = {
        {2, {"1 \u00b7 Fast", "2", "3", "4", "5", "6 \u00b7 Slow"}},
        {3, {"Single", "Double", "Fast"}},
        {4, {"Off", "60 Hz", "120 Hz", "200 Hz"}},
        {7, {"GR", "Output"}},
    };
    for (const Captions& c : want) {
        unsigned count = 99;
        const char* const* list = choices(c.id, count);
        ASSERT_NE(list, nullptr) << c.id;
        ASSERT_EQ(count, c.strings.size()) << c.id;
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_EQ(std::string(list[i]), c.strings[i]) << c.id << " index " << i;
        }
        // One caption per integer step of the row.
        const Definition& row = definitions[c.id];
        EXPECT_EQ(count, static_cast<unsigned>(row.maximum - row.minimum) + 1) << c.id;
    }
    for (unsigned id : {0u, 1u, 5u, 6u, 8u, 9u, 10u}) {
        unsigned count = 99;
        EXPECT_EQ(choices(id, count), nullptr) << id;
        EXPECT_EQ(count, 0u) << id;
    }
}

TEST(MirethTables, FactoryPresets) {
    struct Row {
        const char* group;
        const char* name;
        float values[parameterCount];
    };
    // Input Trim, Output Trim, Recovery, Mode, Sidechain HP, Parallel Mix, Stereo Link, Meter, Bypass, Analog Shimmer
    const Row want[] = {
        {"Start", "Studio Start", {10, 0, 2, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Long Vocal Ride", {14, -2, 3, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Vocal Breathing", {12, -1, 1, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Long Notes", {18, -3, 4, 1, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Pulse Control", {15, -2, 0, 2, 0, 100, 100, 0, 0, 0}},
        {"Acoustic", "Sustain and Body", {8, -1, 2, 0, 0, 100, 100, 0, 0, 0}},
        {"Drums", "Room Hold", {23, -4, 1, 2, 0, 100, 100, 0, 0, 0}},
        {"Parallel", "Dense Leveler", {29, -6, 2, 1, 0, 40, 100, 0, 0, 0}},
        {"Color", "Warm Shimmer", {8, -1, 2, 1, 0, 100, 100, 0, 0, 30}},
    };
    const auto& presets = factoryPresets();
    ASSERT_EQ(presets.size(), 9u);
    EXPECT_EQ(&presets, &factoryPresets());
    for (unsigned p = 0; p < 9; ++p) {
        const FactoryPreset& preset = presets[p];
        EXPECT_STREQ(preset.group, want[p].group) << p;
        EXPECT_STREQ(preset.name, want[p].name) << p;
        for (unsigned id = 0; id < parameterCount; ++id) {
            EXPECT_EQ(preset.values[id], want[p].values[id]) << preset.name << " id " << id;
            EXPECT_EQ(normalize(definitions[id], preset.values[id]), preset.values[id])
                << preset.name << " id " << id << " must already be normal";
        }
    }
    EXPECT_EQ(presets[0].values, defaultValues());
}

} // namespace
} // namespace classic

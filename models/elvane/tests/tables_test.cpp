// The Elvane parameter table, value strings, model data and factory presets.

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
    {"Mode", 0, 1, 1, "", 0, 1, 0},
    {"Sidechain HP", 0, 3, 0, "", 0, 1, 1},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

TEST(ElvaneTables, ParameterTable) {
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

TEST(ElvaneTables, ModelData) {
    EXPECT_EQ(parameterCount, 9u);
    EXPECT_STREQ(model.product, "KelvoElvane");
    EXPECT_STREQ(model.bundleIdentifier, "com.kelvo.KelvoElvane");
    EXPECT_EQ(model.subtype, 0x456C7661u); // 'Elva'
    EXPECT_EQ(model.meterId, 6u);
    EXPECT_EQ(model.bypassId, 7u);
    EXPECT_EQ(model.mixId, 4u);
    EXPECT_EQ(model.shimmerId, 8u);
    EXPECT_STREQ(model.viewFactoryClass, "KelvoElvaneViewFactory");
    EXPECT_EQ(model.meterProperty, 0x4B49524Du); // 'KIRM'
}

TEST(ElvaneTables, ValueStrings) {
    struct Captions {
        unsigned id;
        std::vector<std::string> strings;
    };
    const Captions want[] = {
        {2, {"Single", "Dual"}},
        {3, {"Off", "60 Hz", "120 Hz", "200 Hz"}},
        {6, {"GR", "Output"}},
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
    for (unsigned id : {0u, 1u, 4u, 5u, 7u, 8u, 9u}) {
        unsigned count = 99;
        EXPECT_EQ(choices(id, count), nullptr) << id;
        EXPECT_EQ(count, 0u) << id;
    }
}

TEST(ElvaneTables, FactoryPresets) {
    struct Row {
        const char* group;
        const char* name;
        float values[parameterCount];
    };
    // Input Trim, Output Trim, Mode, Sidechain HP, Parallel Mix, Stereo Link, Meter, Bypass, Analog Shimmer
    const Row want[] = {
        {"Start", "Studio Start", {10, 0, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Broadcast Lead", {13, -2, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Single Recovery", {11, -1, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Broadcast Bass", {16, -3, 1, 0, 100, 100, 0, 0, 0}},
        {"Drums", "Room Clamp", {23, -5, 0, 0, 100, 100, 0, 0, 0}},
        {"Mix Bus", "Gentle Iron", {5, -1, 1, 2, 100, 100, 0, 0, 0}},
        {"Parallel", "Dense Broadcast", {28, -5, 1, 0, 35, 100, 0, 0, 0}},
        {"Color", "Tube Weight", {8, -1, 1, 0, 100, 100, 0, 0, 15}},
        {"Color", "Shimmer Broadcast", {8, -1, 1, 0, 100, 100, 0, 0, 35}},
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

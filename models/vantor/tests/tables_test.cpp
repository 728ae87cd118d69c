// The Vantor parameter table, value strings, model data and factory presets.

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
    {"Threshold", -40, 20, -12, "dB", 0, 0, 0},
    {"Makeup", 0, 24, 0, "dB", 0, 0, 0},
    {"Attack", 0, 5, 4, "", 0, 1, 0},
    {"Release", 0, 4, 4, "", 0, 1, 0},
    {"Ratio", 0, 2, 1, "", 0, 1, 0},
    {"Sidechain HP", 0, 4, 0, "", 0, 1, 0},
    {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
    {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
    {"Meter", 0, 1, 0, "", 0, 1, 0},
    {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
    {"Bypass", 0, 1, 0, "", 1, 0, 0},
    {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
};

TEST(VantorTables, ParameterTable) {
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

TEST(VantorTables, ModelData) {
    EXPECT_EQ(parameterCount, 12u);
    EXPECT_STREQ(model.product, "KelvoVantor");
    EXPECT_STREQ(model.bundleIdentifier, "com.kelvo.KelvoVantor");
    EXPECT_EQ(model.subtype, 0x56616E74u); // 'Vant'
    EXPECT_EQ(model.meterId, 8u);
    EXPECT_EQ(model.bypassId, 10u);
    EXPECT_EQ(model.mixId, 6u);
    EXPECT_EQ(model.shimmerId, 11u);
    EXPECT_STREQ(model.viewFactoryClass, "KelvoVantorViewFactory");
    EXPECT_EQ(model.meterProperty, 0x4B49524Du); // 'KIRM'
}

TEST(VantorTables, ValueStrings) {
    struct Captions {
        unsigned id;
        std::vector<std::string> strings;
    };
    const Captions want[] = {
        {2, {"0.1 ms", "0.3 ms", "1 ms", "3 ms", "10 ms", "30 ms"}},
        {3, {"100 ms", "300 ms", "600 ms", "1.2 s", "Auto"}},
        {4, {"2:1", "4:1", "10:1"}},
        {5, {"Off", "60 Hz", "90 Hz", "150 Hz", "300 Hz"}},
        {8, {"GR", "Output"}},
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
    for (unsigned id : {0u, 1u, 6u, 7u, 9u, 10u, 11u, 12u}) {
        unsigned count = 99;
        EXPECT_EQ(choices(id, count), nullptr) << id;
        EXPECT_EQ(count, 0u) << id;
    }
}

TEST(VantorTables, FactoryPresets) {
    struct Row {
        const char* group;
        const char* name;
        float values[parameterCount];
    };
    // Threshold, Makeup, Attack, Release, Ratio, Sidechain HP, Parallel Mix, Stereo Link, Meter, Input Trim, Bypass, Analog Shimmer
    const Row want[] = {
        {"Start", "Studio Start", {-12, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 0}},
        {"Mix Bus", "Open Glue", {-18, 1.5, 5, 4, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Mix Bus", "Gentle Glue", {-22, 2.5, 4, 4, 1, 2, 100, 100, 0, 0, 0, 0}},
        {"Drums", "Punch Bus", {-20, 4, 5, 1, 1, 0, 100, 100, 0, 0, 0, 0}},
        {"Drums", "Tight Crush", {-30, 8, 2, 0, 2, 0, 100, 100, 0, 0, 0, 0}},
        {"Bass", "Low-End Support", {-22, 3, 4, 2, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Vocals", "Vocal Bus", {-20, 3, 3, 1, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Parallel", "Attack and Weight", {-28, 7, 4, 0, 2, 0, 40, 100, 0, 0, 0, 0}},
        {"Color", "Subtle Shimmer", {20, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 20}},
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

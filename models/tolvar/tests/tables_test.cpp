// The Tolvar tables: parameter rows, normalise rule, captions, factory presets.

#include "engine.h"
#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

using classic::definitions;

TEST(TolvarTable, RowsAsPublished) {
    struct Row {
        const char* name;
        float minimum, maximum, defaultValue;
        const char* unit;
        int isSwitch, isIndexed, isUtility;
    };
    const Row rows[] = {
        {"Gain", 0, 4, 2, "", 0, 1, 0},
        {"Level", 0, 10, 5, "", 0, 0, 0},
        {"Low EQ", 0, 10, 5, "", 0, 1, 0},
        {"High EQ", 0, 10, 5, "", 0, 1, 0},
        {"Low Frequency", 0, 2, 1, "", 0, 1, 0},
        {"High Frequency", 0, 2, 1, "", 0, 1, 0},
        {"Pad", 0, 1, 0, "", 1, 0, 0},
        {"Polarity", 0, 1, 0, "", 1, 0, 0},
        {"Input Trim", -24, 24, 0, "dB", 0, 0, 1},
        {"Output Trim", -36, 12, 0, "dB", 0, 0, 1},
        {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
        {"Meter", 0, 1, 1, "", 0, 1, 0},
        {"Bypass", 0, 1, 0, "", 1, 0, 0},
        {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
    };
    static_assert(std::size(rows) == classic::parameterCount);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        SCOPED_TRACE(rows[id].name);
        EXPECT_STREQ(definitions[id].name, rows[id].name);
        EXPECT_EQ(definitions[id].minimum, rows[id].minimum);
        EXPECT_EQ(definitions[id].maximum, rows[id].maximum);
        EXPECT_EQ(definitions[id].defaultValue, rows[id].defaultValue);
        EXPECT_STREQ(definitions[id].unitText, rows[id].unit);
        EXPECT_EQ(definitions[id].isSwitch, rows[id].isSwitch);
        EXPECT_EQ(definitions[id].isIndexed, rows[id].isIndexed);
        EXPECT_EQ(definitions[id].isUtility, rows[id].isUtility);
    }
    EXPECT_EQ(classic::model.meterId, 11u);
    EXPECT_EQ(classic::model.bypassId, 12u);
    EXPECT_EQ(classic::model.mixId, 10u);
    EXPECT_EQ(classic::model.shimmerId, 13u);
    EXPECT_EQ(classic::model.subtype, 0x546F6C76u);       // 'Tolv'
    EXPECT_EQ(classic::model.meterProperty, 0x4B49524Du); // 'KIRM'
    EXPECT_STREQ(classic::model.viewFactoryClass, "KelvoTolvarViewFactory");
}

TEST(TolvarTable, NormaliseRule) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    struct Row {
        unsigned id;
        float in, out;
    } const rows[] = {
        {0, 2.5f, 3}, {0, -0.5f, 0},  {0, 1.5f, 2},      {0, 9, 4},    {1, 2.5f, 2.5f},
        {8, 30, 24},  {8, -30, -24},  {9, -40, -36},     {6, 0.5f, 1}, {6, 0.49f, 0},
        {2, 4.5f, 5}, {2, 5.4f, 5},   {10, 100.5f, 100}, {13, -1, 0},  {0, nan, 2},
        {1, nan, 5},  {10, inf, 100}, {8, -inf, 0},      {11, nan, 1}, {12, 1e30f, 1},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(classic::normalize(definitions[row.id], row.in), row.out)
            << "id " << row.id << " value " << row.in;
    }
}

TEST(TolvarTable, Captions) {
    struct Row {
        unsigned id;
        std::vector<std::string> strings;
    };
    const Row rows[] = {
        {0, {"\u221210 dB", "\u22125 dB", "0 dB", "+5 dB", "+10 dB"}},
        {2,
         {"\u22129 dB", "\u22126 dB", "\u22124.5 dB", "\u22123 dB", "\u22121.5 dB", "0 dB",
          "+1.5 dB", "+3 dB", "+4.5 dB", "+6 dB", "+9 dB"}},
        {4, {"70 Hz", "100 Hz", "200 Hz"}},
        {5, {"4.5 kHz", "7 kHz", "10 kHz"}},
        {11, {"Input", "Output"}},
    };
    for (const Row& row : rows) {
        unsigned count = 99;
        const char* const* list = classic::choices(row.id, count);
        ASSERT_NE(list, nullptr) << row.id;
        ASSERT_EQ(count, row.strings.size()) << row.id;
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_EQ(list[i], row.strings[i]) << row.id << " " << i;
        }
        // One caption per step of the row's range.
        EXPECT_EQ(count, static_cast<unsigned>(definitions[row.id].maximum) + 1);
    }
    unsigned count = 0;
    const char* const* eq = classic::choices(3, count);
    EXPECT_EQ(eq, classic::choices(2, count)); // High EQ shares the Low EQ list
    EXPECT_STREQ(eq[5], "0 dB");
    for (const unsigned id : {1u, 6u, 7u, 8u, 9u, 10u, 12u, 13u, 14u}) {
        count = 7;
        EXPECT_EQ(classic::choices(id, count), nullptr) << id;
        EXPECT_EQ(count, 0u);
    }
    // The captions name the engine's steps.
    EXPECT_EQ(classic::shelfDB[0], -9);
    EXPECT_EQ(classic::shelfDB[10], 9);
    EXPECT_EQ(classic::lowShelfHz[2], 200);
    EXPECT_EQ(classic::highShelfHz[0], 4500);
}

TEST(TolvarPresets, NineAsPublished) {
    const auto& presets = classic::factoryPresets();
    const char* const names[][2] = {
        {"Start", "Studio Start"},   {"Vocals", "Warm Body"},       {"Vocals", "Soft Air"},
        {"Bass", "Rounded Low End"}, {"Acoustic", "Open Acoustic"}, {"Drums", "Drum Weight"},
        {"Color", "Tube Edge"},      {"Color", "Dark Velvet"},      {"Color", "Analog Shimmer"},
    };
    ASSERT_EQ(presets.size(), 9u);
    for (unsigned i = 0; i < 9; ++i) {
        EXPECT_STREQ(presets[i].group, names[i][0]);
        EXPECT_STREQ(presets[i].name, names[i][1]);
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            EXPECT_EQ(presets[i].values[id],
                      classic::normalize(definitions[id], presets[i].values[id]))
                << "preset " << i << " id " << id << " holds a value outside its row";
        }
    }
    EXPECT_EQ(presets[0].values, classic::defaultValues());
    EXPECT_EQ(presets[1].values[1], 2.8f);
    EXPECT_EQ(presets[6].values[0], 4);
    EXPECT_EQ(presets[6].values[1], 1.8f);
    EXPECT_EQ(presets[8].values[13], 32);
    EXPECT_EQ(&classic::factoryPresets(), &presets); // one list for the process
}

TEST(TolvarPresets, RoundedLowEndDiffersFromTheDefaultsInFourValues) {
    const classic::Values defaults = classic::defaultValues();
    unsigned differing = 0;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        differing += classic::factoryPresets()[3].values[id] != defaults[id];
    }
    EXPECT_EQ(differing, 4u);
}

TEST(TolvarPresets, MakePresetLetsTheLaterOverrideWin) {
    const classic::FactoryPreset p = classic::makePreset("G", "N", {{1, 3}, {1, 7}, {0, 0}});
    EXPECT_EQ(p.values[1], 7);
    EXPECT_EQ(p.values[0], 0);
    EXPECT_EQ(p.values[2], 5);
}

} // namespace

// The Fennic parameter table, value strings and factory presets.

#include "engine.h"
#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace param = classic::param;
using classic::definitions;

TEST(FennicTables, RowsAndKinds) {
    for (const classic::Definition& row : definitions) {
        EXPECT_FALSE(row.isUtility) << row.name;
        EXPECT_STRNE(row.unitText, "dB") << row.name;
    }
    EXPECT_FALSE(definitions[param::attack].isIndexed || definitions[param::attack].isSwitch);
    EXPECT_FALSE(definitions[param::release].isIndexed || definitions[param::release].isSwitch);
    EXPECT_TRUE(definitions[param::ratio].isIndexed);
    EXPECT_TRUE(definitions[param::meter].isIndexed);
    EXPECT_TRUE(definitions[param::bypass].isSwitch);
    EXPECT_EQ(definitions[param::release].minimum, 1);
    EXPECT_EQ(classic::normalize(definitions[param::ratio], 3.5f), 4);
    EXPECT_EQ(classic::normalize(definitions[param::attack], 0.4f), 0.4f);
}

TEST(FennicTables, Captions) {
    const char* ratios[] = {"4:1", "8:1", "12:1", "20:1", "All Buttons"};
    const char* meters[] = {"Gain Reduction", "Output +8", "Output +4", "Meter Off"};
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        unsigned count = 0;
        const char* const* list = classic::choices(id, count);
        if (id == param::ratio || id == param::meter) {
            const char** expected = id == param::ratio ? ratios : meters;
            ASSERT_EQ(count, id == param::ratio ? 5u : 4u);
            for (unsigned i = 0; i < count; ++i) {
                EXPECT_STREQ(list[i], expected[i]);
            }
        } else {
            EXPECT_EQ(list, nullptr) << id;
        }
    }
    EXPECT_EQ(classic::ratioSteps[3].ratio, classic::ratioSteps[4].ratio);
}

TEST(FennicTables, FactoryPresets) {
    struct Row {
        const char* name;
        float input, output, attack, release, ratio, mix, shimmer;
    };
    const Row rows[] = {
        {"Start / Studio Start", 24, 24, 3, 5, 0, 100, 0},
        {"Vocals / Fast Vocal", 29, 26, 5, 6, 0, 100, 0},
        {"Vocals / Open Lead", 27, 25, 2, 5, 0, 100, 0},
        {"Bass / Even Bass", 30, 26, 4, 4, 1, 100, 0},
        {"Drums / Transient Snap", 31, 25, 1, 6, 1, 100, 0},
        {"Drums / All Buttons Room", 33, 25, 6, 7, 4, 100, 0},
        {"Parallel / Drum Crush", 36, 28, 6, 7, 4, 35, 0},
        {"Color / FET Color Only", 29, 19, 0, 5, 0, 100, 0},
        {"Color / Analog Shimmer", 24, 24, 0, 5, 0, 100, 30},
    };
    const auto& presets = classic::factoryPresets();
    for (unsigned i = 0; i < presets.size(); ++i) {
        const Row& row = rows[i];
        EXPECT_EQ(std::string(presets[i].group) + " / " + presets[i].name, row.name);
        const classic::Values expected = {row.input, row.output, row.attack, row.release,
                                          row.ratio, 0,          row.mix,    100,
                                          0,         row.shimmer};
        EXPECT_EQ(presets[i].values, expected) << row.name;
    }
    EXPECT_EQ(presets[0].values, classic::defaultValues());
}

} // namespace

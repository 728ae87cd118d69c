// The Quorin parameter table, value strings and factory presets.

#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

namespace param = classic::param;
using classic::definitions;

TEST(QuorinTables, RowsKindsAndNormalising) {
    EXPECT_STREQ(definitions[param::tap].name, "3:1 Tap");
    EXPECT_STREQ(definitions[param::shimmer].name, "Analog Shimmer");
    const unsigned switches[] = {param::pad, param::polarity, param::tap, param::bypass};
    for (unsigned id : switches) {
        EXPECT_TRUE(definitions[id].isSwitch) << id;
    }
    EXPECT_TRUE(definitions[param::meter].isIndexed);
    unsigned utility = 0;
    for (const classic::Definition& row : definitions) {
        utility += row.isUtility;
        EXPECT_LE(row.minimum, row.defaultValue);
        EXPECT_LE(row.defaultValue, row.maximum);
    }
    EXPECT_EQ(utility, 3u); // Input Trim, Parallel Mix, Analog Shimmer
    EXPECT_EQ(classic::normalize(definitions[param::gain], 80), 69);
    EXPECT_EQ(classic::normalize(definitions[param::gain], 40.5f), 40.5f); // continuous
    EXPECT_EQ(classic::normalize(definitions[param::pad], 0.5f), 1);
    EXPECT_EQ(classic::normalize(definitions[param::inputTrim], NAN), -34);
}

TEST(QuorinTables, OnlyTheMeterHasCaptions) {
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        unsigned count = 99;
        const char* const* list = classic::choices(id, count);
        if (id == param::meter) {
            ASSERT_NE(list, nullptr);
            ASSERT_EQ(count, 2u);
            EXPECT_STREQ(list[0], "Input");
            EXPECT_STREQ(list[1], "Output");
        } else {
            EXPECT_EQ(list, nullptr) << id;
        }
    }
}

TEST(QuorinTables, FactoryPresets) {
    const auto& presets = classic::factoryPresets();
    const char* names[] = {
        "Start / Studio Start",  "Vocals / Forward Voice",   "Acoustic / Acoustic Body",
        "Bass / Bass Edge",      "Drums / Close-Mic Weight", "Color / Transformer Push",
        "Color / Pad and Drive", "Color / Output Tap Drive", "Color / Shimmer Lift"};
    const float gain[] = {34, 40, 38, 48, 43, 54, 62, 54, 38};
    const float trim[] = {0, -6, -4, -14, -9, -18, -8, -10.5f, -4};
    for (unsigned i = 0; i < presets.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(std::string(presets[i].group) + " / " + presets[i].name, names[i]);
        classic::Values expected = classic::defaultValues();
        expected[param::gain] = gain[i];
        expected[param::outputTrim] = trim[i];
        expected[param::pad] = i == 6;
        expected[param::tap] = i == 7;
        expected[param::shimmer] = i == 8 ? 25 : 0;
        EXPECT_EQ(presets[i].values, expected);
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            EXPECT_EQ(classic::normalize(definitions[id], presets[i].values[id]),
                      presets[i].values[id]);
        }
    }
}

} // namespace

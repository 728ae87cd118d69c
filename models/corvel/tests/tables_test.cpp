// The Corvel parameter table, value strings, engine tables and factory presets.

#include "engine.h"
#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace param = classic::param;
using classic::definitions;

TEST(CorvelTables, RowsAndKinds) {
    const unsigned indexed[] = {param::inputGain, param::midFrequency, param::lowFrequency,
                                param::highPass};
    for (unsigned id : indexed) {
        EXPECT_TRUE(definitions[id].isIndexed) << id;
    }
    for (unsigned id : {param::eqIn, param::polarity, param::bypass}) {
        EXPECT_TRUE(definitions[id].isSwitch) << id;
    }
    for (const classic::Definition& row : definitions) {
        EXPECT_FALSE(row.isUtility) << row.name;
    }
    EXPECT_EQ(classic::normalize(definitions[param::inputGain], 6.5f), 7); // "OFF"
    EXPECT_EQ(classic::normalize(definitions[param::midGain], 20), 18);
    EXPECT_EQ(classic::model.meterId, param::none); // no Meter parameter
    EXPECT_EQ(classic::model.bypassId, 11u);
}

TEST(CorvelTables, CaptionsMatchTheEngineTablesStepForStep) {
    unsigned count = 0;
    const char* const* g = classic::choices(param::inputGain, count);
    ASSERT_EQ(count, 21u);
    EXPECT_STREQ(g[0], "LINE -10");
    EXPECT_STREQ(g[6], "LINE +20");
    EXPECT_STREQ(g[7], "OFF");
    EXPECT_STREQ(g[8], "MIC +20");
    EXPECT_STREQ(g[20], "MIC +80");
    for (unsigned step = 0; step < 21; ++step) {
        if (step == classic::offStep) {
            EXPECT_EQ(classic::inputLevelDecibels[step], 0.0);
            continue;
        }
        // The caption's number is the level: "LINE +15" is 15 dB.
        const std::string caption = g[step];
        const double number = std::stod(caption.substr(caption.find(' ') + 1));
        EXPECT_EQ(classic::inputLevelDecibels[step], number) << caption;
    }
    const char* const* m = classic::choices(param::midFrequency, count);
    ASSERT_EQ(count, 6u);
    EXPECT_STREQ(m[5], "7.2 kHz");
    const char* const* l = classic::choices(param::lowFrequency, count);
    ASSERT_EQ(count, 4u);
    EXPECT_STREQ(l[0], "35 Hz");
    const char* const* h = classic::choices(param::highPass, count);
    ASSERT_EQ(count, 5u);
    EXPECT_STREQ(h[0], "Off");
    EXPECT_STREQ(h[4], "300 Hz");
    for (unsigned id :
         {param::highShelf, param::midGain, param::lowShelf, param::eqIn, param::polarity,
          param::outputTrim, param::mix, param::bypass, param::shimmer}) {
        EXPECT_EQ(classic::choices(id, count), nullptr) << id;
    }
}

TEST(CorvelTables, FactoryPresets) {
    const auto& presets = classic::factoryPresets();
    const char* names[] = {
        "Start / Studio Start",    "Vocals / Vocal Presence", "Vocals / Warm Low Mid",
        "Acoustic / Acoustic Air", "Drums / Snare Bite",      "Bass / Bass Body",
        "Mix Bus / Gentle Tone",   "Color / Preamp Push",     "Color / Analog Shimmer"};
    for (unsigned i = 0; i < presets.size(); ++i) {
        EXPECT_EQ(std::string(presets[i].group) + " / " + presets[i].name, names[i]);
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            EXPECT_EQ(classic::normalize(definitions[id], presets[i].values[id]),
                      presets[i].values[id]);
        }
    }
    EXPECT_EQ(presets[0].values, classic::defaultValues());
    const classic::Values& presence = presets[1].values;
    EXPECT_EQ(presence[param::highShelf], 2);
    EXPECT_EQ(presence[param::midGain], 2);
    EXPECT_EQ(presence[param::midFrequency], 3);
    EXPECT_EQ(presence[param::highPass], 1);
    EXPECT_EQ(presets[3].values[param::midGain], -2);
    EXPECT_EQ(presets[7].values[param::inputGain], 5); // "LINE +15"
    EXPECT_EQ(presets[7].values[param::outputTrim], -15);
    EXPECT_EQ(presets[8].values[param::shimmer], 25);
}

} // namespace

#pragma once
// Table checks shared by the dynamics models' tests, included into each model's test program
// against that model's `classic::definitions`, `classic::choices`, `classic::model` and
// `classic::factoryPresets`. Each model's tables_test.cpp holds the expected tables.

#include "model.h"
#include "presets/factory_preset.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace dynamicstest {

struct RowCase {
    const char* name;
    float minimum, maximum, defaultValue;
    const char* unit;
    int isSwitch, isIndexed, isUtility;
};

inline void expectTable(const RowCase (&rows)[classic::parameterCount]) {
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        const classic::Definition& d = classic::definitions[id];
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

inline void expectModel(const char* name, const char (&subtype)[5], unsigned meterId,
                        unsigned bypassId, unsigned mixId, unsigned shimmerId) {
    const std::string product = std::string("Kelvo") + name;
    EXPECT_EQ(classic::model.product, product);
    EXPECT_EQ(classic::model.bundleIdentifier, "com.kelvo." + product);
    EXPECT_EQ(classic::model.subtype, classic::fourCharCode(subtype));
    EXPECT_EQ(classic::model.meterId, meterId);
    EXPECT_EQ(classic::model.bypassId, bypassId);
    EXPECT_EQ(classic::model.mixId, mixId);
    EXPECT_EQ(classic::model.shimmerId, shimmerId);
    EXPECT_EQ(classic::model.viewFactoryClass, product + "ViewFactory");
    EXPECT_EQ(classic::model.meterProperty, 0x4B49524Du); // 'KIRM'
}

struct Captions {
    unsigned id;
    std::vector<std::string> strings;
};

// The listed IDs have exactly these captions, one per integer step of the row; every other
// ID, and IDs past the table, have none.
inline void expectCaptions(std::initializer_list<Captions> lists) {
    std::vector<bool> listed(classic::parameterCount + 8, false);
    for (const Captions& c : lists) {
        listed[c.id] = true;
        unsigned count = 99;
        const char* const* list = classic::choices(c.id, count);
        ASSERT_NE(list, nullptr) << c.id;
        ASSERT_EQ(count, c.strings.size()) << c.id;
        for (unsigned i = 0; i < count; ++i) {
            EXPECT_EQ(std::string(list[i]), c.strings[i]) << c.id << " index " << i;
        }
        const classic::Definition& row = classic::definitions[c.id];
        EXPECT_TRUE(row.isIndexed) << c.id;
        EXPECT_EQ(count, static_cast<unsigned>(row.maximum - row.minimum) + 1) << c.id;
    }
    for (unsigned id = 0; id < listed.size(); ++id) {
        if (!listed[id]) {
            unsigned count = 99;
            EXPECT_EQ(classic::choices(id, count), nullptr) << id;
            EXPECT_EQ(count, 0u) << id;
        }
    }
}

struct PresetRow {
    const char* group;
    const char* name;
    float values[classic::parameterCount];
};

inline void expectPresets(const PresetRow (&want)[classic::factoryPresetCount]) {
    const auto& presets = classic::factoryPresets();
    ASSERT_EQ(presets.size(), 9u);
    EXPECT_EQ(&presets, &classic::factoryPresets());
    for (unsigned p = 0; p < presets.size(); ++p) {
        const classic::FactoryPreset& preset = presets[p];
        EXPECT_STREQ(preset.group, want[p].group) << p;
        EXPECT_STREQ(preset.name, want[p].name) << p;
        for (unsigned id = 0; id < classic::parameterCount; ++id) {
            EXPECT_EQ(preset.values[id], want[p].values[id]) << preset.name << " id " << id;
            EXPECT_EQ(classic::normalize(classic::definitions[id], preset.values[id]),
                      preset.values[id])
                << preset.name << " id " << id << " must already be normal";
        }
    }
    EXPECT_EQ(presets[0].values, classic::defaultValues()) << "Studio Start is all defaults";
}

} // namespace dynamicstest

// The Opalin parameter table, value strings, model data and factory presets.

#include "dynamics_table_checks.h"

namespace dynamicstest {
namespace {

TEST(OpalinTables, ParameterTable) {
    expectTable({
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
    });
}

TEST(OpalinTables, ModelData) {
    EXPECT_EQ(classic::parameterCount, 10u);
    expectModel("Opalin", "Opal", 7, 8, 5, 9);
}

TEST(OpalinTables, OnlyMeterHasValueStrings) {
    expectCaptions({{7, {"GR", "Output"}}});
}

TEST(OpalinTables, FactoryPresets) {
    // Gain, Peak Reduction, Limit, Input Trim, Output Trim, Parallel Mix, Stereo Link, Meter,
    // Bypass, Analog Shimmer.
    expectPresets({
        {"Start", "Studio Start", {50, 25, 0, 0, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Gentle Vocal", {53, 40, 0, 0, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Held Lead", {58, 53, 0, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Rounded Bass", {55, 48, 0, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Steady Bass", {60, 58, 1, 0, 0, 100, 100, 0, 0, 0}},
        {"Acoustic", "Soft Leveling", {51, 33, 0, 0, 0, 100, 100, 0, 0, 0}},
        {"Drums", "Room Leveler", {56, 61, 0, 0, 0, 65, 100, 0, 0, 0}},
        {"Parallel", "Vocal Density", {63, 70, 0, 0, 0, 40, 100, 0, 0, 0}},
        {"Color", "Shimmer Air", {50, 0, 0, 0, 0, 100, 100, 0, 0, 28}},
    });
}

} // namespace
} // namespace dynamicstest

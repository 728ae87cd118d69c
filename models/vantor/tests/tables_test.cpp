// The Vantor parameter table, value strings, model data and factory presets.

#include "dynamics_table_checks.h"

namespace dynamicstest {
namespace {

TEST(VantorTables, ParameterTable) {
    expectTable({
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
    });
}

TEST(VantorTables, ModelData) {
    EXPECT_EQ(classic::parameterCount, 12u);
    expectModel("Vantor", "Vant", 8, 10, 6, 11);
}

TEST(VantorTables, ValueStrings) {
    expectCaptions({
        {2, {"0.1 ms", "0.3 ms", "1 ms", "3 ms", "10 ms", "30 ms"}},
        {3, {"100 ms", "300 ms", "600 ms", "1.2 s", "Auto"}},
        {4, {"2:1", "4:1", "10:1"}},
        {5, {"Off", "60 Hz", "90 Hz", "150 Hz", "300 Hz"}},
        {8, {"GR", "Output"}},
    });
}

TEST(VantorTables, FactoryPresets) {
    // Threshold, Makeup, Attack, Release, Ratio, Sidechain HP, Parallel Mix, Stereo Link,
    // Meter, Input Trim, Bypass, Analog Shimmer.
    expectPresets({
        {"Start", "Studio Start", {-12, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 0}},
        {"Mix Bus", "Open Glue", {-18, 1.5, 5, 4, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Mix Bus", "Gentle Glue", {-22, 2.5, 4, 4, 1, 2, 100, 100, 0, 0, 0, 0}},
        {"Drums", "Punch Bus", {-20, 4, 5, 1, 1, 0, 100, 100, 0, 0, 0, 0}},
        {"Drums", "Tight Crush", {-30, 8, 2, 0, 2, 0, 100, 100, 0, 0, 0, 0}},
        {"Bass", "Low-End Support", {-22, 3, 4, 2, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Vocals", "Vocal Bus", {-20, 3, 3, 1, 0, 0, 100, 100, 0, 0, 0, 0}},
        {"Parallel", "Attack and Weight", {-28, 7, 4, 0, 2, 0, 40, 100, 0, 0, 0, 0}},
        {"Color", "Subtle Shimmer", {20, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 20}},
    });
}

} // namespace
} // namespace dynamicstest

// The Mireth parameter table, value strings, model data and factory presets.

#include "dynamics_table_checks.h"

namespace dynamicstest {
namespace {

TEST(MirethTables, ParameterTable) {
    expectTable({
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
    });
}

TEST(MirethTables, ModelData) {
    EXPECT_EQ(classic::parameterCount, 10u);
    expectModel("Mireth", "Mire", 7, 8, 5, 9);
}

TEST(MirethTables, ValueStrings) {
    // The middle dot is U+00B7.
    expectCaptions({
        {2, {"1 \u00b7 Fast", "2", "3", "4", "5", "6 \u00b7 Slow"}},
        {3, {"Single", "Double", "Fast"}},
        {4, {"Off", "60 Hz", "120 Hz", "200 Hz"}},
        {7, {"GR", "Output"}},
    });
}

TEST(MirethTables, FactoryPresets) {
    // Input Trim, Output Trim, Recovery, Mode, Sidechain HP, Parallel Mix, Stereo Link, Meter,
    // Bypass, Analog Shimmer.
    expectPresets({
        {"Start", "Studio Start", {10, 0, 2, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Long Vocal Ride", {14, -2, 3, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Vocal Breathing", {12, -1, 1, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Long Notes", {18, -3, 4, 1, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Pulse Control", {15, -2, 0, 2, 0, 100, 100, 0, 0, 0}},
        {"Acoustic", "Sustain and Body", {8, -1, 2, 0, 0, 100, 100, 0, 0, 0}},
        {"Drums", "Room Hold", {23, -4, 1, 2, 0, 100, 100, 0, 0, 0}},
        {"Parallel", "Dense Leveler", {29, -6, 2, 1, 0, 40, 100, 0, 0, 0}},
        {"Color", "Warm Shimmer", {8, -1, 2, 1, 0, 100, 100, 0, 0, 30}},
    });
}

} // namespace
} // namespace dynamicstest

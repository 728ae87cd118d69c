// The Elvane parameter table, value strings, model data and factory presets.

#include "dynamics_table_checks.h"

namespace dynamicstest {
namespace {

TEST(ElvaneTables, ParameterTable) {
    expectTable({
        {"Input Trim", 0, 36, 10, "dB", 0, 0, 0},
        {"Output Trim", -36, 12, 0, "dB", 0, 0, 0},
        {"Mode", 0, 1, 1, "", 0, 1, 0},
        {"Sidechain HP", 0, 3, 0, "", 0, 1, 1},
        {"Parallel Mix", 0, 100, 100, "%", 0, 0, 1},
        {"Stereo Link", 0, 100, 100, "%", 0, 0, 1},
        {"Meter", 0, 1, 0, "", 0, 1, 0},
        {"Bypass", 0, 1, 0, "", 1, 0, 0},
        {"Analog Shimmer", 0, 100, 0, "%", 0, 0, 1},
    });
}

TEST(ElvaneTables, ModelData) {
    EXPECT_EQ(classic::parameterCount, 9u);
    expectModel("Elvane", "Elva", 6, 7, 4, 8);
}

TEST(ElvaneTables, ValueStrings) {
    expectCaptions({
        {2, {"Single", "Dual"}},
        {3, {"Off", "60 Hz", "120 Hz", "200 Hz"}},
        {6, {"GR", "Output"}},
    });
}

TEST(ElvaneTables, FactoryPresets) {
    // Input Trim, Output Trim, Mode, Sidechain HP, Parallel Mix, Stereo Link, Meter, Bypass,
    // Analog Shimmer.
    expectPresets({
        {"Start", "Studio Start", {10, 0, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Broadcast Lead", {13, -2, 1, 0, 100, 100, 0, 0, 0}},
        {"Vocals", "Single Recovery", {11, -1, 0, 0, 100, 100, 0, 0, 0}},
        {"Bass", "Broadcast Bass", {16, -3, 1, 0, 100, 100, 0, 0, 0}},
        {"Drums", "Room Clamp", {23, -5, 0, 0, 100, 100, 0, 0, 0}},
        {"Mix Bus", "Gentle Iron", {5, -1, 1, 2, 100, 100, 0, 0, 0}},
        {"Parallel", "Dense Broadcast", {28, -5, 1, 0, 35, 100, 0, 0, 0}},
        {"Color", "Tube Weight", {8, -1, 1, 0, 100, 100, 0, 0, 15}},
        {"Color", "Shimmer Broadcast", {8, -1, 1, 0, 100, 100, 0, 0, 35}},
    });
}

} // namespace
} // namespace dynamicstest

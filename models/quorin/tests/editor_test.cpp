// The Quorin editor: Gain and Output Trim as two large dials, Pad, Polarity and 3:1 Tap in the
// lower row, Input Trim among the DETAIL rows, and the level needle of the preamplifiers with
// Meter on Output at the start; the checks every further model's editor passes
// (models/tests/editor_checks.cpp) hold it to these expectations.

#include "editor_expectations.h"
#include "editor_harness.h"

#include <gtest/gtest.h>

const editortest::ExpectedEditor editortest::expected{
    .product = "KelvoQuorin",
    .dials = {{0, 350, 452, 240, 103, false}, {2, 870, 452, 240, 103, false}},
    .toggles = {{3, "Pad", CGRectMake(270, 654, 225, 48)},
                {4, "Polarity", CGRectMake(560, 654, 225, 48)},
                {5, "3:1 Tap", CGRectMake(850, 654, 225, 48)}},
    .sliders = {{1, "Input Trim", 0}, {6, "Parallel Mix", 0}, {9, "Analog Shimmer", 0}},
    .captions = {{0, "34.0 dB"},
                 {1, "-34.0 dB"},
                 {2, "0.0 dB"},
                 {6, "100.0 %"},
                 {7, "Output"},
                 {9, "0.0 %"}},
    .startValues = {34, -34, 0, 0, 0, 0, 100, 1, 0, 0},
    .legend = "DISCRETE TRANSFORMER PREAMPLIFIER",
    .badgeTile = {64, 422},
    .gainReduction = false,
    .meterTitles = {"METER \u00b7 INPUT", "METER \u00b7 OUTPUT"},
    .guideTitle = "KELVO QUORIN \u00b7 DISCRETE TRANSFORMER PREAMPLIFIER",
};

namespace {

TEST(QuorinEditor, TogglesLightIndependentlyEachAnEditOfItsOwn) {
    EditorHarness editor;
    auto click = [&](unsigned id) {
        const NSPoint centre = EditorHarness::centreOf(*editor.control(id));
        editor.mouse(NSEventTypeLeftMouseDown, centre);
        editor.mouse(NSEventTypeLeftMouseUp, centre);
    };
    click(3);
    click(5);
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 3", "value 3 1", "end 3",
                                                             "begin 5", "value 5 1", "end 5"}));
    EXPECT_EQ(editor.control<NSButton>(3)->state(), NSControlStateValueOn);
    EXPECT_EQ(editor.control<NSButton>(4)->state(), NSControlStateValueOff);
    EXPECT_EQ(editor.control<NSButton>(5)->state(), NSControlStateValueOn);
    EXPECT_EQ(editor.view->presetName(), NSString("Custom"));
    click(3);
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 3", "value 3 0", "end 3"}));
    EXPECT_EQ(editor.control<NSButton>(3)->state(), NSControlStateValueOff);
    EXPECT_EQ(editor.control<NSButton>(5)->state(), NSControlStateValueOn);
}

} // namespace

// The Opalin editor: two large dials, the Limit toggle in the lower row, five DETAIL rows and
// the gain-reduction needle; the checks every further model's editor passes
// (models/tests/editor_checks.cpp) hold it to these expectations.

#include "editor_expectations.h"
#include "editor_harness.h"

#include "help/help_texts.h"

#include <gtest/gtest.h>

const editortest::ExpectedEditor editortest::expected{
    .product = "KelvoOpalin",
    .dials = {{0, 350, 452, 240, 103, false}, {1, 870, 452, 240, 103, false}},
    .toggles = {{2, "Limit", CGRectMake(270, 654, 225, 48)}},
    .sliders = {{3, "Input Trim", 0},
                {4, "Output Trim", 0},
                {5, "Parallel Mix", 0},
                {6, "Stereo Link", 0},
                {9, "Analog Shimmer", 0}},
    // Gain and Peak Reduction have no unit text: their captions end in the blank.
    .captions = {{0, "50.0 "},
                 {1, "25.0 "},
                 {3, "0.0 dB"},
                 {4, "0.0 dB"},
                 {5, "100.0 %"},
                 {6, "100.0 %"},
                 {7, "GR"},
                 {9, "0.0 %"}},
    .startValues = {50, 25, 0, 0, 0, 100, 100, 0, 0, 0},
    .legend = "OPTICAL LEVELING AMPLIFIER",
    .badgeTile = {64, 140},
    .gainReduction = true,
    .meterTitles = {"METER \u00b7 GR", "METER \u00b7 OUTPUT"},
    .guideTitle = "KELVO OPALIN \u00b7 OPTICAL LEVELING AMPLIFIER",
};

namespace {

TEST(OpalinEditor, LimitToggleIsOneEditWithItsOwnHelp) {
    EditorHarness editor;
    auto* limit = editor.control<NSButton>(2);
    const NSPoint centre = EditorHarness::centreOf(*limit);
    editor.mouse(NSEventTypeLeftMouseDown, centre);
    editor.mouse(NSEventTypeLeftMouseUp, centre);
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 2", "value 2 1", "end 2"}));
    EXPECT_EQ(limit->state(), NSControlStateValueOn);
    EXPECT_EQ(editor.view->presetName(), NSString("Custom"));
    EXPECT_STREQ(editor.view->helpForControl(limit), parameterHelpText(2));
    EXPECT_NE(std::string(parameterHelpText(2)).find("Limit selects a firmer"), std::string::npos);
}

} // namespace

// The Vantor editor: six dials in two rows of three (Attack, Release, Ratio and Sidechain HP
// stepped), no toggles, and DETAIL rows around the Meter (8) and Bypass (10) IDs, with Input
// Trim (9) between them as the third row; the gain-reduction needle. The checks every further
// model's editor passes (models/tests/editor_checks.cpp) hold it to these expectations.

#include "editor_expectations.h"
#include "editor_harness.h"

#include <gtest/gtest.h>

const editortest::ExpectedEditor editortest::expected{
    .product = "KelvoVantor",
    .dials = {{0, 270, 350, 124, 52, false},
              {1, 680, 350, 124, 52, false},
              {2, 1090, 350, 124, 52, true},
              {3, 270, 590, 124, 52, true},
              {4, 680, 590, 124, 52, true},
              {5, 1090, 590, 124, 52, true}},
    .toggles = {},
    .sliders = {{6, "Parallel Mix", 0},
                {7, "Stereo Link", 0},
                {9, "Input Trim", 0},
                {11, "Analog Shimmer", 0}},
    .captions = {{0, "-12.0 dB"},
                 {1, "0.0 dB"},
                 {2, "10 ms"},
                 {3, "Auto"},
                 {4, "4:1"},
                 {5, "Off"},
                 {6, "100.0 %"},
                 {7, "100.0 %"},
                 {8, "GR"},
                 {9, "0.0 dB"},
                 {11, "0.0 %"}},
    .startValues = {-12, 0, 4, 4, 1, 0, 100, 100, 0, 0, 0, 0},
    .legend = "STEREO VCA BUS COMPRESSOR",
    .badgeTile = {800, 140},
    .gainReduction = true,
    .meterTitles = {"METER \u00b7 GR", "METER \u00b7 OUTPUT"},
    .guideTitle = "KELVO VANTOR \u00b7 STEREO VCA BUS COMPRESSOR",
};

namespace {

TEST(VantorEditor, InputTrimBetweenMeterAndBypassIsAnOrdinaryRow) {
    EditorHarness editor;
    auto visible = [&](unsigned id) { return !editor.control(id)->isHidden(); };
    EXPECT_FALSE(visible(9));
    editor.view->detail(nullptr);
    EXPECT_TRUE(visible(9));
    EXPECT_TRUE(visible(8));
    EXPECT_TRUE(visible(10));
    EXPECT_EQ(dynamic_cast<NSSlider*>(editor.control(8)), nullptr);
    EXPECT_EQ(dynamic_cast<NSSlider*>(editor.control(10)), nullptr);
}

} // namespace

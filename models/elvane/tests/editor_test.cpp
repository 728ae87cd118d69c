// The Elvane editor: nine parameters, three dials in one row (Mode a two-step dial), no
// toggles, Sidechain HP as the first, stepped, DETAIL row and the gain-reduction needle; the
// checks every further model's editor passes (models/tests/editor_checks.cpp) hold it to
// these expectations.

#include "editor_expectations.h"
#include "editor_harness.h"

#include "help/help_texts.h"

#include <gtest/gtest.h>

const editortest::ExpectedEditor editortest::expected{
    .product = "KelvoElvane",
    .dials = {{0, 270, 452, 190, 80, false},
              {1, 680, 452, 190, 80, false},
              {2, 1090, 452, 190, 80, true}},
    .toggles = {},
    .sliders = {{3, "Sidechain HP", 4},
                {4, "Parallel Mix", 0},
                {5, "Stereo Link", 0},
                {8, "Analog Shimmer", 0}},
    .captions = {{0, "10.0 dB"},
                 {1, "0.0 dB"},
                 {2, "Dual"},
                 {3, "Off"},
                 {4, "100.0 %"},
                 {5, "100.0 %"},
                 {6, "GR"},
                 {8, "0.0 %"}},
    .startValues = {10, 0, 1, 0, 100, 100, 0, 0, 0},
    .legend = "VARIABLE-MU BROADCAST LIMITER",
    .badgeTile = {64, 704},
    .gainReduction = true,
    .meterTitles = {"METER \u00b7 GR", "METER \u00b7 OUTPUT"},
    .guideTitle = "KELVO ELVANE \u00b7 VARIABLE-MU BROADCAST LIMITER",
};

namespace {

TEST(ElvaneEditor, TagNineIsPastTheTable) {
    // Elvane has nine parameters: 9 already takes the general text, 8 is Analog Shimmer's.
    EXPECT_STREQ(parameterHelpText(9), generalHelpText);
    EXPECT_NE(std::string(parameterHelpText(8)).find("Analog Shimmer"), std::string::npos);
}

} // namespace

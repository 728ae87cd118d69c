// The Mireth editor: four dials in a two-by-two block (Recovery and Mode stepped), no toggles,
// Sidechain HP as the first, stepped, DETAIL row and the gain-reduction needle; the checks
// every further model's editor passes (models/tests/editor_checks.cpp) hold it to these
// expectations.

#include "editor_expectations.h"
#include "editor_harness.h"

#include <gtest/gtest.h>

const editortest::ExpectedEditor editortest::expected{
    .product = "KelvoMireth",
    .dials = {{0, 350, 350, 124, 52, false},
              {1, 890, 350, 124, 52, false},
              {2, 350, 590, 124, 52, true},
              {3, 890, 590, 124, 52, true}},
    .toggles = {},
    .sliders = {{4, "Sidechain HP", 4},
                {5, "Parallel Mix", 0},
                {6, "Stereo Link", 0},
                {9, "Analog Shimmer", 0}},
    .captions = {{0, "10.0 dB"},
                 {1, "0.0 dB"},
                 {2, "3"},
                 {3, "Double"},
                 {4, "Off"},
                 {5, "100.0 %"},
                 {6, "100.0 %"},
                 {7, "GR"},
                 {9, "0.0 %"}},
    .startValues = {10, 0, 2, 1, 0, 100, 100, 0, 0, 0},
    .legend = "REMOTE-CUTOFF TUBE LEVELER",
    .badgeTile = {800, 704},
    .gainReduction = true,
    .meterTitles = {"METER \u00b7 GR", "METER \u00b7 OUTPUT"},
    .guideTitle = "KELVO MIRETH \u00b7 REMOTE-CUTOFF TUBE LEVELER",
};

namespace {

TEST(MirethEditor, RecoveryCaptionsNameTheEnds) {
    EditorHarness editor;
    const char* captions[] = {"1 \u00b7 Fast", "2", "3", "4", "5", "6 \u00b7 Slow"};
    for (unsigned step = 0; step < 6; ++step) {
        editor.state().values[2] = static_cast<float>(step);
        EXPECT_EQ(editor.view->formatted(2), NSString(captions[step]));
    }
}

} // namespace

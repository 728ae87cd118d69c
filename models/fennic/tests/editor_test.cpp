// The Fennic editor: knobs over the photograph, the ratio column with its Shift-click to All
// Buttons, the meter-mode column and where each mode drives the needle, DETAIL mode, INIT and
// the faceplate's readouts and needle.

#include "rack_editor_support.h"
#include "recording.h"

#include "editor/plate_fennic.h"
#include "help/help_texts.h"
#include "testing/allocation_counter.h"
#include "toolkit/iron.h"

#include <AppKit/AppKitHost.h>

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace {

using editortest::lastPoint;
using editortest::Recording;
using racktest::expectFrame;
using racktest::inView;

class FennicEditor : public ::testing::Test {
protected:
    EditorHarness editor;
    KelvoView& view() { return *editor.view; }
    FaceplateSelectors& selectors() { return racktest::selectors(view()); }

    void click(const KelvoButton& button, NSEventModifierFlags flags = 0) {
        const NSPoint at = EditorHarness::centreOf(button);
        editor.mouse(NSEventTypeLeftMouseDown, at, 1, flags);
        editor.mouse(NSEventTypeLeftMouseUp, at, 1, flags);
    }
    // The lamps of a column, lit or dark, top to bottom.
    static std::vector<bool> lamps(const std::vector<std::shared_ptr<KelvoButton>>& buttons) {
        std::vector<bool> lit;
        for (const std::shared_ptr<KelvoButton>& button : buttons) {
            lit.push_back(button->lit());
        }
        return lit;
    }
    double settle() {
        for (int i = 0; i < 120; ++i) {
            view().refresh();
        }
        return view().needlePosition();
    }
};

TEST_F(FennicEditor, SubviewsInCreationOrder) {
    EXPECT_EQ(racktest::subviewNames(view()),
              (std::vector<std::string>{"INIT",
                                        "BYPASS",
                                        "DETAIL",
                                        "GUIDE",
                                        "?",
                                        "PRESETS \u00b7 Studio Start  \u25be",
                                        "UI Size",
                                        "Input",
                                        "Output",
                                        "Attack",
                                        "Release",
                                        "20",
                                        "12",
                                        "8",
                                        "4",
                                        "ALL",
                                        "GR",
                                        "+8",
                                        "+4",
                                        "OFF",
                                        "slider Mix",
                                        "slider Analog Shimmer",
                                        "slider Stereo Link"}));
    EXPECT_FALSE(view().controlsById().contains(4));
    EXPECT_FALSE(view().controlsById().contains(5));
    EXPECT_EQ(editor.control(8)->accessibilityLabel(), NSString("BYPASS"));
    const int ratioTags[] = {3, 2, 1, 0, 4};
    for (int k = 0; k < 5; ++k) {
        const KelvoButton& button = *selectors().ratioButtonList()[k];
        EXPECT_EQ(button.tag(), ratioTags[k]);
        expectFrame(button, CGRectMake(1003, 304 + 72.5 * k, 112, 51));
        EXPECT_EQ(button.toolTip(), NSString("Select ratio; Shift-click for All Buttons mode."));
        EXPECT_FALSE(button.customFace);
    }
    for (int k = 0; k < 4; ++k) {
        const KelvoButton& button = *selectors().meterButtonList()[k];
        EXPECT_EQ(button.tag(), k);
        expectFrame(button, CGRectMake(1746, 305 + 81 * k, 120, 59));
        EXPECT_FALSE(button.customFace);
    }
    // Defaults: ratio "4" (4:1) and "GR" lit.
    EXPECT_EQ(lamps(selectors().ratioButtonList()),
              (std::vector<bool>{false, false, false, true, false}));
    EXPECT_EQ(lamps(selectors().meterButtonList()), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(view().needlePosition(), 0) << "the needle starts at 0 VU";
}

TEST_F(FennicEditor, RatioButtonsAndShiftClickForAllButtons) {
    const auto& ratio = selectors().ratioButtonList();
    struct Case {
        int button;
        bool shift;
        float selected;
        std::vector<bool> lit;
    };
    const Case cases[] = {
        {0, false, 3, {true, false, false, false, false}}, // "20"
        {3, false, 0, {false, false, false, true, false}}, // "4"
        {0, true, 4, {true, true, true, true, true}},      // Shift on "20": All Buttons
        {2, false, 1, {false, false, true, false, false}}, // "8"
        {3, true, 4, {true, true, true, true, true}},      // Shift on "4" as well
        {4, false, 4, {true, true, true, true, true}},     // "ALL" by its tag
    };
    for (const Case& c : cases) {
        editor.takeEvents();
        click(*ratio[c.button],
              c.shift ? static_cast<NSEventModifierFlags>(NSEventModifierFlagShift) : 0);
        EXPECT_EQ(editor.state().values[4], c.selected) << c.button << c.shift;
        EXPECT_EQ(lamps(ratio), c.lit) << c.button << c.shift;
        char value[32];
        std::snprintf(value, sizeof value, "value 4 %g", static_cast<double>(c.selected));
        EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 4", value, "end 4"}));
    }
    EXPECT_EQ(view().presetName(), NSString("Studio Start"));
    EXPECT_STREQ(view().helpAtPoint(racktest::inView(1059, 329)), actionHelpText("ratio:"));
    EXPECT_STREQ(view().helpAtPoint(racktest::inView(1806, 335)), actionHelpText("meter:"));
}

TEST_F(FennicEditor, MeterModesDriveTheNeedle) {
    // Output RMS -18 dBFS on the louder channel, 30 dB of gain reduction on one side.
    struct Case {
        int button;
        std::array<float, 8> meters;
        double target;
    };
    const Case cases[] = {
        {0, {-100, -100, -30, -18, 0, 0, 0, 0}, 0},    // GR, no reduction: rests at 0
        {0, {-100, -100, -30, -18, 5, 2, 0, 0}, -5},   // GR swings left by the reduction
        {0, {-100, -100, -30, -18, 30, 0, 0, 0}, -24}, // and clamps
        {1, {-100, -100, -30, -18, 0, 0, 0, 0}, -4},   // +8: 0 VU at -14 dBFS
        {2, {-100, -100, -30, -18, 0, 0, 0, 0}, 0},    // +4: 0 VU at -18 dBFS
        {3, {-100, -100, 0, 0, 0, 0, 0, 0}, -24},      // OFF
    };
    for (const Case& c : cases) {
        editor.state().meter = c.meters;
        click(*selectors().meterButtonList()[c.button]);
        EXPECT_EQ(editor.state().values[5], static_cast<float>(c.button));
        std::vector<bool> lit(4, false);
        lit[c.button] = true;
        EXPECT_EQ(lamps(selectors().meterButtonList()), lit);
        EXPECT_NEAR(settle(), c.target, 1e-6) << c.button;
    }
    EXPECT_EQ(view().presetName(), NSString("Studio Start"));
}

TEST_F(FennicEditor, DetailShowsMixStereoLinkShimmerAndKeepsTheMeterColumn) {
    view().detail(nullptr);
    const unsigned sliders[] = {6, 7, 9};
    for (int k = 0; k < 3; ++k) {
        EXPECT_FALSE(editor.control(sliders[k])->isHidden());
        expectFrame(*editor.control(sliders[k]), CGRectMake(420, 330 + 100 * k, 680, 27));
    }
    for (unsigned id = 0; id < 4; ++id) {
        EXPECT_TRUE(editor.control(id)->isHidden()) << id;
    }
    for (const auto& button : selectors().ratioButtonList()) {
        EXPECT_TRUE(button->isHidden());
    }
    for (const auto& button : selectors().meterButtonList()) {
        EXPECT_FALSE(button->isHidden());
    }
    EXPECT_FALSE(editor.control(8)->isHidden());
    click(*selectors().meterButtonList()[3]);
    EXPECT_EQ(editor.state().values[5], 3.0f) << "usable in DETAIL mode";

    Recording recording({1500, 599.8487140695914});
    view().drawRect(view().bounds());
    const char* rows[] = {"Mix", "Stereo Link", "Analog Shimmer"};
    for (int k = 0; k < 3; ++k) {
        const CGRecordedOperation* op = recording.text(rows[k]);
        ASSERT_NE(op, nullptr) << rows[k];
        EXPECT_NEAR(op->bounds.origin.y, 330 + 100 * k, 1e-9);
    }
}

TEST_F(FennicEditor, InitSendsTenTriplesAndTheReadoutsShowTheStart) {
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        editor.state().values[id] = classic::definitions[id].maximum;
    }
    editor.takeEvents();
    view().initialize(nullptr);
    const std::vector<std::string> events = editor.takeEvents();
    ASSERT_EQ(events.size(), 30u);
    const char* values[] = {"value 0 24", "value 1 24",  "value 2 3",   "value 3 5", "value 4 0",
                            "value 5 0",  "value 6 100", "value 7 100", "value 8 0", "value 9 0"};
    for (unsigned id = 0; id < 10; ++id) {
        EXPECT_EQ(events[3 * id], "begin " + std::to_string(id));
        EXPECT_EQ(events[3 * id + 1], values[id]);
        EXPECT_EQ(events[3 * id + 2], "end " + std::to_string(id));
    }
    EXPECT_EQ(view().presetName(), NSString("Studio Start"));

    Recording recording({1500, 599.8487140695914});
    view().drawRect(view().bounds());
    const CGRecordedOperation* input = recording.text("24.0", 0);
    const CGRecordedOperation* output = recording.text("24.0", 1);
    ASSERT_NE(input, nullptr);
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(CGRectEqualToRect(input->bounds, CGRectMake(201, 615, 104, 40)));
    EXPECT_TRUE(CGRectEqualToRect(output->bounds, CGRectMake(514, 615, 104, 40)));
    EXPECT_EQ(input->fontSize, 29);
    EXPECT_NE(recording.text("KELVO ORVELLA \u00b7 1.0.0"), nullptr);
}

TEST_F(FennicEditor, NeedleInThePhotographsMeterDimmedInMeterOff) {
    // At rest in GR mode the needle points at 0, in the photograph's own coordinates.
    auto needle = [&](Recording& recording) -> const CGRecordedOperation* {
        for (const CGRecordedOperation* op : recording.of(CGRecordedKind::stroke)) {
            if (op->lineWidth == 1.8) {
                return op;
            }
        }
        return nullptr;
    };
    auto dimmed = [&](Recording& recording) {
        for (const CGRecordedOperation* op : recording.of(CGRecordedKind::fill)) {
            if (op->color.alpha == 0.56 && op->bounds.origin.x == 1198) {
                return true;
            }
        }
        return false;
    };
    {
        Recording recording({1500, 599.8487140695914});
        view().drawRect(view().bounds());
        const CGRecordedOperation* op = needle(recording);
        ASSERT_NE(op, nullptr);
        EXPECT_NEAR(lastPoint(op->path).x, 1556, 1e-9);
        EXPECT_NEAR(lastPoint(op->path).y, 401, 1e-9);
        EXPECT_FALSE(dimmed(recording));
    }
    click(*selectors().meterButtonList()[3]);
    Recording recording({1500, 599.8487140695914});
    view().drawRect(view().bounds());
    EXPECT_TRUE(dimmed(recording));
}

TEST_F(FennicEditor, KnobsDrawOnlyTheirPointerOverThePhotograph) {
    auto* input = editor.control<KelvoDial>(0);
    Recording recording({1500, 599.8487140695914});
    input->drawRect(input->bounds());
    const auto images = recording.of(CGRecordedKind::image);
    ASSERT_EQ(images.size(), 1u) << "the photograph's crop, no knob body";
    EXPECT_EQ(images[0]->imageObject, iron::plateFennic().get());
    EXPECT_TRUE(recording.of(CGRecordedKind::fill).empty()) << "no body disc";
    EXPECT_EQ(recording.of(CGRecordedKind::stroke).size(), 2u) << "pointer and its shadow";
}

TEST_F(FennicEditor, PollAllocatesNothing) {
    editor.state().meter = {-20, -20, -20, -20, 3, 3, -10, -10};
    view().refresh(); // titles settle
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 30; ++i) {
        view().refresh();
    }
    EXPECT_EQ(scope.count(), 0u);
}

} // namespace

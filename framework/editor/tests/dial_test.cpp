// The dial through the window, as a user drives it: drags, double clicks, the wheel, arrow
// keys and accessibility, and what the host sees of each edit.

#include "editor_harness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr unsigned gain = 0;  // stepped 0..4, default 2
constexpr unsigned level = 1; // continuous 0..10, default 5

std::vector<std::string> bracket(unsigned id, std::initializer_list<double> values) {
    std::vector<std::string> lines{"begin " + std::to_string(id)};
    for (double v : values) {
        char text[64];
        std::snprintf(text, sizeof text, "value %u %g", id, v);
        lines.emplace_back(text);
    }
    lines.push_back("end " + std::to_string(id));
    return lines;
}

class DialTest : public ::testing::Test {
protected:
    EditorHarness editor;
    KelvoDial& dial(unsigned id) { return *editor.control<KelvoDial>(id); }
    NSPoint centre(unsigned id) { return EditorHarness::centreOf(dial(id)); }
};

TEST_F(DialTest, DragOf105PointsUpMovesHalfTheRangeInOneGesture) {
    editor.drag(centre(level), 0, -105, 0, 3);
    EXPECT_DOUBLE_EQ(editor.state().values[level], 10.0f);
    // 5 + 105/210 of the range 10, reached in three steps of 35 points.
    EXPECT_EQ(editor.takeEvents(), bracket(level, {5 + 35.0 / 21, 5 + 70.0 / 21, 10}));
    EXPECT_EQ(editor.view->activeParameter(), -1);
}

TEST_F(DialTest, ShiftDragMovesSixHundredthsOfTheRange) {
    editor.drag(centre(level), 0, -105, NSEventModifierFlagShift, 1);
    EXPECT_NEAR(editor.state().values[level], 5 + 0.06 * 10, 1e-5);
}

TEST_F(DialTest, DragBeyondTheRangeStopsAndComesBackFromTheStartPoint) {
    const NSPoint from = centre(level);
    editor.mouse(NSEventTypeLeftMouseDown, from);
    editor.mouse(NSEventTypeLeftMouseDragged, {from.x, from.y - 300});
    EXPECT_EQ(dial(level).doubleValue(), 10);
    // Back to 150 points above the start: still beyond the top, so still the limit.
    editor.mouse(NSEventTypeLeftMouseDragged, {from.x, from.y - 150});
    EXPECT_EQ(dial(level).doubleValue(), 10);
    editor.mouse(NSEventTypeLeftMouseDragged, {from.x, from.y - 21});
    EXPECT_NEAR(dial(level).doubleValue(), 6, 1e-9);
    editor.mouse(NSEventTypeLeftMouseUp, {from.x, from.y - 21});
}

TEST_F(DialTest, SteppedDialRoundsAfterClamping) {
    // Range 0..4 over 210 points: 52.5 points per step. From 2, up 26.25 points computes 2.5.
    editor.drag(centre(gain), 0, -26.25, 0, 1);
    EXPECT_EQ(dial(gain).doubleValue(), 3);
    editor.drag(centre(gain), 0, 3 * 52.5 + 21, 0, 1); // computes -0.4
    EXPECT_EQ(dial(gain).doubleValue(), 0);
}

TEST_F(DialTest, DoubleClickRestoresTheDefault) {
    editor.drag(centre(level), 0, -42, 0, 1);
    editor.takeEvents();
    editor.mouse(NSEventTypeLeftMouseDown, centre(level), 1);
    editor.mouse(NSEventTypeLeftMouseUp, centre(level), 1);
    editor.mouse(NSEventTypeLeftMouseDown, centre(level), 2);
    editor.mouse(NSEventTypeLeftMouseUp, centre(level), 2);
    EXPECT_EQ(editor.state().values[level], 5.0f);
    // The first click's empty bracket, then the reset in a bracket of its own.
    std::vector<std::string> expected{"begin 1", "end 1"};
    for (const std::string& line : bracket(level, {5})) {
        expected.push_back(line);
    }
    EXPECT_EQ(editor.takeEvents(), expected);
}

struct StepCase {
    const char* name;
    unsigned id;
    bool wheel;
    double amount; // wheel delta, or +1/-1 for the up/down arrow
    double expected;
};

class DialStepTest : public DialTest, public ::testing::WithParamInterface<StepCase> {};

TEST_P(DialStepTest, StepsInOneBracket) {
    const StepCase& c = GetParam();
    if (c.wheel) {
        editor.wheel(centre(c.id), c.amount);
    } else {
        editor.window->makeFirstResponder(&dial(c.id));
        editor.key(c.amount > 0 ? 126 : 125);
    }
    EXPECT_NEAR(dial(c.id).doubleValue(), c.expected, 1e-9);
    EXPECT_EQ(editor.takeEvents(), bracket(c.id, {c.expected}));
}

INSTANTIATE_TEST_SUITE_P(
    WheelAndKeys, DialStepTest,
    ::testing::Values(StepCase{"wheel_continuous", level, true, 3, 5 + 3 * 10.0 / 150},
                      StepCase{"wheel_stepped", gain, true, 1, 3},
                      // 2.3 rounds back to 2: nothing changes, but the bracket is still sent.
                      StepCase{"wheel_stepped_small", gain, true, 0.3, 2},
                      StepCase{"arrow_up_continuous", level, false, 1, 5.1},
                      StepCase{"arrow_down_stepped", gain, false, -1, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DialTest, OtherKeysPassToTheResponderChain) {
    editor.window->makeFirstResponder(&dial(level));
    editor.key(0); // 'a'
    EXPECT_TRUE(editor.takeEvents().empty());
}

TEST_F(DialTest, WheelDuringADragStaysInsideTheDragsBracket) {
    const NSPoint from = centre(level);
    editor.mouse(NSEventTypeLeftMouseDown, from);
    editor.wheel(from, 15); // +1 of the range 0..10
    editor.mouse(NSEventTypeLeftMouseDragged, {from.x, from.y - 21});
    editor.window->makeFirstResponder(&dial(level));
    editor.key(126); // +0.1
    editor.mouse(NSEventTypeLeftMouseUp, {from.x, from.y - 21});
    // One bracket; the drag carries on from the stepped value.
    EXPECT_EQ(editor.takeEvents(), bracket(level, {6, 7, 7.1}));
}

TEST_F(DialTest, AccessibilityValueSetIsOneBracket) {
    dial(level).setAccessibilityValue(NSNumber::numberWithDouble(7.25));
    EXPECT_EQ(editor.takeEvents(), bracket(level, {7.25}));
    EXPECT_EQ(dial(level).accessibilityRole(), NSAccessibilitySliderRole);
    EXPECT_EQ(NSNumber::cast(dial(level).accessibilityValue()).doubleValue(), 7.25);
}

TEST_F(DialTest, AccessibilityValueWithoutAFiniteNumberIsIgnored) {
    dial(level).setAccessibilityValue(NSString("loud"));
    dial(level).setAccessibilityValue(NSNumber::numberWithDouble(NAN));
    dial(level).setAccessibilityValue(NSNumber::numberWithDouble(INFINITY));
    dial(level).setAccessibilityValue(nullptr);
    EXPECT_TRUE(editor.takeEvents().empty());
    EXPECT_EQ(editor.state().values[level], 5.0f);
}

TEST_F(DialTest, RemovingTheViewDuringADragEndsTheGesture) {
    editor.mouse(NSEventTypeLeftMouseDown, centre(level));
    editor.view->removeFromSuperview();
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 1", "end 1"}));
    EXPECT_EQ(editor.view->activeParameter(), -1);
}

TEST_F(DialTest, ResignActiveDuringADragEndsTheGesture) {
    editor.mouse(NSEventTypeLeftMouseDown, centre(level));
    NSNotificationCenter::defaultCenter()->postNotificationName(
        NSApplicationDidResignActiveNotification, nullptr);
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 1", "end 1"}));
}

TEST(DialRing, MiddleOfARingLetsClicksThrough) {
    auto parent = std::make_shared<NSView>(CGRectMake(0, 0, 200, 200));
    auto ring = std::make_shared<KelvoDial>(CGRectMake(0, 0, 100, 100));
    ring->ring = true;
    parent->addSubview(ring);
    EXPECT_EQ(ring->hitTest({50 + 28, 50}), nullptr); // 28 < 0.29 * 100
    EXPECT_EQ(ring->hitTest({50 + 30, 50}), ring.get());
    ring->ring = false;
    EXPECT_EQ(ring->hitTest({50, 50}), ring.get());
}

} // namespace

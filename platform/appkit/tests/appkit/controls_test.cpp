// Buttons, sliders and pop-up buttons: tracking, state, target and action.

#include <AppKit/AppKit.h>
#include <AppKit/ScriptedUserInterface.h>

#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class Target : public NSObject {
public:
    void changed(NSObject* sender) { senders.push_back(sender); }
    void resizeUI(NSObject* sender) { resized.push_back(sender); }
    std::vector<NSObject*> senders;
    std::vector<NSObject*> resized;
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_shared<NSWindow>(NSMakeRect(0, 0, 400, 200), 11, NSBackingStoreBuffered,
                                            false);
        target = std::make_shared<Target>();
    }
    void TearDown() override { appkit::setUserInterfaceHost(nullptr); }
    void mouse(NSEventType type, NSPoint p) {
        NSEvent e = NSEvent::mouseEventWithType(type, p, 0, 0, 0, 1);
        window->sendEvent(&e);
    }
    void click(NSPoint p) {
        mouse(NSEventTypeLeftMouseDown, p);
        mouse(NSEventTypeLeftMouseUp, p);
    }
    std::shared_ptr<NSWindow> window;
    std::shared_ptr<Target> target;
};

TEST_F(Controls, PushOnPushOffToggleHighlightsWhilePressedAndActsOnRelease) {
    auto button = std::make_shared<NSButton>(NSMakeRect(10, 10, 100, 40));
    button->setButtonType(NSButtonTypePushOnPushOff);
    button->setTarget(target);
    button->setAction(SELECTOR(Target, changed));
    window->contentView()->addSubview(button);
    mouse(NSEventTypeLeftMouseDown, {50, 30});
    EXPECT_TRUE(button->isHighlighted());
    EXPECT_EQ(button->state(), NSControlStateValueOff);
    EXPECT_TRUE(target->senders.empty());
    mouse(NSEventTypeLeftMouseDragged, {300, 150}); // outside: the highlight goes
    EXPECT_FALSE(button->isHighlighted());
    mouse(NSEventTypeLeftMouseDragged, {60, 30});
    EXPECT_TRUE(button->isHighlighted());
    mouse(NSEventTypeLeftMouseUp, {60, 30});
    EXPECT_FALSE(button->isHighlighted());
    EXPECT_EQ(button->state(), NSControlStateValueOn);
    ASSERT_EQ(target->senders.size(), 1u);
    EXPECT_EQ(target->senders[0], button.get());
    EXPECT_EQ(button->doubleValue(), 1);
    click({50, 30});
    EXPECT_EQ(button->state(), NSControlStateValueOff);
}

TEST_F(Controls, MomentaryButtonKeepsItsStateAndReleaseOutsideSendsNothing) {
    auto button = std::make_shared<NSButton>(NSMakeRect(10, 10, 100, 40));
    button->setTarget(target);
    button->setAction(SELECTOR(Target, changed));
    window->contentView()->addSubview(button);
    EXPECT_EQ(button->buttonType(), NSButtonTypeMomentaryPushIn);
    click({50, 30});
    EXPECT_EQ(button->state(), NSControlStateValueOff);
    EXPECT_EQ(target->senders.size(), 1u);
    mouse(NSEventTypeLeftMouseDown, {50, 30});
    mouse(NSEventTypeLeftMouseUp, {300, 150});
    EXPECT_EQ(target->senders.size(), 1u);
}

TEST_F(Controls, TheTargetIsWeakAndTheActionKeepsItsName) {
    auto button = std::make_shared<NSButton>(NSMakeRect(10, 10, 100, 40));
    button->setTag(12);
    button->setAction(SELECTOR(Target, changed));
    EXPECT_EQ(button->tag(), 12);
    EXPECT_STREQ(button->action().name, "changed:");
    {
        auto shortLived = std::make_shared<Target>();
        button->setTarget(shortLived);
    }
    EXPECT_EQ(button->target(), nullptr);
    EXPECT_FALSE(button->sendAction(button->action(), nullptr));
    EXPECT_TRUE(button->sendAction(button->action(), target.get()));
    EXPECT_EQ(target->senders.size(), 1u);
    NSObject stranger; // not a Target: the action cannot be performed on it
    EXPECT_FALSE(button->sendAction(button->action(), &stranger));
}

TEST_F(Controls, SliderClampsSnapsToTicksAndSendsItsAction) {
    auto slider = std::make_shared<NSSlider>(NSMakeRect(0, 0, 220, 20));
    slider->setMinValue(0);
    slider->setMaxValue(4);
    slider->setNumberOfTickMarks(5);
    slider->setAllowsTickMarkValuesOnly(true);
    slider->setTarget(target);
    slider->setAction(SELECTOR(Target, changed));
    window->contentView()->addSubview(slider);
    EXPECT_EQ(slider->tickMarkValueAtIndex(2), 2);
    EXPECT_EQ(slider->closestTickMarkValueToValue(2.6), 3);
    slider->setDoubleValue(9);
    EXPECT_EQ(slider->doubleValue(), 4);
    slider->setDoubleValue(1.3); // from code: not snapped
    EXPECT_EQ(slider->doubleValue(), 1.3);
    // The knob travels from x 10 to x 210: x 110 is the middle.
    click({112, 10});
    EXPECT_EQ(slider->doubleValue(), 2);
    EXPECT_FALSE(target->senders.empty());
    EXPECT_EQ(target->senders.back(), slider.get());
    mouse(NSEventTypeLeftMouseDown, {0, 10});
    mouse(NSEventTypeLeftMouseDragged, {400, 10});
    mouse(NSEventTypeLeftMouseUp, {400, 10});
    EXPECT_EQ(slider->doubleValue(), 4);
}

TEST_F(Controls, ContinuousSliderWithoutTicksFollowsTheMouse) {
    auto slider = std::make_shared<NSSlider>(NSMakeRect(0, 0, 220, 20));
    slider->setMinValue(-36);
    slider->setMaxValue(12);
    window->contentView()->addSubview(slider);
    click({60, 10});
    EXPECT_NEAR(slider->doubleValue(), -36 + 48 * 0.25, 1e-9);
}

TEST_F(Controls, SliderAccessibilityValueIgnoresNonNumbers) {
    auto slider = std::make_shared<NSSlider>(NSMakeRect(0, 0, 220, 20));
    slider->setMaxValue(100);
    slider->setTarget(target);
    slider->setAction(SELECTOR(Target, changed));
    EXPECT_EQ(slider->accessibilityRole(), NSAccessibilitySliderRole);
    slider->setAccessibilityValue(NSNumber::numberWithDouble(40));
    EXPECT_EQ(NSNumber::cast(slider->accessibilityValue()).doubleValue(), 40);
    slider->setAccessibilityValue(NSString("50"));
    slider->setAccessibilityValue(NSNumber::numberWithDouble(INFINITY));
    EXPECT_EQ(slider->doubleValue(), 40);
    EXPECT_EQ(target->senders.size(), 1u);
}

TEST_F(Controls, PopUpButtonSelectsTheChosenItemAndSendsItsAction) {
    auto host = std::make_shared<appkit::ScriptedUserInterface>();
    appkit::setUserInterfaceHost(host);
    auto popup = std::make_shared<NSPopUpButton>(NSMakeRect(10, 10, 150, 24), false);
    popup->addItemsWithTitles({"UI 75%", "UI 85%", "UI 100%"});
    popup->selectItemAtIndex(2);
    popup->setTarget(target);
    popup->setAction(SELECTOR(Target, resizeUI));
    window->contentView()->addSubview(popup);
    EXPECT_EQ(popup->numberOfItems(), 3);
    host->queueMenuAnswer("UI 75%");
    click({50, 20});
    EXPECT_EQ(popup->indexOfSelectedItem(), 0);
    EXPECT_EQ(popup->titleOfSelectedItem(), NSString("UI 75%"));
    ASSERT_EQ(target->resized.size(), 1u);
    EXPECT_EQ(target->resized[0], popup.get());
    host->queueMenuAnswer(appkit::ScriptedUserInterface::kCancel);
    click({50, 20});
    EXPECT_EQ(popup->indexOfSelectedItem(), 0);
    EXPECT_EQ(target->resized.size(), 1u);
    ASSERT_EQ(host->menusShown.size(), 2u);
    EXPECT_EQ(host->menusShown[0], "UI 75%\nUI 85%\nUI 100%\n");
    popup->selectItemAtIndex(7);
    EXPECT_EQ(popup->indexOfSelectedItem(), -1);
}

TEST_F(Controls, ButtonValueIsItsState) {
    NSButton button(NSMakeRect(0, 0, 10, 10));
    button.setDoubleValue(1);
    EXPECT_EQ(button.state(), NSControlStateValueOn);
    button.setDoubleValue(0);
    EXPECT_EQ(button.state(), NSControlStateValueOff);
    EXPECT_EQ(button.accessibilityRole(), NSAccessibilityButtonRole);
    button.setTitle("BYPASS");
    EXPECT_EQ(button.title(), NSString("BYPASS"));
}

} // namespace

// The editor view: its layout from the parameter table, DETAIL mode, interface scaling, the
// parameter I/O with its gestures, the actions and the 30 Hz poll.

#include "editor_harness.h"
#include "view/view_layout.h"

#include "testing/allocation_counter.h"

#include <AudioUnit/AUCocoaUIView.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double s = ViewLayout::artScale;

void expectFrame(const NSView& view, CGRect art) {
    const NSRect f = view.frame();
    EXPECT_NEAR(f.origin.x, art.origin.x * s, 1e-9);
    EXPECT_NEAR(f.origin.y, art.origin.y * s, 1e-9);
    EXPECT_NEAR(f.size.width, art.size.width * s, 1e-9);
    EXPECT_NEAR(f.size.height, art.size.height * s, 1e-9);
}

TEST(ViewLayoutTable, DialsByCount) {
    struct Case {
        std::size_t n, i;
        double x, y, hit, radius;
    };
    const Case cases[] = {
        {1, 0, 350, 452, 240, 103}, {2, 1, 870, 452, 240, 103}, {3, 0, 270, 452, 190, 80},
        {3, 2, 1090, 452, 190, 80}, {4, 1, 890, 350, 124, 52},  {4, 2, 350, 590, 124, 52},
        {4, 3, 890, 590, 124, 52},  {5, 4, 680, 590, 124, 52},  {6, 5, 1090, 590, 124, 52},
    };
    for (const Case& c : cases) {
        const ViewLayout::Dial d = ViewLayout::mainDial(c.n, c.i);
        EXPECT_EQ(d.centre.x, c.x) << c.n << "," << c.i;
        EXPECT_EQ(d.centre.y, c.y) << c.n << "," << c.i;
        EXPECT_EQ(d.hit, c.hit);
        EXPECT_EQ(d.radius, c.radius);
    }
    // Toggles take the upper row once the dials need the lower one.
    EXPECT_TRUE(CGRectEqualToRect(ViewLayout::toggle(4, 1), CGRectMake(560, 654, 225, 48)));
    EXPECT_TRUE(CGRectEqualToRect(ViewLayout::toggle(5, 1), CGRectMake(990, 170, 225, 48)));
}

TEST(ViewLayoutTable, TolvarTableFitsTheFaceplate) {
    const ViewLayout::Plan plan = ViewLayout::plan(classic::definitions, classic::parameterCount,
                                                   classic::model.meterId, classic::model.bypassId);
    EXPECT_TRUE(ViewLayout::fits(plan));
    EXPECT_EQ(plan.mainDialCount, 6u);
    EXPECT_EQ(plan.toggleCount, 2u);
    EXPECT_EQ(plan.sliderCount, 4u);
}

class ViewTest : public ::testing::Test {
protected:
    EditorHarness editor;
    KelvoView& view() { return *editor.view; }
};

TEST_F(ViewTest, ControlsComeFromTheParameterTable) {
    EXPECT_NEAR(view().bounds().size.width, 1500, 1e-12);
    EXPECT_NEAR(view().bounds().size.height, 599.8487140695914, 1e-12);
    EXPECT_EQ(view().mainDialIds(), (std::vector<unsigned>{0, 1, 2, 3, 4, 5}));
    const CGPoint centres[] = {{270, 350}, {680, 350}, {1090, 350},
                               {270, 590}, {680, 590}, {1090, 590}};
    for (unsigned id = 0; id < 6; ++id) {
        auto* dial = editor.control<KelvoDial>(id);
        ASSERT_NE(dial, nullptr) << id;
        EXPECT_EQ(dial->pointerCenter.x, centres[id].x);
        EXPECT_EQ(dial->pointerCenter.y, centres[id].y);
        EXPECT_EQ(dial->pointerRadius, 52);
        expectFrame(*dial, CGRectMake(centres[id].x - 62, centres[id].y - 62, 124, 124));
        EXPECT_EQ(dial->stepped, id != 1);
        EXPECT_EQ(dial->accessibilityLabel(), NSString(classic::definitions[id].name));
    }
    expectFrame(*editor.control(6), CGRectMake(700, 170, 225, 48));
    expectFrame(*editor.control(7), CGRectMake(990, 170, 225, 48));
    expectFrame(*editor.control(11), CGRectMake(1480, 660, 300, 37));
    expectFrame(*editor.control(12), CGRectMake(244, 18, 134, 44));
    const unsigned sliders[] = {8, 9, 10, 13};
    for (int k = 0; k < 4; ++k) {
        auto* slider = editor.control<NSSlider>(sliders[k]);
        ASSERT_NE(slider, nullptr);
        expectFrame(*slider, CGRectMake(410, 310 + 65 * k, 600, 27));
        EXPECT_EQ(slider->numberOfTickMarks(), 0);
    }
    EXPECT_EQ(editor.control<NSButton>(12)->buttonType(), NSButtonTypePushOnPushOff);
    EXPECT_EQ(editor.control<NSButton>(11)->buttonType(), NSButtonTypeMomentaryPushIn);
}

TEST_F(ViewTest, SubviewOrderIsTopRowDialsTogglesMeterSlidersMenu) {
    const auto& subviews = view().subviews();
    ASSERT_EQ(subviews.size(), 6u + 6 + 2 + 1 + 4 + 1);
    const char* titles[] = {"INIT", "BYPASS", "DETAIL", "GUIDE", "?", "PRESETS"};
    for (int i = 0; i < 6; ++i) {
        auto* button = dynamic_cast<KelvoButton*>(subviews[i].get());
        ASSERT_NE(button, nullptr);
        if (i != 5) {
            EXPECT_EQ(button->title(), NSString(titles[i]));
        }
    }
    for (int i = 6; i < 12; ++i) {
        EXPECT_NE(dynamic_cast<KelvoDial*>(subviews[i].get()), nullptr);
    }
    EXPECT_EQ(subviews[14].get(), editor.control(11));
    EXPECT_NE(dynamic_cast<NSPopUpButton*>(subviews.back().get()), nullptr);
}

TEST_F(ViewTest, DetailSwapsDialsForSlidersAndBack) {
    auto visible = [&](unsigned id) { return !editor.control(id)->isHidden(); };
    EXPECT_TRUE(visible(0));
    EXPECT_FALSE(visible(8));
    EXPECT_TRUE(view().scaleMenuButton()->isHidden());
    view().detail(nullptr);
    EXPECT_FALSE(visible(0));
    EXPECT_FALSE(visible(6));
    EXPECT_TRUE(visible(8));
    EXPECT_TRUE(visible(11));
    EXPECT_TRUE(visible(12));
    EXPECT_FALSE(view().scaleMenuButton()->isHidden());
    view().detail(nullptr);
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        EXPECT_EQ(visible(id), !classic::definitions[id].isUtility) << id;
    }
    EXPECT_TRUE(view().scaleMenuButton()->isHidden());
}

TEST_F(ViewTest, InterfaceScalingChangesTheFrameOnly) {
    NSPopUpButton& menu = *view().scaleMenuButton();
    menu.selectItemAtIndex(0);
    view().resizeUI(&menu);
    EXPECT_NEAR(view().frame().size.width, 1125, 1e-9);
    EXPECT_NEAR(view().frame().size.height, 449.88653555219355, 1e-9);
    EXPECT_NEAR(view().bounds().size.width, 1500, 1e-9);
    EXPECT_NEAR(view().bounds().size.height, 599.8487140695914, 1e-9);
    menu.selectItemAtIndex(2);
    view().resizeUI(&menu);
    EXPECT_NEAR(view().frame().size.width, view().bounds().size.width, 1e-9);
}

TEST_F(ViewTest, SetSendsTheDefaultForNonFiniteAndTheLimitOutOfRange) {
    view().set(9, NAN);
    view().set(10, INFINITY);
    view().set(8, 30);
    view().set(9, -100);
    EXPECT_EQ(editor.takeEvents(),
              (std::vector<std::string>{"begin 9", "value 9 0", "end 9", "begin 10", "value 10 100",
                                        "end 10", "begin 8", "value 8 24", "end 8", "begin 9",
                                        "value 9 -36", "end 9"}));
}

TEST_F(ViewTest, SetDuringADragWrapsOnlyOtherParameters) {
    view().beginDial(editor.control(1));
    view().set(1, 7);
    view().set(2, 6);
    view().endDial(editor.control(1));
    EXPECT_EQ(editor.takeEvents(), (std::vector<std::string>{"begin 1", "value 1 7", "begin 2",
                                                             "value 2 6", "end 2", "end 1"}));
}

TEST_F(ViewTest, InitSendsFourteenTriplesAndKeepsThePresetTitle) {
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        editor.state().values[id] = classic::definitions[id].maximum;
    }
    const NSString before = view().presetName();
    view().initialize(nullptr);
    std::vector<std::string> expected;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        char value[64];
        std::snprintf(value, sizeof value, "value %u %g", id,
                      static_cast<double>(classic::definitions[id].defaultValue));
        expected.push_back("begin " + std::to_string(id));
        expected.emplace_back(value);
        expected.push_back("end " + std::to_string(id));
    }
    EXPECT_EQ(editor.takeEvents(), expected);
    EXPECT_EQ(view().presetName(), before);
}

TEST_F(ViewTest, ChangedMarksTheStateCustom) {
    auto* pad = editor.control<NSButton>(6);
    pad->setState(NSControlStateValueOn);
    view().changed(pad);
    EXPECT_EQ(view().presetName(), NSString("Custom"));
    EXPECT_EQ(editor.state().values[6], 1.0f);
    EXPECT_EQ(view().presetsButton()->title(), NSString("PRESETS \u00b7 Custom  \u25be"));
}

TEST_F(ViewTest, MeterButtonSwitchesBetweenInputAndOutput) {
    auto* meter = editor.control<NSButton>(11);
    EXPECT_EQ(meter->title(), NSString("METER \u00b7 OUTPUT"));
    view().nextMeter(meter);
    EXPECT_EQ(editor.state().values[11], 0.0f);
    EXPECT_EQ(meter->title(), NSString("METER \u00b7 INPUT"));
    view().nextMeter(meter);
    EXPECT_EQ(meter->title(), NSString("METER \u00b7 OUTPUT"));
    EXPECT_EQ(view().presetName(), NSString("Studio Start"));
}

TEST_F(ViewTest, CaptionsUseTheChoiceTablesOrTheUnitText) {
    editor.state().values[0] = 2.5f; // rounds half away from zero
    EXPECT_EQ(view().formatted(0), NSString("+5 dB"));
    editor.state().values[4] = 7; // clamped into the table
    EXPECT_EQ(view().formatted(4), NSString("200 Hz"));
    editor.state().values[4] = NAN; // no place in the table: the first entry
    EXPECT_EQ(view().formatted(4), NSString("70 Hz"));
    editor.state().unreadable[4] = true; // a failed read is 0, whatever the unit left behind
    editor.state().values[4] = 2;
    EXPECT_EQ(view().formatted(4), NSString("70 Hz"));
    editor.state().values[9] = -6.25f;
    EXPECT_EQ(view().formatted(9), NSString("-6.2 dB"));
    EXPECT_EQ(view().formatted(1), NSString("5.0 "));
}

TEST_F(ViewTest, NeedleRestsWithoutSignalAndFollowsTheLouderChannel) {
    for (int i = 0; i < 10; ++i) {
        view().refresh();
    }
    EXPECT_EQ(view().needlePosition(), -24);

    EditorHarness fresh;
    fresh.state().meter = {-100, -100, 0, -30, 0, 0, 0, 0}; // output 0 dBFS on the left
    // The view has polled once at construction with the meters at -100.
    fresh.view->refresh();
    EXPECT_DOUBLE_EQ(fresh.view->needlePosition(), -17.667084242334628);
    for (int i = 1; i < 30; ++i) {
        fresh.view->refresh();
    }
    EXPECT_NEAR(fresh.view->needlePosition(), 4, 0.013);
}

TEST_F(ViewTest, MeterZeroFollowsTheInput) {
    editor.state().values[11] = 0;
    editor.state().meter = {-30, -18, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 200; ++i) {
        view().refresh();
    }
    EXPECT_NEAR(view().needlePosition(), 0, 1e-9); // -18 dBFS is 0 VU
}

TEST_F(ViewTest, PollDuringADragLeavesTheDraggedDial) {
    auto* level = editor.control<KelvoDial>(1);
    auto* gain = editor.control<KelvoDial>(0);
    view().beginDial(level);
    level->setDoubleValue(8);
    editor.state().values[1] = 3;
    editor.state().values[0] = 4;
    view().refresh();
    EXPECT_EQ(level->doubleValue(), 8);
    EXPECT_EQ(gain->doubleValue(), 4);
    view().endDial(level);
}

TEST_F(ViewTest, PollAllocatesNothing) {
    view().refresh(); // titles settle
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 30; ++i) {
        view().refresh();
    }
    EXPECT_EQ(scope.count(), 0u);
}

// The poll runs only while the view is in a window: a host may dispose of the unit while it
// keeps a view that has left its window, and a poll then would call a unit that is gone.
TEST(ViewTimer, PollsThirtyTimesASecondWhileInAWindow) {
    CFRunLoopUseManualClockForTesting(true);
    {
        EditorHarness editor;
        const auto readsInOneSecond = [&] {
            const unsigned before = editor.state().meterReads;
            CFRunLoopRunInMode(kCFRunLoopDefaultMode, 1.0, false);
            return editor.state().meterReads - before;
        };
        EXPECT_EQ(readsInOneSecond(), 30u);
        const std::shared_ptr<NSView> content = editor.window->contentView();
        editor.view->removeFromSuperview();
        EXPECT_EQ(readsInOneSecond(), 0u) << "polled out of its window";
        content->addSubview(editor.view);
        EXPECT_EQ(readsInOneSecond(), 30u) << "the poll resumes in a window";

        // A view that never entered a window does not poll either.
        const std::shared_ptr<KelvoView> unshown = KelvoView::initWithUnit(editor.unit);
        EXPECT_EQ(readsInOneSecond(), 30u);

        // The timer holds the view weakly: releasing the view stops the poll.
        std::weak_ptr<KelvoView> weak = editor.view;
        editor.view->removeFromSuperview();
        editor.view.reset();
        EXPECT_TRUE(weak.expired());
        EXPECT_EQ(readsInOneSecond(), 0u);
        editor.view = KelvoView::initWithUnit(editor.unit); // for the harness's teardown
    }
    CFRunLoopUseManualClockForTesting(false);
}

TEST_F(ViewTest, DialDrawingAllocatesNothing) {
    auto bitmap = std::make_shared<NSBitmapImageRep>(view().bounds().size, 1.0);
    NSGraphicsContext::saveGraphicsState();
    NSGraphicsContext::setCurrentContext(
        NSGraphicsContext::graphicsContextWithBitmapImageRep(bitmap));
    auto* dial = editor.control<KelvoDial>(1);
    dial->drawRect(dial->bounds()); // first use of the images
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 10; ++i) {
        dial->drawRect(dial->bounds());
    }
    EXPECT_EQ(scope.count(), 0u);
    NSGraphicsContext::restoreGraphicsState();
}

TEST_F(ViewTest, FactoryNamesTheProductAndMakesNewViews) {
    Class cls = NSClassFromCString("KelvoTolvarViewFactory");
    ASSERT_NE(cls, nullptr);
    EXPECT_TRUE(cls->instancesRespondToSelector("uiViewForAudioUnit:withSize:"));
    std::shared_ptr<NSObject> factory = cls->newInstance();
    EXPECT_EQ(factory->description(), NSString("KelvoTolvar"));
    auto* ui = dynamic_cast<AUCocoaUIBase*>(factory.get());
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(ui->interfaceVersion(), 0u);
    std::shared_ptr<NSView> a = ui->uiViewForAudioUnit(editor.unit, NSSize{});
    std::shared_ptr<NSView> b = ui->uiViewForAudioUnit(editor.unit, NSSize{});
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a, b);
    EXPECT_NE(dynamic_cast<KelvoView*>(a.get()), nullptr);
    EXPECT_NE(NSClassFromCString("KelvoTolvarView"), nullptr);
    EXPECT_NE(NSClassFromCString("KelvoTolvarDial"), nullptr);
    EXPECT_NE(NSClassFromCString("KelvoTolvarButton"), nullptr);
}

} // namespace

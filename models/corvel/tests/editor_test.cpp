// The Corvel editor: the rack layout with its concentric pairs, the IN / OUT switch of the VU
// source, DETAIL mode by the slider list, INIT, help and the guide window's title.

#include "rack_editor_support.h"

#include "help/help_texts.h"
#include "testing/allocation_counter.h"

#include <AppKit/AppKitHost.h>
#include <AudioUnit/AUCocoaUIView.h>

#include <gtest/gtest.h>

#include <cmath>

namespace {

using racktest::expectFrame;
using racktest::hitAt;
using racktest::inView;

class CorvelEditor : public ::testing::Test {
protected:
    EditorHarness editor;
    KelvoView& view() { return *editor.view; }
    FaceplateSelectors& selectors() { return racktest::selectors(view()); }
};

TEST_F(CorvelEditor, SubviewsInCreationOrder) {
    EXPECT_EQ(racktest::subviewNames(view()),
              (std::vector<std::string>{"INIT",
                                        "BYPASS",
                                        "DETAIL",
                                        "GUIDE",
                                        "?",
                                        "PRESETS \u00b7 Studio Start  \u25be",
                                        "UI Size",
                                        "Input Gain",
                                        "High Shelf",
                                        "Mid Frequency",
                                        "Mid Gain",
                                        "Low Frequency",
                                        "Low Shelf",
                                        "High Pass",
                                        "EQ IN",
                                        "\u00d8",
                                        "IN / OUT",
                                        "slider Mix",
                                        "slider Output Trim",
                                        "slider Analog Shimmer"}));
    EXPECT_EQ(view().scaleMenuButton()->itemTitles(),
              (std::vector<NSString>{"75%", "85%", "100%"}));
    EXPECT_EQ(editor.control(11)->accessibilityLabel(), NSString("BYPASS"));
    EXPECT_EQ(editor.control<NSButton>(7)->buttonType(), NSButtonTypePushOnPushOff);
    EXPECT_TRUE(view().mainDialIds().empty());

    struct Dial {
        unsigned id;
        double x, hit, radius;
        bool ring;
        NSUInteger markings;
    };
    const Dial dials[] = {{0, 230, 275, 79, false, 21}, {1, 470, 220, 60, false, 5},
                          {3, 750, 280, 91, true, 6},   {2, 750, 130, 45, false, 0},
                          {5, 1025, 280, 91, true, 4},  {4, 1025, 130, 45, false, 0},
                          {6, 1250, 200, 55, false, 5}};
    for (const Dial& d : dials) {
        auto* dial = editor.control<KelvoDial>(d.id);
        ASSERT_NE(dial, nullptr) << d.id;
        expectFrame(*dial, CGRectMake(d.x - d.hit / 2, 452 - d.hit / 2, d.hit, d.hit));
        EXPECT_EQ(dial->pointerRadius, d.radius) << d.id;
        EXPECT_EQ(dial->ring, d.ring) << d.id;
        EXPECT_EQ(dial->markings ? dial->markings.count() : 0, d.markings) << d.id;
        EXPECT_EQ(dial->accessibilityHelp(), NSString(parameterHelpText(d.id)));
    }
    EXPECT_EQ(NSString::cast(editor.control<KelvoDial>(0)->markings.firstObject()),
              NSString("\u221210"));
}

TEST_F(CorvelEditor, ConcentricPairsShareTheirClicks) {
    // Inside the inner knob's square: the inner knob. Farther than 0.29 x 280 = 81.2 from the
    // centre: the ring. Outside the inner square but nearer than that: neither.
    struct Case {
        double dx, dy;
        int id; // -1: no control
    };
    const Case cases[] = {{0, 0, 2},    {60, 60, 2}, {-64, 0, 2}, {70, 0, -1},
                          {0, -80, -1}, {82, 0, 3},  {0, 120, 3}, {-100, -30, 3}};
    for (const Case& c : cases) {
        NSView* mid = hitAt(editor, 750 + c.dx, 452 + c.dy);
        NSView* low = hitAt(editor, 1025 + c.dx, 452 + c.dy);
        if (c.id < 0) {
            EXPECT_EQ(dynamic_cast<NSControl*>(mid), nullptr) << c.dx << "," << c.dy;
            EXPECT_EQ(dynamic_cast<NSControl*>(low), nullptr) << c.dx << "," << c.dy;
        } else {
            EXPECT_EQ(mid, editor.control(static_cast<unsigned>(c.id))) << c.dx << "," << c.dy;
            EXPECT_EQ(low, editor.control(static_cast<unsigned>(c.id) + 2)) << c.dx << "," << c.dy;
        }
    }
}

TEST_F(CorvelEditor, DoubleClicksResetRingAndKnob) {
    editor.state().values[3] = 5;
    editor.state().values[2] = 7.5f;
    view().refresh();
    editor.takeEvents();
    for (const NSPoint at : {inView(750, 452 - 110), inView(750, 452)}) {
        editor.mouse(NSEventTypeLeftMouseDown, at, 1);
        editor.mouse(NSEventTypeLeftMouseUp, at, 1);
        editor.mouse(NSEventTypeLeftMouseDown, at, 2);
        editor.mouse(NSEventTypeLeftMouseUp, at, 2);
    }
    EXPECT_EQ(editor.state().values[3], 2.0f); // "1.6 kHz"
    EXPECT_EQ(editor.state().values[2], 0.0f);
    EXPECT_EQ(editor.takeEvents(),
              (std::vector<std::string>{"begin 3", "end 3", "begin 3", "value 3 2", "end 3",
                                        "begin 2", "end 2", "begin 2", "value 2 0", "end 2"}));
}

TEST_F(CorvelEditor, HelpOverTheInnerKnobNamesTheRing) {
    // The look-up takes the first control in subview order whose frame holds the point, and
    // each ring comes before its knob.
    EXPECT_STREQ(view().helpAtPoint(inView(750, 452)), parameterHelpText(3));
    EXPECT_STREQ(view().helpAtPoint(inView(1025, 452)), parameterHelpText(5));
    EXPECT_STREQ(view().helpAtPoint(inView(1633, 696)), actionHelpText("toggleMeter:"));
    EXPECT_STREQ(view().helpAtPoint(inView(740, 671)), parameterHelpText(7));
    // The UI size pop-up answers only while DETAIL shows it.
    EXPECT_STREQ(view().helpAtPoint(inView(1110, 671)), helpBannerText);
    view().detail(nullptr);
    EXPECT_STREQ(view().helpAtPoint(inView(1110, 671)), actionHelpText("resizeUI:"));
    EXPECT_STREQ(parameterHelpText(13), generalHelpText);
}

TEST_F(CorvelEditor, DetailPlacesTheSlidersInIdOrder) {
    view().detail(nullptr);
    const unsigned sliders[] = {9, 10, 12}; // Output Trim, Mix, Analog Shimmer
    for (int k = 0; k < 3; ++k) {
        ASSERT_FALSE(editor.control(sliders[k])->isHidden());
        expectFrame(*editor.control(sliders[k]), CGRectMake(420, 330 + 100 * k, 680, 27));
    }
    for (const unsigned id : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u}) {
        EXPECT_TRUE(editor.control(id)->isHidden()) << id;
    }
    EXPECT_FALSE(editor.control(11)->isHidden());
    EXPECT_FALSE(view().scaleMenuButton()->isHidden());
    for (const std::shared_ptr<NSView>& subview : view().subviews()) {
        if (auto* button = dynamic_cast<KelvoButton*>(subview.get());
            button != nullptr && button->tag() == 0) {
            EXPECT_FALSE(button->isHidden()) << button->title().stdString();
        }
    }
    view().detail(nullptr);
    for (const auto& [id, control] : view().controlsById()) {
        EXPECT_EQ(control->isHidden(), dynamic_cast<NSSlider*>(control.get()) != nullptr) << id;
    }
    EXPECT_TRUE(view().scaleMenuButton()->isHidden());
}

TEST_F(CorvelEditor, InOutSwitchesTheVuSourceInTheViewOnly) {
    auto settle = [&] {
        for (int i = 0; i < 120; ++i) {
            view().refresh();
        }
        return view().needlePosition();
    };
    // Input louder on the right, output louder on the left.
    editor.state().meter = {-40, -21, -26, -50, 0, 0, -3, -3};
    EXPECT_NEAR(settle(), -8, 1e-6);
    auto* inOut = dynamic_cast<KelvoButton*>(view().subviews()[16].get());
    ASSERT_NE(inOut, nullptr);
    ASSERT_EQ(inOut->title(), NSString("IN / OUT"));
    editor.takeEvents();
    const NSPoint at = inView(1633, 696);
    editor.mouse(NSEventTypeLeftMouseDown, at);
    editor.mouse(NSEventTypeLeftMouseUp, at);
    EXPECT_TRUE(selectors().isMeterInput());
    EXPECT_FALSE(inOut->lit()) << "momentary";
    EXPECT_NEAR(settle(), -3, 1e-6);
    selectors().toggleMeter(inOut);
    EXPECT_FALSE(selectors().isMeterInput());
    EXPECT_NEAR(settle(), -8, 1e-6);
    EXPECT_TRUE(editor.takeEvents().empty()) << "no parameter, no gesture";
    // INIT leaves the choice as it is.
    selectors().toggleMeter(inOut);
    view().initialize(nullptr);
    EXPECT_TRUE(selectors().isMeterInput());
}

TEST_F(CorvelEditor, InitSendsThirteenTriplesAndKeepsThePresetTitle) {
    EXPECT_EQ(editor.control<NSButton>(7)->state(), NSControlStateValueOn) << "EQ IN lit";
    EXPECT_EQ(editor.control<NSButton>(8)->state(), NSControlStateValueOff) << "\u00d8 dark";
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        editor.state().values[id] = classic::definitions[id].maximum;
    }
    view().changed(editor.control(1));
    editor.takeEvents();
    view().initialize(nullptr);
    std::vector<std::string> expected;
    const double start[] = {2, 0, 0, 2, 0, 2, 0, 1, 0, 0, 100, 0, 0};
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        char value[64];
        std::snprintf(value, sizeof value, "value %u %g", id, start[id]);
        expected.push_back("begin " + std::to_string(id));
        expected.emplace_back(value);
        expected.push_back("end " + std::to_string(id));
    }
    EXPECT_EQ(editor.takeEvents(), expected);
    EXPECT_EQ(view().presetName(), NSString("Custom"));
}

TEST_F(CorvelEditor, PollAllocatesNothing) {
    editor.state().meter = {-20, -20, -20, -20, 0, 0, -10, -10};
    view().refresh(); // titles settle
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 30; ++i) {
        view().refresh();
    }
    EXPECT_EQ(scope.count(), 0u);
}

TEST_F(CorvelEditor, FactoryAndGuideNameTheProduct) {
    Class cls = NSClassFromCString("KelvoRackCorvelFactory");
    ASSERT_NE(cls, nullptr);
    std::shared_ptr<NSObject> factory = cls->newInstance();
    auto* ui = dynamic_cast<AUCocoaUIBase*>(factory.get());
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(factory->description(), NSString("KelvoCorvel"));
    EXPECT_NE(dynamic_cast<KelvoView*>(ui->uiViewForAudioUnit(editor.unit, NSSize{}).get()),
              nullptr);
    EXPECT_NE(NSClassFromCString("KelvoRackCorvelView"), nullptr);
    EXPECT_NE(NSClassFromCString("KelvoRackCorvelDial"), nullptr);
    EXPECT_NE(NSClassFromCString("KelvoRackCorvelButton"), nullptr);
    view().guide(nullptr);
    ASSERT_TRUE(view().userGuideWindow());
    EXPECT_EQ(view().userGuideWindow()->title(), NSString("KelvoCorvel \u00b7 User Guide"));
}

} // namespace

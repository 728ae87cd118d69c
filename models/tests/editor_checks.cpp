// The checks every further model's editor passes, run with the model's data on the fake unit
// and held to the model's expectations (`editortest::expected`): the layout its table gives,
// DETAIL, captions and the METER title, the needle's rule, the faceplate's legend, badge and
// meter caption, help by parameter ID, INIT, the class names, the user guide.

#include "editor_expectations.h"
#include "editor_harness.h"
#include "guide_coverage.h"
#include "recording.h"

#include "help/help_texts.h"
#include "model/editor_model.h"
#include "view/view_layout.h"

#include "testing/allocation_counter.h"

#include <AppKit/AppKitHost.h>
#include <AudioUnit/AUCocoaUIView.h>

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

using editortest::expected;
using editortest::Recording;

constexpr double s = ViewLayout::artScale;
constexpr unsigned meterId = classic::model.meterId;
constexpr unsigned bypassId = classic::model.bypassId;
constexpr unsigned count = classic::parameterCount;

// The faceplate's two meter captions.
constexpr const char* vuCaption = "0 VU = \u221218 dBFS \u00b7 RMS";
constexpr const char* reductionCaption = "GAIN REDUCTION \u00b7 dB";

void expectFrame(const NSView& view, CGRect art, const char* what) {
    const NSRect f = view.frame();
    EXPECT_NEAR(f.origin.x, art.origin.x * s, 1e-9) << what;
    EXPECT_NEAR(f.origin.y, art.origin.y * s, 1e-9) << what;
    EXPECT_NEAR(f.size.width, art.size.width * s, 1e-9) << what;
    EXPECT_NEAR(f.size.height, art.size.height * s, 1e-9) << what;
}

CGRect sliderArt(std::size_t row) {
    return CGRectMake(410, 310 + 65 * static_cast<double>(row), 600, 27);
}

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// A text drawn with its rectangle's top-left corner at (x, y), in art units.
bool drawnAt(const Recording& recording, const std::string& text, double x, double y) {
    for (const CGRecordedOperation* op : recording.of(CGRecordedKind::text)) {
        if (op->text == text && std::abs(op->bounds.origin.x - x) < 1e-9 &&
            std::abs(op->bounds.origin.y - y) < 1e-9) {
            return true;
        }
    }
    return false;
}

class ModelEditor : public ::testing::Test {
protected:
    EditorHarness editor;
    KelvoView& view() { return *editor.view; }

    void drawInto(Recording&) { view().drawRect(view().bounds()); }

    // The needle after the poll has had time to settle on its target.
    double settledNeedle(float meter, const std::array<float, 8>& block) {
        editor.state().values[meterId] = meter;
        editor.state().meter = block;
        for (int i = 0; i < 300; ++i) {
            view().refresh();
        }
        return view().needlePosition();
    }

    // Moves the mouse over an art point and polls; the help text there.
    std::string hover(double artX, double artY) {
        const NSPoint inView{artX * s, artY * s};
        appkit::setMouseLocation(
            editor.window->convertPointToScreen(editor.view->convertPointToView(inView, nullptr)));
        view().refresh();
        return view().helpBanner().stdString();
    }
};

TEST_F(ModelEditor, TableGivesTheDialsTogglesAndSliders) {
    std::vector<unsigned> dialIds;
    for (const editortest::ExpectedDial& d : expected.dials) {
        dialIds.push_back(d.id);
        auto* dial = editor.control<KelvoDial>(d.id);
        ASSERT_NE(dial, nullptr) << d.id;
        EXPECT_EQ(dial->pointerCenter.x, d.x) << d.id;
        EXPECT_EQ(dial->pointerCenter.y, d.y) << d.id;
        EXPECT_EQ(dial->pointerRadius, d.radius) << d.id;
        EXPECT_EQ(dial->stepped, d.stepped) << d.id;
        EXPECT_FALSE(dial->ring);
        expectFrame(*dial, CGRectMake(d.x - d.hit / 2, d.y - d.hit / 2, d.hit, d.hit), "dial");
        EXPECT_EQ(dial->accessibilityLabel(), NSString(classic::definitions[d.id].name));
    }
    EXPECT_EQ(view().mainDialIds(), dialIds);

    for (const editortest::ExpectedToggle& t : expected.toggles) {
        auto* toggle = editor.control<KelvoButton>(t.id);
        ASSERT_NE(toggle, nullptr) << t.id;
        expectFrame(*toggle, t.art, t.title);
        EXPECT_EQ(toggle->title(), NSString(t.title));
        EXPECT_EQ(toggle->tag(), static_cast<NSInteger>(t.id));
        EXPECT_EQ(toggle->buttonType(), NSButtonTypePushOnPushOff);
        EXPECT_TRUE(toggle->persistentIndicator);
        EXPECT_TRUE(toggle->customFace);
    }

    for (std::size_t k = 0; k < expected.sliders.size(); ++k) {
        const editortest::ExpectedSlider& row = expected.sliders[k];
        auto* slider = editor.control<NSSlider>(row.id);
        ASSERT_NE(slider, nullptr) << row.name;
        expectFrame(*slider, sliderArt(k), row.name);
        EXPECT_EQ(slider->numberOfTickMarks(), row.tickMarks) << row.name;
        EXPECT_EQ(slider->allowsTickMarkValuesOnly(), row.tickMarks > 0) << row.name;
        EXPECT_EQ(slider->minValue(), classic::definitions[row.id].minimum);
        EXPECT_EQ(slider->maxValue(), classic::definitions[row.id].maximum);
        EXPECT_EQ(slider->accessibilityLabel(), NSString(row.name));
    }

    auto* meter = editor.control<KelvoButton>(meterId);
    ASSERT_NE(meter, nullptr);
    expectFrame(*meter, CGRectMake(1480, 660, 300, 37), "METER");
    EXPECT_EQ(meter->buttonType(), NSButtonTypeMomentaryPushIn);
    auto* bypass = editor.control<KelvoButton>(bypassId);
    ASSERT_NE(bypass, nullptr);
    expectFrame(*bypass, CGRectMake(244, 18, 134, 44), "BYPASS");
    EXPECT_EQ(bypass->title(), NSString("BYPASS"));
    EXPECT_EQ(bypass->buttonType(), NSButtonTypePushOnPushOff);

    // Every parameter is exactly one control.
    EXPECT_EQ(view().controlsById().size(), static_cast<std::size_t>(count));
    EXPECT_EQ(dialIds.size() + expected.toggles.size() + expected.sliders.size() + 2, count);
    EXPECT_TRUE(ViewLayout::fits(ViewLayout::plan(classic::definitions, count, meterId, bypassId)));
}

TEST_F(ModelEditor, SubviewsInHelpLookUpOrder) {
    const auto& subviews = view().subviews();
    // The fixed top row (BYPASS among it), the other parameters' controls, the pop-up.
    ASSERT_EQ(subviews.size(), 6 + static_cast<std::size_t>(count - 1) + 1);
    std::size_t i = 6;
    for (const editortest::ExpectedDial& d : expected.dials) {
        EXPECT_EQ(subviews[i++].get(), editor.control(d.id)) << "dial " << d.id;
    }
    for (const editortest::ExpectedToggle& t : expected.toggles) {
        EXPECT_EQ(subviews[i++].get(), editor.control(t.id)) << t.title;
    }
    EXPECT_EQ(subviews[i++].get(), editor.control(meterId));
    for (const editortest::ExpectedSlider& row : expected.sliders) {
        EXPECT_EQ(subviews[i++].get(), editor.control(row.id)) << row.name;
    }
    EXPECT_EQ(subviews[i].get(), view().scaleMenuButton().get());
}

TEST_F(ModelEditor, DetailHidesDialsAndTogglesButNeitherBypassNorMeter) {
    auto visible = [&](unsigned id) { return !editor.control(id)->isHidden(); };
    view().detail(nullptr);
    for (const editortest::ExpectedDial& d : expected.dials) {
        EXPECT_FALSE(visible(d.id)) << d.id;
    }
    for (const editortest::ExpectedToggle& t : expected.toggles) {
        EXPECT_FALSE(visible(t.id)) << t.title;
    }
    for (const editortest::ExpectedSlider& row : expected.sliders) {
        EXPECT_TRUE(visible(row.id)) << row.name;
    }
    EXPECT_TRUE(visible(meterId));
    EXPECT_TRUE(visible(bypassId));
    EXPECT_FALSE(view().scaleMenuButton()->isHidden());
    view().detail(nullptr);
    for (const auto& [id, control] : view().controlsById()) {
        const bool shown = id == meterId || id == bypassId || !classic::definitions[id].isUtility;
        EXPECT_EQ(visible(id), shown) << id;
    }
    EXPECT_TRUE(view().scaleMenuButton()->isHidden());
}

TEST_F(ModelEditor, SteppedSlidersStopOnlyAtTheirTicks) {
    view().detail(nullptr);
    for (const editortest::ExpectedSlider& row : expected.sliders) {
        if (row.tickMarks == 0) {
            continue;
        }
        const NSRect f = editor.control(row.id)->frame();
        editor.takeEvents();
        editor.drag(NSPoint{f.origin.x + 1, f.origin.y + f.size.height / 2}, f.size.width - 2, 0, 0,
                    23);
        std::vector<float> values;
        for (const std::string& line : editor.takeEvents()) {
            unsigned id = 0;
            float v = 0;
            if (std::sscanf(line.c_str(), "value %u %f", &id, &v) == 2) {
                EXPECT_EQ(id, row.id);
                values.push_back(v);
            }
        }
        ASSERT_FALSE(values.empty()) << row.name;
        for (float v : values) {
            EXPECT_EQ(v, std::round(v)) << row.name;
        }
        EXPECT_EQ(values.back(), static_cast<float>(row.tickMarks - 1)) << row.name;
    }
}

TEST_F(ModelEditor, CaptionsOfTheDefaults) {
    for (const editortest::ExpectedCaption& caption : expected.captions) {
        EXPECT_EQ(view().formatted(caption.id).stdString(), caption.text) << caption.id;
    }
}

TEST_F(ModelEditor, MeterTitleEndsInTheMetersCaption) {
    auto* meter = editor.control<NSButton>(meterId);
    const unsigned start = classic::definitions[meterId].defaultValue > 0.5f ? 1 : 0;
    EXPECT_EQ(meter->title().stdString(), expected.meterTitles[start]);
    view().nextMeter(meter);
    EXPECT_EQ(editor.state().values[meterId], static_cast<float>(1 - start));
    EXPECT_EQ(meter->title().stdString(), expected.meterTitles[1 - start]);
    view().nextMeter(meter);
    EXPECT_EQ(meter->title().stdString(), expected.meterTitles[start]);
    EXPECT_EQ(view().presetName(), NSString("Studio Start"));
}

TEST_F(ModelEditor, NeedleRestsAtItsStartWithASilentUnit) {
    // Already true of the first frame: the view has polled once at construction.
    const double start = expected.gainReduction ? 0.0 : -24.0;
    EXPECT_EQ(classic::editorModel.startNeedle, start);
    EXPECT_EQ(view().needlePosition(), start);
    for (int i = 0; i < 10; ++i) {
        view().refresh();
    }
    EXPECT_EQ(view().needlePosition(), start);
}

TEST_F(ModelEditor, NeedleFollowsWhatTheMeterShows) {
    struct Case {
        float meter;
        std::array<float, 8> block; // input L R, output L R, gr L R, peak L R
        double gainReductionTarget; // the dynamics models
        double levelTarget;         // the preamplifiers
    };
    const Case cases[] = {
        // Meter 0: the larger reduction made negative, or the louder input + 18.
        {0, {-30, -18, 0, 0, 3, 7, 0, 0}, -7, 0},
        {0, {-100, -100, -100, -100, 30, 30, -100, -100}, -24, -24},
        {0, {-6, -6, -6, -6, 0, 0, -6, -6}, 0, 4},
        {0, {NAN, NAN, -100, -100, NAN, NAN, -100, -100}, 0, -24},
        // Meter 1: the louder output + 18 in every model.
        {1, {-100, -100, -10, -12, 10, 10, -10, -12}, 4, 4},
        {1, {0, 0, -30, -24, 20, 20, -20, -20}, -6, -6},
    };
    for (const Case& c : cases) {
        const double target = expected.gainReduction ? c.gainReductionTarget : c.levelTarget;
        EXPECT_NEAR(settledNeedle(c.meter, c.block), target, 1e-9)
            << "Meter " << c.meter << ", gr " << c.block[4] << " " << c.block[5];
    }
}

TEST_F(ModelEditor, NeedleMovesAFractionOfTheWayAtEachPoll) {
    const double from = settledNeedle(0, {-100, -100, -100, -100, 0, 0, -100, -100});
    // 5 dB of reduction, or an input RMS of -23 dBFS: both read -5 on the VU.
    editor.state().meter = {-23, -23, -100, -100, 5, 5, -100, -100};
    view().refresh();
    EXPECT_DOUBLE_EQ(view().needlePosition(), from + (-5 - from) * 0.22617556277376327);
}

TEST_F(ModelEditor, UnreadableMeterCountsAsZero) {
    editor.state().values[meterId] = 1;
    editor.state().unreadable[meterId] = true;
    EXPECT_NEAR(settledNeedle(1, {-100, -100, -10, -10, 12, 12, -10, -10}),
                expected.gainReduction ? -12.0 : -24.0, 1e-9); // input at -100: the stop
    EXPECT_EQ(editor.control<NSButton>(meterId)->title().stdString(), expected.meterTitles[0]);
    EXPECT_EQ(editor.control<NSButton>(meterId)->state(), NSControlStateValueOff);
    Recording recording({1500, 599.8487140695914});
    drawInto(recording);
    EXPECT_NE(recording.text(expected.gainReduction ? reductionCaption : vuCaption), nullptr);
}

TEST_F(ModelEditor, FaceplateShowsLegendBadgeAndMeterCaption) {
    for (float meter : {0.0f, 1.0f}) {
        editor.state().values[meterId] = meter;
        Recording recording({1500, 599.8487140695914});
        drawInto(recording);
        const CGRecordedOperation* legend = recording.text(expected.legend, 2);
        ASSERT_NE(legend, nullptr);
        EXPECT_NEAR(legend->bounds.origin.x, 1340, 1e-9);
        EXPECT_NEAR(legend->bounds.origin.y, 258, 1e-9);
        EXPECT_EQ(legend->fontSize, 18);

        const CGRecordedOperation* badge = nullptr;
        for (const CGRecordedOperation* op : recording.of(CGRecordedKind::image)) {
            if (std::abs(op->bounds.origin.x - 1460) < 1e-9 &&
                std::abs(op->bounds.origin.y - 174) < 1e-9) {
                badge = op;
            }
        }
        ASSERT_NE(badge, nullptr);
        EXPECT_NEAR(badge->imageSource.origin.x, expected.badgeTile.x, 1e-9);
        EXPECT_NEAR(badge->imageSource.origin.y, expected.badgeTile.y, 1e-9);
        EXPECT_NEAR(badge->imageSource.size.width, 674, 1e-9);

        // The dynamics models name the gain reduction while Meter shows it.
        const bool reduction = expected.gainReduction && meter < 0.5f;
        const CGRecordedOperation* caption =
            recording.text(reduction ? reductionCaption : vuCaption);
        ASSERT_NE(caption, nullptr) << meter;
        EXPECT_EQ(recording.text(reduction ? vuCaption : reductionCaption), nullptr);
        EXPECT_NEAR(caption->bounds.origin.x, 1400, 1e-9);
        EXPECT_NEAR(caption->bounds.origin.y, 700, 1e-9);
        EXPECT_EQ(caption->fontSize, 12);
        EXPECT_NE(recording.text("1.0.0 \u00b7 ORVELLA"), nullptr);
    }
}

TEST_F(ModelEditor, DialScalesCarryNamesAndValues) {
    Recording recording({1500, 599.8487140695914});
    drawInto(recording);
    for (const editortest::ExpectedDial& d : expected.dials) {
        EXPECT_TRUE(drawnAt(recording, upper(classic::definitions[d.id].name), d.x - 185,
                            d.y - d.radius - 56))
            << d.id;
        EXPECT_TRUE(
            drawnAt(recording, view().formatted(d.id).stdString(), d.x - 185, d.y + d.radius + 30))
            << d.id;
    }
    int ticks = 0;
    for (const CGRecordedOperation* op : recording.of(CGRecordedKind::stroke)) {
        ticks += op->lineWidth == 1.7 ? 1 : 0;
    }
    EXPECT_EQ(ticks, 11 * static_cast<int>(expected.dials.size()));
}

TEST_F(ModelEditor, DetailPanelListsTheUtilityRowsInIdOrder) {
    view().detail(nullptr);
    Recording recording({1500, 599.8487140695914});
    drawInto(recording);
    for (std::size_t k = 0; k < expected.sliders.size(); ++k) {
        const editortest::ExpectedSlider& row = expected.sliders[k];
        const double y = 310 + 65 * static_cast<double>(k);
        EXPECT_TRUE(drawnAt(recording, row.name, 175, y)) << row.name;
        EXPECT_TRUE(drawnAt(recording, view().formatted(row.id).stdString(), 1030, y)) << row.name;
    }
    for (const editortest::ExpectedDial& d : expected.dials) {
        EXPECT_EQ(recording.text(upper(classic::definitions[d.id].name).c_str()), nullptr);
    }
}

TEST_F(ModelEditor, HelpIsLookedUpByParameterId) {
    for (const auto& [id, control] : view().controlsById()) {
        EXPECT_STREQ(view().helpForControl(control.get()), classic::editorModel.helpTexts[id])
            << id;
    }
    for (const editortest::ExpectedDial& d : expected.dials) {
        EXPECT_EQ(editor.control(d.id)->accessibilityHelp(),
                  NSString(classic::editorModel.helpTexts[d.id]));
    }
    // The METER text says what this model's meter shows.
    EXPECT_NE(std::strstr(parameterHelpText(meterId), expected.gainReduction
                                                          ? "gain reduction and output RMS"
                                                          : "input and output RMS level"),
              nullptr);
    EXPECT_EQ(classic::editorModel.helpCount, count);
    for (unsigned id : {count, count + 1, count + 40}) {
        EXPECT_STREQ(parameterHelpText(id), generalHelpText) << id;
    }

    view().help(nullptr);
    EXPECT_EQ(hover(1630, 678), classic::editorModel.helpTexts[meterId]);
    EXPECT_EQ(hover(311, 40), classic::editorModel.helpTexts[bypassId]);
    EXPECT_EQ(hover(155, 40), actionHelpText("initialize:"));
    const editortest::ExpectedDial& first = expected.dials.front();
    EXPECT_EQ(hover(first.x, first.y), classic::editorModel.helpTexts[first.id]);
    // A hidden DETAIL slider is never chosen.
    EXPECT_EQ(hover(1000, 323), helpBannerText);
}

TEST_F(ModelEditor, InitSendsEveryStartValueInIdOrderAndKeepsThePresetTitle) {
    ASSERT_EQ(expected.startValues.size(), static_cast<std::size_t>(count));
    for (unsigned id = 0; id < count; ++id) {
        EXPECT_EQ(classic::editorModel.startValues[id], expected.startValues[id]) << id;
        EXPECT_EQ(expected.startValues[id], classic::definitions[id].defaultValue) << id;
        editor.state().values[id] = classic::definitions[id].maximum;
    }
    view().changed(editor.control(expected.dials.front().id)); // an edit: the title reads Custom
    editor.takeEvents();
    view().initialize(nullptr);
    std::vector<std::string> lines;
    for (unsigned id = 0; id < count; ++id) {
        char value[64];
        std::snprintf(value, sizeof value, "value %u %g", id,
                      static_cast<double>(expected.startValues[id]));
        lines.push_back("begin " + std::to_string(id));
        lines.emplace_back(value);
        lines.push_back("end " + std::to_string(id));
    }
    EXPECT_EQ(editor.takeEvents(), lines);
    EXPECT_EQ(view().presetName(), NSString("Custom"));
    EXPECT_EQ(view().presetsButton()->title(), NSString("PRESETS \u00b7 Custom  \u25be"));
}

TEST_F(ModelEditor, PollAllocatesNothing) {
    editor.state().meter = {-20, -21, -25, -26, 4, 6, -12, -13};
    view().refresh(); // titles settle
    kelvo::testing::AllocationScope scope;
    for (int i = 0; i < 30; ++i) {
        view().refresh();
    }
    EXPECT_EQ(scope.count(), 0u);
}

TEST_F(ModelEditor, ClassesAndFactoryCarryTheProductsNames) {
    const std::string product = expected.product;
    EXPECT_EQ(std::string(classic::model.product), product);
    for (const char* suffix : {"View", "Dial", "Button"}) {
        EXPECT_NE(NSClassFromCString((product + suffix).c_str()), nullptr) << suffix;
    }
    Class cls = NSClassFromCString((product + "ViewFactory").c_str());
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(std::string(classic::model.viewFactoryClass), product + "ViewFactory");
    std::shared_ptr<NSObject> factory = cls->newInstance();
    EXPECT_EQ(factory->description().stdString(), product);
    auto* ui = dynamic_cast<AUCocoaUIBase*>(factory.get());
    ASSERT_NE(ui, nullptr);
    EXPECT_EQ(ui->interfaceVersion(), 0u);
    std::shared_ptr<NSView> made = ui->uiViewForAudioUnit(editor.unit, NSSize{});
    EXPECT_NE(dynamic_cast<KelvoView*>(made.get()), nullptr);
}

TEST_F(ModelEditor, GuideShowsTheProductsGuide) {
    view().guide(nullptr);
    const std::shared_ptr<NSWindow>& guide = view().userGuideWindow();
    ASSERT_TRUE(guide);
    EXPECT_EQ(guide->title().stdString(), std::string(expected.product) + " \u00b7 User Guide");
    auto* scroll = dynamic_cast<NSScrollView*>(guide->contentView().get());
    ASSERT_NE(scroll, nullptr);
    auto* text = dynamic_cast<NSTextView*>(scroll->documentView().get());
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->string().hasPrefix(expected.guideTitle));
}

TEST(ModelUserGuide, CoversEveryControl) {
    const std::string guide = editortest::readGuide(KELVO_USER_GUIDE);
    EXPECT_EQ(guide.rfind(expected.guideTitle, 0), 0u);
    editortest::expectGuideCoversEveryControl(guide,
                                              upper(std::string(expected.product).substr(5)));
}

} // namespace

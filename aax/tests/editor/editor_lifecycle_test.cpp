// The Fennic unit's own editor in the AAX host's window: its size, a knob drag reaching the
// host as touch, values and release, and the editor taken out of its window before the unit
// is disposed of, so nothing calls a unit that is gone.

#include "support/bridge_host.h"
#include "support/editor_window.h"

#include <AudioToolbox/AudioUnitUtilities.h>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace bridgetest;
using Kind = aaxhost::AutomationRecorder::Kind;

constexpr double artScale = 1500.0 / 1983.0;
// Fennic's Input knob, art (253, 460).
constexpr NSPoint inputKnob{253 * artScale, 460 * artScale};

const aaxhost::Module& fennic() {
    return module(productBundle("KelvoFennicAAX"));
}

// Value changes the unit announces to its listeners, per parameter.
class UnitValues {
public:
    explicit UnitValues(AudioUnit unit) {
        AUEventListenerCreate(&UnitValues::received, this, CFRunLoopGetMain(),
                              kCFRunLoopDefaultMode, 0, 0, &listener_);
        AudioUnitEvent event{};
        event.mEventType = kAudioUnitEvent_ParameterValueChange;
        event.mArgument.mParameter = {unit, kAUParameterListener_AnyParameter,
                                      kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener_, nullptr, &event);
    }
    ~UnitValues() { AUListenerDispose(listener_); }
    std::vector<float> of(AudioUnitParameterID id) const {
        std::vector<float> values;
        for (const auto& [parameter, value] : received_) {
            if (parameter == id) {
                values.push_back(value);
            }
        }
        return values;
    }

private:
    static void received(void* self, void*, const AudioUnitEvent* event, UInt64,
                         AudioUnitParameterValue value) {
        static_cast<UnitValues*>(self)->received_.emplace_back(
            event->mArgument.mParameter.mParameterID, value);
    }
    AUEventListenerRef listener_ = nullptr;
    std::vector<std::pair<AudioUnitParameterID, float>> received_;
};

TEST(FennicEditor, ShowsInTheHostsWindowAtItsOwnSize) {
    const auto effect = instance(fennic(), 2);
    EditorWindow editor(*effect);
    ASSERT_NE(editor.view(), nullptr);
    EXPECT_EQ(editor.fallbackText(), "");
    AAX_Point size{};
    editor.gui().GetViewSize(&size);
    EXPECT_EQ(size.horz, 1500.0f);
    EXPECT_EQ(size.vert, static_cast<float>(599.8487140695914));
    editor.gui().TimerWakeup();
    const auto& requests = editor.container().requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].size.horz, 1500.0f);
    EXPECT_EQ(requests[0].size.vert, static_cast<float>(599.8487140695914));

    // "UI 75%": the frame shrinks, the bounds stay, and the host's window follows.
    NSPopUpButton* scale = nullptr;
    for (const auto& subview : editor.view()->subviews()) {
        if (auto* menu = dynamic_cast<NSPopUpButton*>(subview.get())) {
            scale = menu;
        }
    }
    ASSERT_NE(scale, nullptr);
    scale->selectItemAtIndex(0);
    scale->sendAction(scale->action(), nullptr);
    editor.gui().TimerWakeup();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].size.horz, 1125.0f);
    EXPECT_EQ(requests[1].size.vert, static_cast<float>(599.8487140695914 * 0.75));
    EXPECT_EQ(editor.container().window().frame().size.width, 1125);
}

// The host hears one touch, each value and one release; the values it sends back are the
// unit's own and are not set again (the unit announces each value once, as its editor set it).
TEST(FennicEditor, AKnobDragReachesTheHostAsTouchValuesAndRelease) {
    const ManualClock clock;
    const auto effect = instance(fennic(), 2);
    UnitValues unitValues(unitOf(*effect));
    EditorWindow editor(*effect);
    effect->automation().requests.clear();
    editor.drag(inputKnob, 0, -60);
    pumpMainRunLoop(0.05); // the bridge's listener delivers every 5 ms

    const auto& requests = effect->automation().requests;
    ASSERT_GE(requests.size(), 3u);
    EXPECT_EQ(requests.front().kind, Kind::touch);
    EXPECT_EQ(requests.back().kind, Kind::release);
    std::size_t sets = 0;
    for (const auto& request : requests) {
        EXPECT_EQ(request.parameter, "au_0");
        sets += request.kind == Kind::set;
    }
    EXPECT_EQ(sets, requests.size() - 2) << "one touch and one release";
    const std::vector<float> announced = unitValues.of(0);
    ASSERT_FALSE(announced.empty());
    EXPECT_EQ(announced.size(), 10u) << "each drag step once";
    EXPECT_GE(sets, 1u);
    EXPECT_LE(sets, announced.size());
    EXPECT_FLOAT_EQ(static_cast<float>(realValue(*effect, "au_0")), announced.back());
    EXPECT_EQ(unitValue(*effect, 0), announced.back());
}

// Uninitialize during a drag, the host keeping the GUI: the editor leaves the window while
// the unit exists (the drag ends, the host hears the release), and the run loop afterwards
// finds nothing that calls the disposed unit (AddressSanitizer would report the call). A new
// window then shows why there is no editor.
TEST(FennicEditor, UninitializeTakesTheEditorOutOfItsWindowFirst) {
    const ManualClock clock;
    const auto effect = instance(fennic(), 2);
    EditorWindow editor(*effect);
    ASSERT_NE(editor.view(), nullptr);
    const std::shared_ptr<NSView> kept = editor.view()->superview()->subviews().front();
    editor.drag(inputKnob, 0, -30, false);
    pumpMainRunLoop(0.05);
    effect->automation().requests.clear();

    ASSERT_EQ(effect->effect().Uninitialize(), AAX_SUCCESS);
    EXPECT_EQ(kept->window(), nullptr);
    EXPECT_TRUE(editor.container().view().subviews().empty());
    const auto& requests = effect->automation().requests;
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, Kind::release);
    EXPECT_EQ(requests[0].parameter, "au_0");

    for (int i = 0; i < 30; ++i) {
        pumpMainRunLoop(1.0 / 30);
        editor.gui().TimerWakeup();
    }
    aaxhost::CocoaViewContainer again(AAX_Point{100, 600});
    editor.gui().SetViewContainer(&again);
    ASSERT_EQ(again.view().subviews().size(), 1u);
    auto* field = dynamic_cast<NSTextField*>(again.view().subviews().front().get());
    ASSERT_NE(field, nullptr) << "the editor of the disposed unit is not shown again";
    EXPECT_EQ(field->stringValue().stdString(),
              "KELVO editor unavailable: native editor requires same-process AAX Native host");
    pumpMainRunLoop(1.0);
    editor.gui().SetViewContainer(&editor.container());
}

} // namespace

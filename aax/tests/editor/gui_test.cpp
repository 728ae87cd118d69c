// The editor object with the probe unit's editor classes: the size it reports to the host's
// container and when, and the fallback field whenever no editor can be made, whatever the
// unit's Cocoa view property holds.

#include "support/bridge_host.h"
#include "support/editor_window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>

namespace {

using namespace bridgetest;

class ProbeEditor : public ::testing::Test {
protected:
    void SetUp() override { configureProbe(withEditor()); }
    void TearDown() override { configureProbe({}); }

    static probe::Configuration withEditor() {
        probe::Configuration configuration;
        configuration.cocoaView = true;
        return configuration;
    }
    const aaxhost::Module& probeModule() { return module(probeBundle()); }
};

// A container of a kind that holds no Cocoa view: it must be given nothing.
class OtherContainer final : public AAX_IViewContainer {
public:
    int32_t GetType() const override { return AAX_eViewContainer_Type_NULL; }
    void* GetPtr() const override { return nullptr; }
    AAX_Result SetViewSize(AAX_Point&) override {
        ++requests;
        return AAX_SUCCESS;
    }
    int requests = 0;
};

void expectSize(const aaxhost::CocoaViewContainer::Request& request, float width, float height) {
    EXPECT_EQ(request.size.horz, width);
    EXPECT_EQ(request.size.vert, height);
}

TEST_F(ProbeEditor, ReportsTheSizeOnceForEachContainerAndThenEachChange) {
    const auto effect = instance(probeModule(), 2);
    EditorWindow editor(*effect);
    NSView* view = editor.view();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(editor.fallbackText(), "") << "the probe's own editor";
    AAX_Point size{};
    EXPECT_EQ(editor.gui().GetViewSize(&size), AAX_SUCCESS);
    EXPECT_EQ(size.horz, 320.0f);
    EXPECT_EQ(size.vert, 200.0f);
    EXPECT_EQ(editor.gui().GetViewSize(nullptr), AAX_ERROR_NULL_ARGUMENT);

    const auto& requests = editor.container().requests();
    EXPECT_TRUE(requests.empty()) << "nothing before the first periodic call";
    EXPECT_EQ(editor.gui().TimerWakeup(), AAX_SUCCESS);
    ASSERT_EQ(requests.size(), 1u);
    expectSize(requests[0], 320, 200);
    editor.gui().TimerWakeup();
    EXPECT_EQ(requests.size(), 1u) << "an unchanged size is not reported again";

    // Zero and not a number are never reported, and coming back to the size last accepted
    // tells the host nothing new.
    for (const NSSize bad : {NSSize{0, 0}, NSSize{NAN, 200}, NSSize{320, INFINITY}}) {
        view->setFrameSize(bad);
        editor.gui().TimerWakeup();
    }
    view->setFrameSize(NSSize{320, 200});
    editor.gui().TimerWakeup();
    EXPECT_EQ(requests.size(), 1u);

    // The size the view takes in its container is its frame: scaled, it reports the new size.
    view->setFrameSize(NSSize{160, 100});
    view->setBoundsSize(NSSize{320, 200});
    editor.gui().TimerWakeup();
    ASSERT_EQ(requests.size(), 2u);
    expectSize(requests[1], 160, 100);
    EXPECT_EQ(editor.container().window().frame().size.width, 160);

    // A new container hears the size at the first call, though it did not change.
    aaxhost::CocoaViewContainer second(AAX_Point{100, 160});
    editor.gui().SetViewContainer(&second);
    EXPECT_EQ(editor.container().view().subviews().size(), 0u);
    ASSERT_EQ(second.view().subviews().size(), 1u);
    editor.gui().TimerWakeup();
    editor.gui().TimerWakeup();
    ASSERT_EQ(second.requests().size(), 1u);
    expectSize(second.requests()[0], 160, 100);

    // A container that refuses is asked again at every call until it accepts.
    aaxhost::CocoaViewContainer refusing(AAX_Point{100, 160});
    refusing.refuse = true;
    editor.gui().SetViewContainer(&refusing);
    editor.gui().TimerWakeup();
    editor.gui().TimerWakeup();
    refusing.refuse = false;
    editor.gui().TimerWakeup();
    editor.gui().TimerWakeup();
    ASSERT_EQ(refusing.requests().size(), 3u);
    EXPECT_FALSE(refusing.requests()[1].accepted);
    EXPECT_TRUE(refusing.requests()[2].accepted);

    OtherContainer other;
    editor.gui().SetViewContainer(&other);
    editor.gui().TimerWakeup();
    EXPECT_EQ(other.requests, 0);
    EXPECT_EQ(view->superview(), nullptr) << "the view is in no container of another kind";
    editor.gui().SetViewContainer(&editor.container());
}

TEST_F(ProbeEditor, BeforeItsContentsTheEditorIsTheFallbacksSize) {
    const auto effect = instance(probeModule(), 2);
    const auto create = reinterpret_cast<AAX_CreateEffectGUIProc>(
        probeModule().description.effects.at(0).procedure(AAX_eProcPtrID_Create_EffectGUI));
    ASSERT_NE(create, nullptr);
    const std::unique_ptr<AAX_IEffectGUI> gui(create());
    AAX_Point size{};
    EXPECT_EQ(gui->GetViewSize(&size), AAX_SUCCESS);
    EXPECT_EQ(size.horz, 600.0f);
    EXPECT_EQ(size.vert, 100.0f);
    EXPECT_EQ(gui->TimerWakeup(), AAX_SUCCESS);
}

// Whatever the property holds, the editor is made or the field says why; nothing the unit
// handed over is leaked (AddressSanitizer) or released twice.
TEST_F(ProbeEditor, ShowsTheFallbackFieldWithTheReason) {
    struct Case {
        const char* what;
        std::function<void(probe::Configuration&)> set;
        const char* text; // null: the probe's editor
    };
    const Case cases[] = {
        {"no property", [](auto& c) { c.cocoaView = false; }, "invalid native editor property"},
        {"no URL", [](auto& c) { c.nullViewURL = true; }, "native editor property unavailable"},
        {"no URL, two names",
         [](auto& c) {
             c.nullViewURL = true;
             c.viewNames = c.viewNamesWritten = 2;
         },
         "native editor property unavailable"},
        {"a class that is no factory",
         [](auto& c) { std::strcpy(c.viewClass, "KelvoProbeNotAFactory"); },
         "native editor creation failed"},
        {"a factory that makes no view",
         [](auto& c) { std::strcpy(c.viewClass, "KelvoProbeBlankFactory"); },
         "native editor creation failed"},
        {"fewer names than announced, none makes a view",
         [](auto& c) {
             std::strcpy(c.viewClass, "KelvoProbeBlankFactory");
             c.viewNames = 3;
             c.viewNamesWritten = 1;
         },
         "native editor creation failed"},
        {"a view under 10 points", [](auto& c) { c.viewHeight = 9.5; },
         "native editor creation failed"},
        {"a view of no number", [](auto& c) { c.viewWidth = NAN; },
         "native editor creation failed"},
        {"fewer names than announced", [](auto& c) { c.viewNames = 3; }, nullptr},
        {"an unknown class first",
         [](auto& c) {
             std::strcpy(c.viewClass, "KelvoProbeNoSuchClass");
             c.viewNames = c.viewNamesWritten = 2;
         },
         nullptr},
    };
    for (const Case& c : cases) {
        probe::Configuration configuration = withEditor();
        c.set(configuration);
        configureProbe(configuration);
        const auto effect = instance(probeModule(), 2);
        EditorWindow editor(*effect);
        ASSERT_NE(editor.view(), nullptr) << c.what;
        if (c.text == nullptr) {
            EXPECT_EQ(editor.fallbackText(), "") << c.what;
            EXPECT_EQ(editor.view()->frame().size.width, 320) << c.what;
            continue;
        }
        EXPECT_EQ(editor.fallbackText(), std::string("KELVO editor unavailable: ") + c.text)
            << c.what;
        auto* field = dynamic_cast<NSTextField*>(editor.view());
        ASSERT_NE(field, nullptr);
        EXPECT_FALSE(field->isEditable());
        EXPECT_FALSE(field->isBezeled());
        EXPECT_TRUE(NSEqualRects(field->frame(), CGRectMake(0, 0, 600, 100))) << c.what;
        editor.gui().TimerWakeup();
        ASSERT_EQ(editor.container().requests().size(), 1u);
        expectSize(editor.container().requests()[0], 600, 100);
    }
}

TEST_F(ProbeEditor, AnEditorOpenedOffTheMainThreadIsRefused) {
    const auto effect = instance(probeModule(), 2);
    std::unique_ptr<AAX_IEffectGUI> gui;
    std::thread([&] { gui = effect->openGUI(); }).join();
    ASSERT_NE(gui, nullptr);
    aaxhost::CocoaViewContainer container(AAX_Point{100, 600});
    gui->SetViewContainer(&container);
    ASSERT_EQ(container.view().subviews().size(), 1u);
    auto* field = dynamic_cast<NSTextField*>(container.view().subviews().front().get());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->stringValue().stdString(),
              "KELVO editor unavailable: native editor must be opened on the main thread");
    gui->SetViewContainer(nullptr);
}

// Custom data that names another process, or no unit: the editor is not this process's to
// open.
TEST_F(ProbeEditor, ANonNativeHostOrAFailedInstanceGetsTheFallback) {
    const std::string notHere =
        "KELVO editor unavailable: native editor requires same-process AAX Native host";
    {
        const auto effect = instance(probeModule(), 2);
        EditorWindow editor(*effect, aaxhost::GUIProcess::other);
        EXPECT_EQ(editor.fallbackText(), notHere) << "a GUI in another process";
    }
    {
        // Initialisation fails with an exception: no backend, no unit.
        probe::Configuration wide = withEditor();
        wide.wide = true; // 257 writable parameters
        configureProbe(wide);
        const auto effect = instance(probeModule(), 2, 48000.0, false);
        const LogCapture log;
        ASSERT_EQ(effect->initialize(), AAX_ERROR_INITIALIZATION_FAILED);
        EditorWindow editor(*effect);
        EXPECT_EQ(editor.fallbackText(), notHere) << "an instance whose initialisation failed";
    }
}

} // namespace

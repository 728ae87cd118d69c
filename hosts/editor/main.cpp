// kelvo-editor MODEL --png OUT.png [actions...]
//
// Opens a unit as a host does, asks it for its Cocoa view, puts the view in a window,
// performs the actions in order, runs the 30 Hz poll and writes the window as a PNG. Prints
// the parameter changes and gesture events the unit's listeners received, one per line.

#include "action_player.h"
#include "actions.h"
#include "event_log.h"
#include "first_input.h"
#include "main_loop.h"

#include "audio_file.h"
#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "parameter_lookup.h"
#include "playable_input.h"
#include "printable_text.h"
#include "program_main.h"

#include <AppKit/AppKit.h>
#include <AudioUnit/AUCocoaUIView.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>

using namespace kelvohost;

namespace {

constexpr UInt32 blockFrames = 512;

// The view the unit's Cocoa view property leads to: its bundle, then its factory class by
// name, then the factory's view.
std::shared_ptr<NSView> makeEditorView(AudioUnit unit) {
    UInt32 size = 0;
    Boolean writable = false;
    if (AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &size,
                                 &writable) != noErr ||
        size < sizeof(AudioUnitCocoaViewInfo)) {
        throw InputError("the unit offers no Cocoa view");
    }
    std::vector<std::max_align_t> storage(size / sizeof(std::max_align_t) + 1);
    auto* info = reinterpret_cast<AudioUnitCocoaViewInfo*>(storage.data());
    if (const OSStatus status = AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI,
                                                     kAudioUnitScope_Global, 0, info, &size);
        status != noErr) {
        throw UnitError("reading the Cocoa view property", status);
    }
    const NSURL bundleURL = NSURL::bridgeTransfer(info->mCocoaAUViewBundleLocation);
    const std::size_t classCount = (size - sizeof(CFURLRef)) / sizeof(CFStringRef);
    std::vector<NSString> classNames;
    for (std::size_t i = 0; i < classCount; ++i) {
        classNames.push_back(NSString::bridgeTransfer(info->mCocoaAUViewClass[i]));
    }
    if (std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithURL(bundleURL)) {
        bundle->load();
    }
    for (const NSString& name : classNames) {
        Class cls = NSClassFromString(name);
        if (cls == nullptr || !cls->instancesRespondToSelector("uiViewForAudioUnit:withSize:")) {
            continue;
        }
        std::shared_ptr<NSObject> factory = cls->newInstance();
        if (auto* ui = dynamic_cast<AUCocoaUIBase*>(factory.get())) {
            if (std::shared_ptr<NSView> view = ui->uiViewForAudioUnit(unit, NSSize{})) {
                return view;
            }
        }
    }
    throw InputError("the unit's view factory made no view");
}

// The editor's window: a plain content view holding the editor at its origin, sized to it.
class EditorWindow {
public:
    explicit EditorWindow(const std::shared_ptr<NSView>& view) : view_(view) {
        const NSRect frame = view->frame();
        window_ = std::make_shared<NSWindow>(CGRectMake(0, 0, frame.size.width, frame.size.height),
                                             NSWindowStyleMaskTitled | NSWindowStyleMaskClosable,
                                             NSBackingStoreBuffered, false);
        auto content =
            std::make_shared<NSView>(CGRectMake(0, 0, frame.size.width, frame.size.height));
        window_->setContentView(content);
        view->setFrameOrigin(NSPoint{0, 0});
        content->addSubview(view);
        window_->makeKeyAndOrderFront(nullptr);
    }
    ~EditorWindow() { view_->removeFromSuperview(); }

    NSWindow& window() { return *window_; }
    NSView& view() { return *view_; }

    // Follows the editor's frame after an interface size change.
    void fit() {
        const NSSize size = view_->frame().size;
        window_->setContentSize(size);
        window_->contentView()->setFrameSize(size);
        view_->setFrameOrigin(NSPoint{0, 0});
    }

private:
    std::shared_ptr<NSView> view_;
    std::shared_ptr<NSWindow> window_;
};

// What kelvo-editor does for the host's actions: straight through the unit.
class UnitActions : public EditorHostActions {
public:
    UnitActions(HostedUnit& unit, const std::vector<ParameterDescription>& parameters,
                EditorWindow& window, const FirstInput& first)
        : unit_(unit), parameters_(parameters), window_(window), first_(first) {}

    void set(const std::string& assignment) override {
        const auto [name, text] = splitAssignment(assignment);
        const ParameterDescription& parameter = findParameter(parameters_, name);
        const float value = parseParameterValue(parameter, text);
        if (const OSStatus status = unit_.setParameter(parameter.id, value); status != noErr) {
            throw UnitError("AudioUnitSetParameter", status);
        }
    }

    void input(const std::string& path) override { render(first_.audioFor(path)); }

    void followSize() override { window_.fit(); }

private:
    void render(const AudioData& audio) {
        std::vector<std::vector<float>> output(unit_.channels(), std::vector<float>(blockFrames));
        std::vector<const float*> in(unit_.channels());
        std::vector<float*> out(unit_.channels());
        for (std::size_t start = 0; start < audio.frameCount(); start += blockFrames) {
            const UInt32 frames =
                static_cast<UInt32>(std::min<std::size_t>(blockFrames, audio.frameCount() - start));
            for (unsigned c = 0; c < unit_.channels(); ++c) {
                in[c] = audio.channels[std::min(c, audio.channelCount() - 1)].data() + start;
                out[c] = output[c].data();
            }
            if (const OSStatus status = unit_.render(in.data(), out.data(), frames);
                status != noErr) {
                throw UnitError("AudioUnitRender", status);
            }
        }
    }

    HostedUnit& unit_;
    const std::vector<ParameterDescription>& parameters_;
    EditorWindow& window_;
    const FirstInput& first_;
};

int run(int argc, char** argv) {
    startManualClock();
    EditorCommand command;
    std::string error;
    if (!parseCommand(argc, argv, command, error)) {
        std::cerr << "kelvo-editor: " << printableText(error) << "\n" << editorUsage();
        return exitBadInput;
    }
    // The user preset folder lies under the home folder, read on every use.
    if (!command.home.empty()) {
        setenv("HOME", command.home.c_str(), 1);
    }

    // The first input file decides the stream format; without one, 48 kHz stereo.
    const FirstInput first = firstInput(command.actions);
    const BundleLocation location = resolveModel(command.model, defaultSearchFolders());
    const std::unique_ptr<LoadedComponent> component = loadComponent(location);
    HostedUnit unit(*component);
    configureForInput(unit, location.product, first.path, first.sampleRate, first.channels,
                      blockFrames);
    initializeForInput(unit, location.product);
    const std::vector<ParameterDescription> parameters = unit.parameters();
    std::vector<std::string> names;
    for (const ParameterDescription& p : parameters) {
        if (names.size() <= p.id) {
            names.resize(p.id + 1);
        }
        names[p.id] = p.name;
    }
    EventLog log(unit.handle(), names);

    std::shared_ptr<NSView> view = makeEditorView(unit.handle());
    EditorWindow window(view);
    UnitActions actions(unit, parameters, window, first);
    EditorInput input(window.window(), window.view());
    ActionPlayer player(input, actions);
    pumpMainRunLoop();
    for (const EditorAction& action : command.actions) {
        player.perform(action);
    }

    if (command.timingRuns > 0) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < command.timingRuns; ++i) {
            player.poll(); // the timer's refresh, then the redraw it asked for
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "kelvo-editor: refresh and full redraw %.3f ms (mean of %d)\n",
                     seconds * 1000 / command.timingRuns, command.timingRuns);
    }

    player.writeImages(command.png);
    pumpMainRunLoop();
    for (const std::string& line : log.lines()) {
        std::cout << line << "\n";
    }
    for (const std::string& line : player.presetLines()) {
        std::cout << line << "\n";
    }
    return exitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    return runProgram("kelvo-editor", [&] { return run(argc, argv); });
}

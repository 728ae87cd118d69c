// kelvo-editor MODEL --png OUT.png [actions...]
//
// Opens a unit as a host does, asks it for its Cocoa view, puts the view in a window,
// performs the actions in order, runs the 30 Hz poll and writes the window as a PNG. Prints
// the parameter changes and gesture events the unit's listeners received, one per line.

#include "actions.h"
#include "event_log.h"
#include "main_loop.h"

#include "audio_file.h"
#include "bundle_discovery.h"
#include "component_loader.h"
#include "host_error.h"
#include "hosted_unit.h"
#include "parameter_lookup.h"

#include <AppKit/AppKit.h>
#include <AppKit/AppKitHost.h>
#include <AppKit/ScriptedUserInterface.h>
#include <AudioUnit/AUCocoaUIView.h>

#include <chrono>
#include <cmath>
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

    // A point of the flipped view at 100 % (its bounds) in window coordinates (y up).
    NSPoint toWindow(double x, double y) const {
        return view_->convertPointToView(NSPoint{x, y}, nullptr);
    }

    void mouse(NSEventType type, NSPoint at, NSInteger clicks, NSEventModifierFlags flags) {
        NSEvent event =
            NSEvent::mouseEventWithType(type, at, flags, now(), window_->windowNumber(), clicks);
        send(event);
    }

    // One turn of the event loop per event, so the listener hears every value of a drag.
    void send(NSEvent& event) {
        window_->sendEvent(&event);
        pumpMainRunLoop();
    }

    void click(double x, double y, NSInteger clicks, bool shift = false) {
        const NSEventModifierFlags flags = modifiers(shift);
        appkit::setModifierFlags(flags);
        const NSPoint at = toWindow(x, y);
        mouse(NSEventTypeLeftMouseDown, at, clicks, flags);
        mouse(NSEventTypeLeftMouseUp, at, clicks, flags);
        appkit::setModifierFlags(0);
    }

    void drag(const EditorAction& a) {
        const NSEventModifierFlags flags = modifiers(a.shift);
        appkit::setModifierFlags(flags);
        mouse(NSEventTypeLeftMouseDown, toWindow(a.x, a.y), 1, flags);
        // The drag arrives in steps, as a mouse reports it.
        const int steps = 10;
        for (int i = 1; i <= steps; ++i) {
            const double f = static_cast<double>(i) / steps;
            mouse(NSEventTypeLeftMouseDragged, toWindow(a.x + a.dx * f, a.y + a.dy * f), 1, flags);
        }
        mouse(NSEventTypeLeftMouseUp, toWindow(a.x + a.dx, a.y + a.dy), 1, flags);
        appkit::setModifierFlags(0);
    }

    void wheel(const EditorAction& a) {
        NSEvent event = NSEvent::scrollWheelEvent(toWindow(a.x, a.y), 0, a.dy, 0, now(),
                                                  window_->windowNumber());
        send(event);
    }

    void key(const EditorAction& a) {
        // The control under the point takes the keys, as it would after being clicked.
        const NSPoint at = toWindow(a.x, a.y);
        NSView* target = window_->contentView()->hitTest(at);
        window_->makeFirstResponder(target);
        const unsigned short code = a.text == "left"    ? 123
                                    : a.text == "right" ? 124
                                    : a.text == "down"  ? 125
                                                        : 126;
        NSEvent event = NSEvent::keyEventWithType(NSEventTypeKeyDown, at, 0, now(),
                                                  window_->windowNumber(), "", "", false, code);
        send(event);
    }

private:
    static NSEventModifierFlags modifiers(bool shift) {
        return shift ? static_cast<NSEventModifierFlags>(NSEventModifierFlagShift) : 0;
    }

    static NSTimeInterval now() {
        static const auto start = std::chrono::steady_clock::now();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    std::shared_ptr<NSView> view_;
    std::shared_ptr<NSWindow> window_;
};

// The interface size pop-up is the view's only pop-up button.
NSPopUpButton* scaleMenu(NSView& view) {
    for (const std::shared_ptr<NSView>& subview : view.subviews()) {
        if (auto* menu = dynamic_cast<NSPopUpButton*>(subview.get())) {
            return menu;
        }
    }
    return nullptr;
}

// The user's answers as the command line gives them; a menu path that names no item is an
// error of the command line, not a cancelled menu.
class CommandLineAnswers : public appkit::ScriptedUserInterface {
public:
    std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu& menu, NSPoint location,
                                               const NSView* view) override {
        const std::string answer = menuAnswers.empty() ? "" : menuAnswers.front();
        std::shared_ptr<NSMenuItem> item =
            ScriptedUserInterface::chooseMenuItem(menu, location, view);
        if (!item && !answer.empty() && answer != kCancel) {
            missed = answer;
        }
        return item;
    }
    std::string missed;
};

// A point of the faceplate in art units (1983 by 793) as a view point at 100 %.
constexpr double artScale = 0.75642965204236; // 1500 / 1983

// The PRESETS button's title, as the faceplate shows it.
std::string presetTitle(NSView& view) {
    for (const std::shared_ptr<NSView>& subview : view.subviews()) {
        if (auto* button = dynamic_cast<NSButton*>(subview.get());
            button != nullptr && button->title().hasPrefix("PRESETS")) {
            return button->title().stdString();
        }
    }
    return "";
}

// OUT.png gives OUT-guide.png.
std::string guidePNG(const std::string& png) {
    const std::string suffix = ".png";
    const bool hasSuffix = png.size() > suffix.size() &&
                           png.compare(png.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (hasSuffix ? png.substr(0, png.size() - suffix.size()) : png) + "-guide.png";
}

void renderInput(HostedUnit& unit, const AudioData& audio) {
    std::vector<std::vector<float>> output(unit.channels(), std::vector<float>(blockFrames));
    std::vector<const float*> in(unit.channels());
    std::vector<float*> out(unit.channels());
    for (std::size_t start = 0; start < audio.frameCount(); start += blockFrames) {
        const UInt32 frames =
            static_cast<UInt32>(std::min<std::size_t>(blockFrames, audio.frameCount() - start));
        for (unsigned c = 0; c < unit.channels(); ++c) {
            in[c] = audio.channels[std::min(c, audio.channelCount() - 1)].data() + start;
            out[c] = output[c].data();
        }
        if (const OSStatus status = unit.render(in.data(), out.data(), frames); status != noErr) {
            throw UnitError("AudioUnitRender", status);
        }
    }
}

int run(int argc, char** argv) {
    startManualClock();
    EditorCommand command;
    std::string error;
    if (!parseCommand(argc, argv, command, error)) {
        std::cerr << "kelvo-editor: " << error << "\n" << editorUsage;
        return exitBadInput;
    }
    // The user preset folder lies under the home folder, read on every use.
    if (!command.home.empty()) {
        setenv("HOME", command.home.c_str(), 1);
    }
    const auto answers = std::make_shared<CommandLineAnswers>();
    appkit::setUserInterfaceHost(answers);
    bool presetsUsed = false;
    bool guideShown = false;

    // The first input file decides the stream format; without one, 48 kHz stereo.
    AudioData firstInput;
    std::string firstInputPath;
    bool haveInput = false;
    for (const EditorAction& action : command.actions) {
        if (action.kind == EditorAction::Kind::input && !haveInput) {
            firstInput = readAudioFile(action.text);
            firstInputPath = action.text;
            haveInput = true;
        }
    }
    const double rate = haveInput ? firstInput.sampleRate : 48000.0;
    const unsigned channels = haveInput ? std::min(2u, firstInput.channelCount()) : 2u;

    const BundleLocation location = resolveModel(command.model, defaultSearchFolders());
    const std::unique_ptr<LoadedComponent> component = loadComponent(location);
    HostedUnit unit(*component);
    if (const OSStatus status = unit.configure(rate, channels, blockFrames); status != noErr) {
        throw UnitError("configuring the unit", status);
    }
    if (const OSStatus status = unit.initialize(); status != noErr) {
        throw UnitError("AudioUnitInitialize", status);
    }
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
    pumpMainRunLoop();

    for (const EditorAction& action : command.actions) {
        switch (action.kind) {
        case EditorAction::Kind::set: {
            const auto [name, text] = splitAssignment(action.text);
            const ParameterDescription& parameter = findParameter(parameters, name);
            const float value = parseParameterValue(parameter, text);
            if (const OSStatus status = unit.setParameter(parameter.id, value); status != noErr) {
                throw UnitError("AudioUnitSetParameter", status);
            }
            break;
        }
        case EditorAction::Kind::input:
            renderInput(unit,
                        action.text == firstInputPath ? firstInput : readAudioFile(action.text));
            break;
        case EditorAction::Kind::click:
            window.click(action.x, action.y, 1, action.shift);
            break;
        case EditorAction::Kind::doubleClick:
            window.click(action.x, action.y, 1, action.shift);
            window.click(action.x, action.y, 2, action.shift);
            break;
        case EditorAction::Kind::drag:
            window.drag(action);
            break;
        case EditorAction::Kind::wheel:
            window.wheel(action);
            break;
        case EditorAction::Kind::key:
            window.key(action);
            break;
        case EditorAction::Kind::detail:
            // The DETAIL button's centre: art (1584, 40) at 1500/1983 points per unit.
            window.click(1584 * 0.75642965204236, 40 * 0.75642965204236, 1);
            break;
        case EditorAction::Kind::scale:
            if (NSPopUpButton* menu = scaleMenu(window.view())) {
                menu->selectItemAtIndex(action.count == 75 ? 0 : action.count == 85 ? 1 : 2);
                menu->sendAction(menu->action(), nullptr);
                window.fit();
            }
            break;
        case EditorAction::Kind::ticks:
            for (int i = 0; i < action.count; ++i) {
                advancePoll();
            }
            break;
        case EditorAction::Kind::presetMenu:
            // The menu and the panel it opens ask their answers while PRESETS is clicked.
            answers->queueMenuAnswer(action.text);
            if (!action.answer.empty()) {
                answers->queueFileAnswer(action.answer);
            }
            window.click(1120 * artScale, 40 * artScale, 1); // PRESETS
            pumpMainRunLoop();                               // the sheet's completion
            answers->fileAnswers.clear();
            if (!answers->missed.empty()) {
                throw InputError("the preset menu has no item \"" + answers->missed + "\"");
            }
            presetsUsed = true;
            break;
        case EditorAction::Kind::helpMode:
            window.click(1887.5 * artScale, 40 * artScale, 1); // ?
            break;
        case EditorAction::Kind::hover:
            appkit::setMouseLocation(
                window.window().convertPointToScreen(window.toWindow(action.x, action.y)));
            advancePoll(); // help mode follows the mouse at the poll
            break;
        case EditorAction::Kind::guide:
            window.click(1761 * artScale, 40 * artScale, 1); // GUIDE
            guideShown = true;
            break;
        }
        pumpMainRunLoop();
    }

    if (command.timingRuns > 0) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < command.timingRuns; ++i) {
            advancePoll(); // the timer's refresh, then the redraw it asked for
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::fprintf(stderr, "kelvo-editor: refresh and full redraw %.3f ms (mean of %d)\n",
                     seconds * 1000 / command.timingRuns, command.timingRuns);
    }

    window.window().display();
    if (!window.window().writePNG(command.png.c_str())) {
        throw InputError("cannot write " + command.png);
    }
    if (guideShown) {
        const std::vector<std::shared_ptr<NSWindow>>& children = window.window().childWindows();
        if (children.empty()) {
            throw InputError("GUIDE showed no window");
        }
        children.front()->display();
        if (!children.front()->writePNG(guidePNG(command.png).c_str())) {
            throw InputError("cannot write " + guidePNG(command.png));
        }
    }
    pumpMainRunLoop();
    for (const std::string& line : log.lines()) {
        std::cout << line << "\n";
    }
    // What the preset commands showed: sheets, then the PRESETS title.
    for (const auto& alert : answers->alertsShown) {
        std::cout << "alert " << alert.messageText << ": " << alert.informativeText << "\n";
    }
    if (presetsUsed) {
        std::cout << "title " << presetTitle(window.view()) << "\n";
    }
    appkit::setUserInterfaceHost(nullptr);
    return exitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(argc, argv);
    } catch (const InputError& e) {
        std::cerr << "kelvo-editor: " << e.what() << "\n";
        return exitBadInput;
    } catch (const std::exception& e) {
        std::cerr << "kelvo-editor: " << e.what() << "\n";
        return exitFailure;
    }
}

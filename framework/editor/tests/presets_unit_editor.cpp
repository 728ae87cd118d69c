#include "presets_unit_editor.h"
#include "event_line.h"

#include "model.h"

#include <AppKit/AppKitHost.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern "C" void* KelvoTolvarFactory(const AudioComponentDescription* description);

namespace {

AudioComponentPlugInInterface* tolvarFactory(const AudioComponentDescription* description) {
    return static_cast<AudioComponentPlugInInterface*>(KelvoTolvarFactory(description));
}

AudioComponent tolvarComponent() {
    static const AudioComponent component = [] {
        const AudioComponentDescription description{'aufx', classic::model.subtype, 'Kvlo', 0, 0};
        return AudioComponentRegister(&description, nullptr, 0x10000, &tolvarFactory);
    }();
    return component;
}

} // namespace

std::shared_ptr<NSMenuItem>
RecordingUserInterface::chooseMenuItem(const NSMenu& menu, NSPoint location, const NSView* view) {
    menuLocations.push_back(location);
    menuViews.push_back(view);
    return ScriptedUserInterface::chooseMenuItem(menu, location, view);
}

TemporaryFolder::TemporaryFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "kelvo-presets-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("no temporary folder");
    }
    path_ = pattern;
}

TemporaryFolder::~TemporaryFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

TemporaryHome::TemporaryHome() {
    if (const char* home = std::getenv("HOME")) {
        saved_ = home;
        hadHome_ = true;
    }
    setenv("HOME", folder_.path().c_str(), 1);
}

TemporaryHome::~TemporaryHome() {
    if (hadHome_) {
        setenv("HOME", saved_.c_str(), 1);
    } else {
        unsetenv("HOME");
    }
}

std::string TemporaryHome::presetFolder() const {
    return path() + "/Library/Audio/Presets/Kelvo Audio Lab/KelvoTolvar/User Presets";
}

AudioUnit makeTolvarUnit() {
    AudioComponentInstance instance = nullptr;
    if (AudioComponentInstanceNew(tolvarComponent(), &instance) != noErr) {
        throw std::runtime_error("no Tolvar unit");
    }
    return instance;
}

UnitEditor::UnitEditor(AudioUnit handle) : unit(handle) {
    ui = std::make_shared<RecordingUserInterface>();
    appkit::setUserInterfaceHost(ui);
    AUEventListenerCreate(&UnitEditor::received, this, CFRunLoopGetMain(), kCFRunLoopDefaultMode, 0,
                          0, &listener_);
    for (AudioUnitEventType type :
         {kAudioUnitEvent_ParameterValueChange, kAudioUnitEvent_BeginParameterChangeGesture,
          kAudioUnitEvent_EndParameterChangeGesture}) {
        AudioUnitEvent event{};
        event.mEventType = type;
        event.mArgument.mParameter = {unit, kAUParameterListener_AnyParameter,
                                      kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener_, nullptr, &event);
    }
    for (AudioUnitPropertyID property :
         {kAudioUnitProperty_ClassInfo, kAudioUnitProperty_PresentPreset}) {
        AudioUnitEvent event{};
        event.mEventType = kAudioUnitEvent_PropertyChange;
        event.mArgument.mProperty = {unit, property, kAudioUnitScope_Global, 0};
        AUEventListenerAddEventType(listener_, nullptr, &event);
    }
    AudioUnitAddPropertyListener(unit, kAudioUnitProperty_PresentPreset,
                                 &UnitEditor::presentPresetChanged, this);

    view = KelvoView::initWithUnit(unit);
    window = std::make_shared<NSWindow>(CGRectMake(0, 0, 1500, 599.8487140695914),
                                        NSWindowStyleMaskTitled, NSBackingStoreBuffered, false);
    auto content = std::make_shared<NSView>(CGRectMake(0, 0, 1500, 599.8487140695914));
    window->setContentView(content);
    content->addSubview(view);
    window->makeKeyAndOrderFront(nullptr);
    takeEvents();
}

UnitEditor::~UnitEditor() {
    view->removeFromSuperview();
    window->close();
    window.reset();
    view.reset();
    pump(); // sheets still pending end here, before the unit goes
    AudioUnitRemovePropertyListenerWithUserData(unit, kAudioUnitProperty_PresentPreset,
                                                &UnitEditor::presentPresetChanged, this);
    AUListenerDispose(listener_);
    AudioComponentInstanceDispose(unit);
    appkit::setUserInterfaceHost(nullptr);
}

void UnitEditor::presentPresetChanged(void*, AudioUnit unit, AudioUnitPropertyID id,
                                      AudioUnitScope scope, AudioUnitElement element) {
    // Into the same queue as the editor's own notifications, so the order shows.
    AudioUnitEvent event{};
    event.mEventType = kAudioUnitEvent_PropertyChange;
    event.mArgument.mProperty = {unit, id, scope, element};
    AUEventListenerNotify(nullptr, nullptr, &event);
}

void UnitEditor::received(void* refCon, void*, const AudioUnitEvent* event, UInt64,
                          AudioUnitParameterValue value) {
    static_cast<UnitEditor*>(refCon)->events_.push_back(editortest::eventLine(*event, value));
}

void UnitEditor::pump() {
    CFRunLoopRunInMode(kCFRunLoopDefaultMode, 0, false);
}

std::vector<std::string> UnitEditor::takeEvents() {
    pump();
    std::vector<std::string> events;
    events.swap(events_);
    return events;
}

float UnitEditor::value(unsigned id) const {
    AudioUnitParameterValue v = -1;
    AudioUnitGetParameter(unit, id, kAudioUnitScope_Global, 0, &v);
    return v;
}

std::vector<float> UnitEditor::values() const {
    std::vector<float> all;
    for (unsigned id = 0; id < classic::parameterCount; ++id) {
        all.push_back(value(id));
    }
    return all;
}

std::string UnitEditor::presetTitle() const {
    return view->presetsButton()->title().stdString();
}

void UnitEditor::click(NSPoint viewPoint) {
    const NSPoint at = view->convertPointToView(viewPoint, nullptr);
    for (NSEventType type : {NSEventTypeLeftMouseDown, NSEventTypeLeftMouseUp}) {
        NSEvent event = NSEvent::mouseEventWithType(type, at, 0, 0, window->windowNumber(), 1);
        window->sendEvent(&event);
        pump();
    }
}

void UnitEditor::choose(const std::string& menuPath, const std::string& fileAnswer) {
    ui->queueMenuAnswer(menuPath);
    if (!fileAnswer.empty()) {
        ui->queueFileAnswer(fileAnswer);
    }
    const NSRect f = view->presetsButton()->frame();
    click(NSPoint{f.origin.x + f.size.width / 2, f.origin.y + f.size.height / 2});
    pump();
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

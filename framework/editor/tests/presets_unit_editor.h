#pragma once
// A Tolvar editor on the real Tolvar unit (the unit class compiled into the test and
// registered in-process), in a window on screen, with scripted user answers and a home folder
// of its own, so the preset folder starts empty in every test.
//
// Events are recorded as a host hears them, in order: "begin 0", "end 0", "value 0 3",
// "property 0" (class info) and "property 36" (present preset; the unit announces it to its
// property listener, which the harness passes on to the event queue at that moment).

#include "view/editor_view.h"

#include <AppKit/ScriptedUserInterface.h>
#include <AudioToolbox/AudioUnitUtilities.h>

#include <memory>
#include <string>
#include <vector>

// Answers as ScriptedUserInterface does and remembers where each menu popped up.
class RecordingUserInterface : public appkit::ScriptedUserInterface {
public:
    std::shared_ptr<NSMenuItem> chooseMenuItem(const NSMenu& menu, NSPoint location,
                                               const NSView* view) override;
    std::vector<NSPoint> menuLocations;
    std::vector<const NSView*> menuViews;
};

// A fresh folder under the system's temporary folder, removed with everything in it.
class TemporaryFolder {
public:
    TemporaryFolder();
    ~TemporaryFolder();
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// $HOME pointed at a temporary folder for the object's life.
class TemporaryHome {
public:
    TemporaryHome();
    ~TemporaryHome();
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;
    const std::string& path() const { return folder_.path(); }
    // <home>/Library/Audio/Presets/Kelvo Audio Lab/KelvoTolvar/User Presets
    std::string presetFolder() const;

private:
    TemporaryFolder folder_;
    std::string saved_;
    bool hadHome_ = false;
};

// The real unit, one instance. [main thread]
AudioUnit makeTolvarUnit();

class UnitEditor {
public:
    explicit UnitEditor(AudioUnit unit = makeTolvarUnit());
    ~UnitEditor();
    UnitEditor(const UnitEditor&) = delete;
    UnitEditor& operator=(const UnitEditor&) = delete;

    TemporaryHome home;
    AudioUnit unit = nullptr;
    std::shared_ptr<RecordingUserInterface> ui;
    std::shared_ptr<KelvoView> view;
    std::shared_ptr<NSWindow> window;

    // Runs the main run loop once (listener deliveries, sheet completions).
    void pump();
    // Events so far (the loop is pumped first); clears them.
    std::vector<std::string> takeEvents();
    float value(unsigned id) const;
    std::vector<float> values() const;
    // What the PRESETS button reads.
    std::string presetTitle() const;

    // A click on a view point (points of the flipped view at 100 %), through the window.
    void click(NSPoint viewPoint);
    // Clicks PRESETS and answers the menu with a title path ("Vocals/Warm Body") or "cancel";
    // fileAnswer answers the panel that follows, if any. The loop is pumped afterwards, so a
    // sheet's completion has run.
    void choose(const std::string& menuPath, const std::string& fileAnswer = "");

private:
    static void received(void* refCon, void*, const AudioUnitEvent* event, UInt64,
                         AudioUnitParameterValue value);
    static void presentPresetChanged(void* refCon, AudioUnit unit, AudioUnitPropertyID id,
                                     AudioUnitScope scope, AudioUnitElement element);
    AUEventListenerRef listener_ = nullptr;
    std::vector<std::string> events_;
};

// The file's bytes (empty when it cannot be read).
std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

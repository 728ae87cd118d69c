// The editor through the unit's Cocoa view property. The property holds the bundle's URL and
// the factory class names, each handed to us retained: every one of them is released on every
// way out, and only what the unit actually wrote is read, since a unit may return fewer names
// than the size it announced.

#include "editor/native_editor.h"

#include <AudioUnit/AUCocoaUIView.h>
#include <Foundation/Foundation.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace kelvoaax {
namespace {

constexpr UInt32 smallestProperty = 16;   // the URL and one class name
constexpr UInt32 largestProperty = 65536; // far beyond any unit's list of factories
constexpr CGFloat smallestEditor = 10;    // points, each way

} // namespace

std::shared_ptr<NSView> createNativeEditor(AudioUnit unit) {
    if (!NSThread::isMainThread()) {
        throw std::runtime_error("native editor must be opened on the main thread");
    }
    UInt32 size = 0;
    Boolean writable = false;
    if (AudioUnitGetPropertyInfo(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0, &size,
                                 &writable) != noErr ||
        size < smallestProperty || size > largestProperty) {
        throw std::runtime_error("invalid native editor property");
    }
    std::vector<uint8_t> property(size, 0);
    UInt32 written = size;
    if (AudioUnitGetProperty(unit, kAudioUnitProperty_CocoaUI, kAudioUnitScope_Global, 0,
                             property.data(), &written) != noErr) {
        throw std::runtime_error("native editor property unavailable");
    }
    written = std::min(written, size);

    // AudioUnitCocoaViewInfo: the URL, then as many names as the unit wrote. Each is ours from
    // here on, adopted before anything can throw.
    CFURLRef location = nullptr;
    if (written >= sizeof location) {
        std::memcpy(&location, property.data(), sizeof location);
    }
    std::optional<NSURL> bundleURL;
    if (location != nullptr) {
        bundleURL = NSURL::bridgeTransfer(location);
    }
    const std::size_t named =
        written >= sizeof location ? (written - sizeof location) / sizeof(CFStringRef) : 0;
    std::vector<NSString> classNames;
    for (std::size_t i = 0; i < named; ++i) {
        CFStringRef name = nullptr;
        std::memcpy(&name, property.data() + sizeof location + i * sizeof name, sizeof name);
        if (name != nullptr) {
            classNames.push_back(NSString::bridgeTransfer(name));
        }
    }
    if (!bundleURL) {
        throw std::runtime_error("native editor property unavailable");
    }

    // Loading registers the bundle's classes; the loaded code stays when the object goes.
    if (const std::shared_ptr<NSBundle> bundle = NSBundle::bundleWithURL(*bundleURL)) {
        bundle->load();
    }
    std::shared_ptr<NSView> view;
    for (const NSString& name : classNames) {
        const Class factoryClass = NSClassFromString(name);
        if (factoryClass == nullptr ||
            !factoryClass->instancesRespondToSelector("uiViewForAudioUnit:withSize:")) {
            continue;
        }
        const std::shared_ptr<NSObject> factory = factoryClass->newInstance();
        if (auto* ui = dynamic_cast<AUCocoaUIBase*>(factory.get())) {
            view = ui->uiViewForAudioUnit(unit, NSSize{0, 0});
        }
        if (view) {
            break;
        }
    }
    // A size that is not a number is no size either.
    if (!view || !(view->bounds().size.width >= smallestEditor &&
                   view->bounds().size.height >= smallestEditor)) {
        throw std::runtime_error("native editor creation failed");
    }
    return view;
}

} // namespace kelvoaax

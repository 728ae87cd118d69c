// User preset files: the folder, reading with validation, writing the unit's state.

#include "presets/user_presets.h"

#include "model.h"
#include "state/validate.h"

namespace rackpresets {

namespace {

constexpr std::uint32_t manufacturer = classic::fourCharCode("Kvlo");

bool valid(const NSHandle& state) {
    return kelvostate::validate(state.cf(), classic::definitions, classic::model.subtype,
                                manufacturer);
}

// The file's bytes, at most one more than the limit so a larger file shows as too large.
// Only a regular file is read: a FIFO or device named like a preset would block the main
// thread or stream without end. False without error for a file that is not regular.
bool readBounded(const NSURL& file, NSData& data, NSError* error) {
    std::shared_ptr<NSFileHandle> handle = NSFileHandle::fileHandleForReadingFromURL(file, error);
    if (!handle) {
        return false;
    }
    if (!handle->isRegularFile()) {
        return false;
    }
    data = handle->readDataUpToLength(sizeLimit + 1, error);
    handle->closeAndReturnError(nullptr);
    return static_cast<bool>(data);
}

} // namespace

NSURL userFolder() {
    const NSArray libraries =
        NSFileManager::defaultManager()->URLsForDirectory(NSLibraryDirectory, NSUserDomainMask);
    const NSURL library = NSURL::cast(libraries.firstObject());
    if (!library) {
        return nullptr;
    }
    return library.URLByAppendingPathComponent("Audio/Presets/Kelvo Audio Lab")
        .URLByAppendingPathComponent(classic::model.product)
        .URLByAppendingPathComponent("User Presets")
        .URLByStandardizingPath();
}

bool load(AudioUnit unit, const NSURL& file, NSError* error) {
    if (!file) {
        return false;
    }
    NSData data;
    if (!readBounded(file, data, error)) {
        return false;
    }
    if (data.length() > sizeLimit) {
        return false;
    }
    const NSHandle state = NSPropertyListSerialization::propertyListWithData(
        data, NSPropertyListImmutable, nullptr, error);
    if (!state) {
        return false;
    }
    if (!valid(state)) {
        return false;
    }
    // The unit validates again and rolls back if it cannot apply the state.
    CFPropertyListRef list = state.cf();
    return AudioUnitSetProperty(unit, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                &list, sizeof list) == noErr;
}

bool save(AudioUnit unit, const NSURL& file, const NSString& name, NSError* error) {
    CFPropertyListRef list = nullptr;
    UInt32 size = sizeof list;
    const OSStatus status = AudioUnitGetProperty(unit, kAudioUnitProperty_ClassInfo,
                                                 kAudioUnitScope_Global, 0, &list, &size);
    // The unit hands over a reference of its own, released with this handle.
    NSHandle returned = NSHandle::bridgeTransfer(list);
    if (status != noErr || !returned) {
        return false;
    }
    const NSDictionary dictionary = NSDictionary::cast(returned);
    if (!dictionary) {
        return false;
    }
    NSMutableDictionary state = dictionary.mutableCopy();
    // A state that would not load again is not written.
    if (!valid(state)) {
        return false;
    }
    state.setObject(name, NSString("name"));
    const NSData data = NSPropertyListSerialization::dataWithPropertyList(
        state, NSPropertyListXMLFormat_v1_0, 0, error);
    if (!data) {
        return false;
    }
    return data.writeToURL(file, NSDataWritingAtomic, error);
}

} // namespace rackpresets

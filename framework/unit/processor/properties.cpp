// The properties the unit answers itself: the host's bypass, the Cocoa view, the meter block
// and the present preset's name; everything else is the base's.

#include "processor/processor.h"

#include "state/validate.h"

#include <cstring>

namespace {

constexpr AudioUnitElement globalElement = 0;
constexpr UInt32 meterPropertySize = sizeof(TelemetryBlock);
constexpr UInt32 cocoaViewSize = sizeof(AudioUnitCocoaViewInfo); // one view class

bool isGlobal(AudioUnitScope scope, AudioUnitElement element) {
    return scope == kAudioUnitScope_Global && element == globalElement;
}

CFStringRef createString(const char* text) {
    return CFStringCreateWithCString(nullptr, text, kCFStringEncodingUTF8);
}

} // namespace

OSStatus Processor::GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope scope,
                                    AudioUnitElement element, UInt32& size, bool& writable) {
    if (isGlobal(scope, element)) {
        if (id == classic::model.meterProperty) {
            size = meterPropertySize;
            writable = false;
            return noErr;
        }
        if (id == kAudioUnitProperty_CocoaUI) {
            size = cocoaViewSize;
            writable = false;
            return noErr;
        }
    }
    return AUEffectBase::GetPropertyInfo(id, scope, element, size, writable);
}

OSStatus Processor::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                AudioUnitElement element, void* data) {
    if (isGlobal(scope, element)) {
        if (id == kAudioUnitProperty_BypassEffect) {
            const UInt32 on = bypassParameterOn() ? 1 : 0;
            std::memcpy(data, &on, sizeof on);
            return noErr;
        }
        if (id == kAudioUnitProperty_CocoaUI) {
            const CFStringRef identifier = createString(classic::model.bundleIdentifier);
            const CFBundleRef bundle =
                identifier != nullptr ? CFBundleGetBundleWithIdentifier(identifier) : nullptr;
            if (identifier != nullptr) {
                CFRelease(identifier);
            }
            if (bundle == nullptr) {
                return kAudioUnitErr_InvalidProperty;
            }
            AudioUnitCocoaViewInfo info{};
            info.mCocoaAUViewBundleLocation = CFBundleCopyBundleURL(bundle);
            info.mCocoaAUViewClass[0] = createString(classic::model.viewFactoryClass);
            std::memcpy(data, &info, sizeof info);
            return noErr;
        }
        if (id == classic::model.meterProperty) {
            const TelemetryBlock block = telemetry.load();
            std::memcpy(data, &block, sizeof block);
            return noErr;
        }
    }
    return AUEffectBase::GetProperty(id, scope, element, data);
}

OSStatus Processor::SetProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                AudioUnitElement element, const void* data, UInt32 size) {
    if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_BypassEffect) {
        // The Bypass parameter is the truth (the editor, automation, presets and restores
        // change it too), not the flag the base recorded at the host's last request.
        if (element != globalElement) {
            return kAudioUnitErr_InvalidElement;
        }
        if (data == nullptr || size != sizeof(UInt32)) {
            return kAudioUnitErr_InvalidPropertyValue;
        }
        UInt32 requested = 0;
        std::memcpy(&requested, data, sizeof requested);
        const bool on = requested != 0;
        if (on != bypassParameterOn()) {
            if (!on && IsInitialized()) {
                Reset(kAudioUnitScope_Global, globalElement);
            }
            SetBypassEffect(on);
            PropertyChanged(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, globalElement);
        } else {
            AUEffectBase::SetBypassEffect(on);
        }
        return noErr;
    }
    if (scope == kAudioUnitScope_Global && id == kAudioUnitProperty_PresentPreset &&
        data != nullptr && size == sizeof(AUPreset)) {
        // A name the saved state could not carry would make that state refused later.
        AUPreset preset;
        std::memcpy(&preset, data, sizeof preset);
        if (preset.presetName != nullptr &&
            CFStringGetLength(preset.presetName) > kelvostate::nameLimit) {
            preset.presetName = copyNameWithinLimit(preset.presetName);
            const OSStatus status = AUEffectBase::SetProperty(id, scope, element, &preset, size);
            if (preset.presetName != nullptr) {
                CFRelease(preset.presetName);
            }
            return status;
        }
    }
    return AUEffectBase::SetProperty(id, scope, element, data, size);
}

void Processor::SetBypassEffect(bool bypass) {
    AUEffectBase::SetBypassEffect(bypass);
    Globals()->SetParameterOrError(classic::model.bypassId, bypass ? 1.0f : 0.0f);
}

bool Processor::bypassParameterOn() {
    AudioUnitParameterValue value = 0;
    Globals()->GetParameterOrError(classic::model.bypassId, value);
    return value > 0.5f;
}

CFStringRef Processor::copyNameWithinLimit(CFStringRef name) {
    CFIndex length = CFStringGetLength(name);
    if (length <= kelvostate::nameLimit) {
        CFRetain(name);
        return name;
    }
    length = kelvostate::nameLimit;
    // Never split a surrogate pair.
    const UniChar last = CFStringGetCharacterAtIndex(name, length - 1);
    if (last >= 0xD800 && last <= 0xDBFF) {
        --length;
    }
    return CFStringCreateWithSubstring(nullptr, name, CFRangeMake(0, length));
}

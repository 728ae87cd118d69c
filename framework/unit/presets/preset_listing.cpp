// The factory presets as the unit lists and applies them.

#include "presets/factory_preset.h"
#include "processor/processor.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// The host-facing records, named "Group / Name", built on the first listing and kept for the
// life of the process (the host's arrays point at them).
struct PresetRecords {
    CFStringRef names[classic::factoryPresetCount];
    AUPreset records[classic::factoryPresetCount];
    const void* pointers[classic::factoryPresetCount];

    PresetRecords() {
        const auto& presets = classic::factoryPresets();
        for (unsigned i = 0; i < classic::factoryPresetCount; ++i) {
            const std::string name = std::string(presets[i].group) + " / " + presets[i].name;
            names[i] = CFStringCreateWithCString(nullptr, name.c_str(), kCFStringEncodingUTF8);
        }
        for (unsigned i = 0; i < classic::factoryPresetCount; ++i) {
            records[i] = {static_cast<SInt32>(i), names[i]};
            pointers[i] = &records[i];
        }
    }
};

const PresetRecords& presetRecords() {
    static const PresetRecords records;
    return records;
}

} // namespace

OSStatus Processor::GetPresets(CFArrayRef* presets) const {
    if (presets == nullptr) {
        return noErr;
    }
    const PresetRecords& records = presetRecords();
    const void* items[classic::factoryPresetCount];
    std::copy(std::begin(records.pointers), std::end(records.pointers), items);
    *presets = CFArrayCreate(nullptr, items, classic::factoryPresetCount, nullptr);
    return noErr;
}

OSStatus Processor::NewFactoryPresetSet(const AUPreset& preset) {
    if (preset.presetNumber < 0 ||
        preset.presetNumber >= static_cast<SInt32>(classic::factoryPresetCount)) {
        return kAudioUnitErr_InvalidPropertyValue;
    }
    const classic::FactoryPreset& chosen = classic::factoryPresets()[preset.presetNumber];
    ausdk::AUElement* globals = Globals();
    for (unsigned id = 0; id < parameterCount; ++id) {
        if (const OSStatus status = globals->SetParameterOrError(id, chosen.values[id]);
            status != noErr) {
            return status;
        }
    }
    engineResetPending.store(true, std::memory_order_release);

    // Without a name from the caller the preset's own name stands (not "Untitled"); a name the
    // state could not carry is shortened.
    const CFStringRef name =
        preset.presetName != nullptr
            ? copyNameWithinLimit(preset.presetName)
            : CFStringCreateWithCString(nullptr, chosen.name, kCFStringEncodingUTF8);
    SetAFactoryPresetAsCurrent({preset.presetNumber, name});
    const AUPreset present = GetPresentPreset();
    const bool accepted = name != nullptr && present.presetNumber == preset.presetNumber &&
                          present.presetName != nullptr && CFEqual(present.presetName, name);
    if (name != nullptr) {
        CFRelease(name);
    }
    return accepted ? OSStatus{noErr} : OSStatus{kAudioUnitErr_InvalidPropertyValue};
}

#include "probe_unit.h"

#include <AudioUnitSDK/AUPlugInDispatch.h>

#include "test_support.h"

namespace {

ProbeUnit* lastConstructed = nullptr;

const AUPreset* presetRecords() {
    static const AUPreset records[] = {
        {0, CFSTR("First")}, {1, CFSTR("Second")}, {2, CFSTR("Third")}};
    return records;
}

} // namespace

ProbeUnit::ProbeUnit(AudioComponentInstance instance) : AUEffectBase(instance, false) {
    ++constructed;
    if (failConstruction != noErr) {
        ++destroyed; // the destructor will not run for a throwing constructor
        ausdk::Throw(failConstruction);
    }
    CreateElements();
    Globals()->SetParameter(kSparse, 0.5f);
    Globals()->SetParameter(kLevel, 0.25f);
    Globals()->SetParameter(kChoice, 1.0f);
    SetAFactoryPresetAsCurrent({0, CFSTR("First")});
    lastConstructed = this;
}

ProbeUnit::~ProbeUnit() {
    ++destroyed;
}

ProbeUnit& ProbeUnit::of(AudioUnit /*unit*/) {
    return *lastConstructed;
}

OSStatus ProbeUnit::Reset(AudioUnitScope, AudioUnitElement) {
    ++resets;
    return noErr;
}

OSStatus ProbeUnit::GetProperty(AudioUnitPropertyID id, AudioUnitScope scope,
                                AudioUnitElement element, void* data) {
    if (throwFromGetProperty) {
        throw std::runtime_error("probe");
    }
    return AUEffectBase::GetProperty(id, scope, element, data);
}

OSStatus ProbeUnit::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                                     AudioUnitParameterInfo& info) {
    if (scope != kAudioUnitScope_Global || !Globals()->HasParameterID(id)) {
        return kAudioUnitErr_InvalidParameter;
    }
    const char* names[] = {"Level", "Choice", "", "", "", "Sparse"};
    info.cfNameString =
        CFStringCreateWithCString(kCFAllocatorDefault, names[id], kCFStringEncodingUTF8);
    info.flags = kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease |
                 kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable;
    info.maxValue = 1.0f;
    return noErr;
}

OSStatus ProbeUnit::GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                             CFArrayRef* strings) {
    if (scope != kAudioUnitScope_Global || id != kChoice) {
        return kAudioUnitErr_InvalidParameter;
    }
    if (strings != nullptr) {
        const void* values[] = {CFSTR("Off"), CFSTR("On")};
        *strings = CFArrayCreate(kCFAllocatorDefault, values, 2, &kCFTypeArrayCallBacks);
    }
    return noErr;
}

OSStatus ProbeUnit::GetPresets(CFArrayRef* presets) const {
    if (presets != nullptr) {
        const AUPreset* records = presetRecords();
        const void* items[] = {&records[0], &records[1], &records[2]};
        *presets = CFArrayCreate(kCFAllocatorDefault, items, 3, nullptr);
    }
    return noErr;
}

OSStatus ProbeUnit::NewFactoryPresetSet(const AUPreset& preset) {
    if (preset.presetNumber < 0 || preset.presetNumber > 2) {
        return kAudioUnitErr_InvalidPropertyValue;
    }
    ++presetsSet;
    SetAFactoryPresetAsCurrent(preset);
    return noErr;
}

UInt32 ProbeUnit::SupportedNumChannels(const AUChannelInfo** info) {
    static constexpr AUChannelInfo kConfigurations[] = {{1, 1}, {2, 2}};
    if (info != nullptr) {
        *info = kConfigurations;
    }
    return 2;
}

OSStatus ProbeUnit::ProcessBufferLists(AudioUnitRenderActionFlags& flags, const AudioBufferList& in,
                                       AudioBufferList& out, UInt32 frames) {
    processed = frames;
    lastInput = in.mBuffers[0].mData;
    lastOutput = out.mBuffers[0].mData;
    for (UInt32 b = 0; b < out.mNumberBuffers && b < in.mNumberBuffers; ++b) {
        const auto* source = static_cast<const Float32*>(in.mBuffers[b].mData);
        auto* destination = static_cast<Float32*>(out.mBuffers[b].mData);
        for (UInt32 i = 0; i < frames; ++i) {
            destination[i] = 2.0f * source[i];
        }
    }
    flags &= ~kAudioUnitRenderAction_OutputIsSilence;
    return noErr;
}

AudioComponent probeComponent() {
    static AudioComponent component = [] {
        const AudioComponentDescription description{testsupport::fourCC("aufx"),
                                                    testsupport::fourCC("Prob"),
                                                    testsupport::fourCC("Test"), 0, 0};
        return AudioComponentRegister(&description, CFSTR("Tests: Probe"), 0x10000,
                                      &ausdk::AUBaseFactory<ProbeUnit>::Factory);
    }();
    return component;
}

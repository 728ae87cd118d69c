// The host's parameter-info and value-string queries, answered from the model's table.

#include "processor/processor.h"

#include <cstring>

OSStatus Processor::GetParameterInfo(AudioUnitScope scope, AudioUnitParameterID id,
                                     AudioUnitParameterInfo& info) {
    if (scope != kAudioUnitScope_Global || id >= parameterCount) {
        return kAudioUnitErr_InvalidParameter;
    }
    const classic::Definition& row = classic::definitions[id];
    std::memset(&info, 0, sizeof info);
    info.minValue = row.minimum;
    info.maxValue = row.maximum;
    info.defaultValue = row.defaultValue;
    info.cfNameString = CFStringCreateWithCString(nullptr, row.name, kCFStringEncodingUTF8);
    info.flags = kAudioUnitParameterFlag_IsReadable | kAudioUnitParameterFlag_IsWritable |
                 kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
    if (row.isSwitch) {
        info.unit = kAudioUnitParameterUnit_Boolean;
    } else if (row.isIndexed) {
        info.unit = kAudioUnitParameterUnit_Indexed;
    } else {
        info.flags |= kAudioUnitParameterFlag_CanRamp;
        if (std::strcmp(row.unitText, "%") == 0) {
            info.unit = kAudioUnitParameterUnit_Percent;
        } else if (std::strcmp(row.unitText, "dB") == 0) {
            info.unit = kAudioUnitParameterUnit_Decibels;
        } else {
            info.unit = kAudioUnitParameterUnit_Generic;
        }
    }
    return noErr;
}

OSStatus Processor::GetParameterValueStrings(AudioUnitScope scope, AudioUnitParameterID id,
                                             CFArrayRef* strings) {
    unsigned count = 0;
    const char* const* captions = scope == kAudioUnitScope_Global && id < parameterCount
                                      ? classic::choices(id, count)
                                      : nullptr;
    if (captions == nullptr) {
        return kAudioUnitErr_InvalidParameter;
    }
    if (strings == nullptr) {
        return noErr;
    }
    CFStringRef items[256];
    const unsigned made = count < 256 ? count : 256;
    for (unsigned i = 0; i < made; ++i) {
        items[i] = CFStringCreateWithCString(nullptr, captions[i], kCFStringEncodingUTF8);
    }
    *strings = CFArrayCreate(nullptr, reinterpret_cast<const void**>(items),
                             static_cast<CFIndex>(made), &kCFTypeArrayCallBacks);
    for (unsigned i = 0; i < made; ++i) {
        if (items[i] != nullptr) {
            CFRelease(items[i]);
        }
    }
    return noErr;
}

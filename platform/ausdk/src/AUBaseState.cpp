// The class-info state: a dictionary with the component's codes, the global element's
// parameters as a big-endian blob, and the present preset's name.

#include <AudioUnitSDK/AUBase.h>

#include <bit>
#include <cstring>
#include <vector>

namespace ausdk {

namespace {

// Blob layout: per block, scope, element and count n (each a big-endian UInt32), then n pairs
// of (parameter ID, Float32 bits), 12 + 8n bytes.
constexpr std::size_t kBlockHeaderBytes = 12;
constexpr std::size_t kEntryBytes = 8;

void appendBigEndian(std::vector<UInt8>& bytes, UInt32 value) {
    bytes.push_back(static_cast<UInt8>(value >> 24));
    bytes.push_back(static_cast<UInt8>(value >> 16));
    bytes.push_back(static_cast<UInt8>(value >> 8));
    bytes.push_back(static_cast<UInt8>(value));
}

UInt32 readBigEndian(const UInt8* p) {
    return (UInt32{p[0]} << 24) | (UInt32{p[1]} << 16) | (UInt32{p[2]} << 8) | UInt32{p[3]};
}

void setNumber(CFMutableDictionaryRef dictionary, CFStringRef key, SInt32 value) {
    CFNumberRef number = CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
    CFDictionarySetValue(dictionary, key, number);
    CFRelease(number);
}

// A present number key must be an integer equal to expected.
bool numberMatches(CFDictionaryRef dictionary, CFStringRef key, SInt32 expected) {
    CFTypeRef value = CFDictionaryGetValue(dictionary, key);
    if (value == nullptr) {
        return true;
    }
    if (CFGetTypeID(value) != CFNumberGetTypeID()) {
        return false;
    }
    Float64 number = 0.0;
    return CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberFloat64Type, &number) &&
           number == static_cast<Float64>(expected);
}

struct Entry {
    AUElement* element;
    AudioUnitParameterID id;
    AudioUnitParameterValue value;
};

} // namespace

OSStatus AUBase::SaveState(CFPropertyListRef* outData) {
    AUSDK_Require(outData != nullptr, kAudio_ParamError);
    const AudioComponentDescription description = GetComponentDescription();

    std::vector<UInt8> blob;
    AUElement* globals = Globals();
    const UInt32 capacity = globals != nullptr ? globals->GetNumberOfParameters() : 0;
    std::vector<AudioUnitParameterID> ids(capacity);
    const UInt32 count = globals != nullptr ? globals->GetParameterList(ids.data(), capacity) : 0;
    appendBigEndian(blob, kAudioUnitScope_Global);
    appendBigEndian(blob, 0);
    appendBigEndian(blob, count);
    for (UInt32 i = 0; i < count; ++i) {
        AudioUnitParameterValue value = 0.0f;
        globals->GetParameterOrError(ids[i], value);
        appendBigEndian(blob, ids[i]);
        appendBigEndian(blob, std::bit_cast<UInt32>(value));
    }

    CFMutableDictionaryRef state = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    setNumber(state, CFSTR("version"), 0);
    setNumber(state, CFSTR("type"), static_cast<SInt32>(description.componentType));
    setNumber(state, CFSTR("subtype"), static_cast<SInt32>(description.componentSubType));
    setNumber(state, CFSTR("manufacturer"), static_cast<SInt32>(description.componentManufacturer));
    CFDataRef data =
        CFDataCreate(kCFAllocatorDefault, blob.data(), static_cast<CFIndex>(blob.size()));
    CFDictionarySetValue(state, CFSTR("data"), data);
    CFRelease(data);
    CFDictionarySetValue(state, CFSTR("name"), GetPresentPreset().presetName);
    *outData = state;
    return noErr;
}

OSStatus AUBase::RestoreState(CFPropertyListRef inData) {
    AUSDK_Require(inData != nullptr && CFGetTypeID(inData) == CFDictionaryGetTypeID(),
                  kAudioUnitErr_InvalidPropertyValue);
    const auto state = static_cast<CFDictionaryRef>(inData);

    // Another unit's state, or a later format, is not ours to apply.
    const AudioComponentDescription description = GetComponentDescription();
    AUSDK_Require(numberMatches(state, CFSTR("version"), 0), kAudioUnitErr_InvalidPropertyValue);
    if (GetComponent() != nullptr) {
        AUSDK_Require(
            numberMatches(state, CFSTR("type"), static_cast<SInt32>(description.componentType)),
            kAudioUnitErr_InvalidPropertyValue);
        AUSDK_Require(numberMatches(state, CFSTR("subtype"),
                                    static_cast<SInt32>(description.componentSubType)),
                      kAudioUnitErr_InvalidPropertyValue);
        AUSDK_Require(numberMatches(state, CFSTR("manufacturer"),
                                    static_cast<SInt32>(description.componentManufacturer)),
                      kAudioUnitErr_InvalidPropertyValue);
    }

    CFTypeRef name = CFDictionaryGetValue(state, CFSTR("name"));
    AUSDK_Require(name == nullptr || CFGetTypeID(name) == CFStringGetTypeID(),
                  kAudioUnitErr_InvalidPropertyValue);

    // Read the whole blob before storing anything, so a faulty one changes nothing.
    std::vector<Entry> entries;
    CFTypeRef data = CFDictionaryGetValue(state, CFSTR("data"));
    if (data != nullptr) {
        AUSDK_Require(CFGetTypeID(data) == CFDataGetTypeID(), kAudioUnitErr_InvalidPropertyValue);
        const UInt8* bytes = CFDataGetBytePtr(static_cast<CFDataRef>(data));
        const auto length = static_cast<std::size_t>(CFDataGetLength(static_cast<CFDataRef>(data)));
        std::size_t offset = 0;
        while (offset < length) {
            AUSDK_Require(length - offset >= kBlockHeaderBytes, kAudioUnitErr_InvalidPropertyValue);
            const UInt32 scope = readBigEndian(bytes + offset);
            const UInt32 elementIndex = readBigEndian(bytes + offset + 4);
            const UInt32 count = readBigEndian(bytes + offset + 8);
            offset += kBlockHeaderBytes;
            AUSDK_Require((length - offset) / kEntryBytes >= count,
                          kAudioUnitErr_InvalidPropertyValue);
            AUElement* element = GetElement(scope, elementIndex);
            AUSDK_Require(element != nullptr, kAudioUnitErr_InvalidPropertyValue);
            for (UInt32 i = 0; i < count; ++i, offset += kEntryBytes) {
                const AudioUnitParameterID id = readBigEndian(bytes + offset);
                const auto value = std::bit_cast<Float32>(readBigEndian(bytes + offset + 4));
                AUSDK_Require(id < element->GetParameterCapacity(),
                              kAudioUnitErr_InvalidPropertyValue);
                entries.push_back({element, id, value});
            }
        }
    }

    for (const Entry& entry : entries) {
        const OSStatus status = entry.element->SetParameterOrError(entry.id, entry.value);
        AUSDK_Require(status == noErr, status);
    }
    SetAFactoryPresetAsCurrent(
        {-1, name != nullptr ? static_cast<CFStringRef>(name) : CFSTR("Untitled")});
    PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);
    return noErr;
}

} // namespace ausdk

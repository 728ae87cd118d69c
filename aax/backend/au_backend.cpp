// The backend's setup and state: construction, preparation, parameter access, class info.

#include "backend/au_backend.h"

#include "backend/cf_owned.h"
#include "backend/component_registry.h"
#include "backend/platform_text.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace kelvoaax {
namespace {

constexpr double minimumRate = 8000.0;
constexpr double maximumRate = 192000.0;
constexpr uint32_t maximumFramesLimit = 65536;
// The platform's binary property list format.
constexpr CFPropertyListFormat binaryFormat = kCFPropertyListBinaryFormat_v1_0;

// The name in the record's fixed field: at most its 52 bytes, up to the first zero.
std::string fixedName(const AudioUnitParameterInfo& info) {
    return std::string(info.name, strnlen(info.name, sizeof info.name));
}

} // namespace

AUBackend::AUBackend(const std::string& path, const std::string& factoryName, uint32_t subtype,
                     const std::string& componentName) {
    AudioComponent component = registered(path, factoryName, subtype, componentName);
    check(AudioComponentInstanceNew(component, &unit_), "instantiate AU");
    try {
        readParameters();
        const HostCallbackInfo callbacks{this, &AUBackend::tempo, nullptr, &AUBackend::transport,
                                         nullptr};
        check(AudioUnitSetProperty(unit_, kAudioUnitProperty_HostCallbacks, kAudioUnitScope_Global,
                                   0, &callbacks, sizeof callbacks),
              "host callbacks");
    } catch (...) {
        AudioComponentInstanceDispose(unit_);
        unit_ = nullptr;
        throw;
    }
}

AUBackend::~AUBackend() {
    if (prepared_) {
        AudioUnitUninitialize(unit_);
        prepared_ = false;
        currentInputs_ = nullptr;
    }
    AudioComponentInstanceDispose(unit_);
}

void AUBackend::readParameters() {
    UInt32 size = 0;
    check(AudioUnitGetPropertyInfo(unit_, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global,
                                   0, &size, nullptr),
          "parameter list size");
    std::vector<AudioUnitParameterID> ids(size / sizeof(AudioUnitParameterID), 0);
    UInt32 read = static_cast<UInt32>(ids.size() * sizeof(AudioUnitParameterID));
    check(AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0,
                               ids.data(), &read),
          "parameter list");
    // The unit says how much it wrote; a list that shrank since the size query is not padded
    // with zero IDs.
    ids.resize(std::min<std::size_t>(ids.size(), read / sizeof(AudioUnitParameterID)));

    for (const AudioUnitParameterID id : ids) {
        Parameter parameter;
        parameter.id = id;
        UInt32 infoSize = sizeof parameter.info;
        check(AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global,
                                   id, &parameter.info, &infoSize),
              "parameter info");
        AudioUnitParameterInfo& info = parameter.info;
        parameter.name = (info.flags & kAudioUnitParameterFlag_HasCFNameString) != 0
                             ? string(info.cfNameString)
                             : fixedName(info);
        if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0 &&
            info.cfNameString != nullptr) {
            CFRelease(info.cfNameString);
        }
        info.cfNameString = nullptr;

        CFOwned<CFArrayRef> strings;
        UInt32 stringsSize = sizeof(CFArrayRef);
        if (AudioUnitGetProperty(unit_, kAudioUnitProperty_ParameterValueStrings,
                                 kAudioUnitScope_Global, id, strings.receive(),
                                 &stringsSize) == 0 &&
            strings.get() != nullptr) {
            const CFIndex count = CFArrayGetCount(strings.get());
            for (CFIndex i = 0; i < count; ++i) {
                const CFTypeRef item = CFArrayGetValueAtIndex(strings.get(), i);
                const bool text = item != nullptr && CFGetTypeID(item) == CFStringGetTypeID();
                parameter.valueStrings.push_back(text ? string(static_cast<CFStringRef>(item))
                                                      : std::string());
            }
        }
        parameters_.push_back(std::move(parameter));
    }
}

std::vector<AUChannelInfo> AUBackend::layouts() const {
    UInt32 size = 0;
    check(AudioUnitGetPropertyInfo(unit_, kAudioUnitProperty_SupportedNumChannels,
                                   kAudioUnitScope_Global, 0, &size, nullptr),
          "layout size");
    std::vector<AUChannelInfo> pairs(size / sizeof(AUChannelInfo));
    UInt32 read = static_cast<UInt32>(pairs.size() * sizeof(AUChannelInfo));
    check(AudioUnitGetProperty(unit_, kAudioUnitProperty_SupportedNumChannels,
                               kAudioUnitScope_Global, 0, pairs.data(), &read),
          "layouts");
    pairs.resize(std::min<std::size_t>(pairs.size(), read / sizeof(AUChannelInfo)));
    return pairs;
}

void AUBackend::prepare(double sampleRate, uint32_t inputs, uint32_t outputs, uint32_t maxFrames) {
    if (!std::isfinite(sampleRate) || sampleRate < minimumRate || sampleRate > maximumRate ||
        maxFrames < 1 || maxFrames > maximumFramesLimit) {
        throw std::invalid_argument("invalid render format");
    }
    // The render call's buffer list has room for two channels, the AAX stereo stem.
    bool supported = false;
    for (const AUChannelInfo& pair : layouts()) {
        // A negative count is the platform's wildcard; only an exact pair is taken.
        if (pair.inChannels >= 0 && pair.outChannels >= 0 &&
            static_cast<uint32_t>(pair.inChannels) == inputs &&
            static_cast<uint32_t>(pair.outChannels) == outputs) {
            supported = true;
        }
    }
    if (!supported || outputs > 2) {
        throw std::invalid_argument("unsupported channel layout");
    }

    if (prepared_) {
        AudioUnitUninitialize(unit_);
    }
    prepared_ = false;
    currentInputs_ = nullptr;
    silence_.assign(maxFrames, 0.0f);
    scratch_.assign(static_cast<std::size_t>(inputs) * maxFrames, 0.0f);

    // The units take 32-bit float, packed, one buffer a channel.
    AudioStreamBasicDescription inputFormat{};
    FillOutASBDForLPCM(inputFormat, sampleRate, inputs, 32, 32, true, false, true);
    check(AudioUnitSetProperty(unit_, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                               &inputFormat, sizeof inputFormat),
          "input format");
    AudioStreamBasicDescription outputFormat{};
    FillOutASBDForLPCM(outputFormat, sampleRate, outputs, 32, 32, true, false, true);
    check(AudioUnitSetProperty(unit_, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output, 0,
                               &outputFormat, sizeof outputFormat),
          "output format");
    const UInt32 frames = maxFrames;
    check(AudioUnitSetProperty(unit_, kAudioUnitProperty_MaximumFramesPerSlice,
                               kAudioUnitScope_Global, 0, &frames, sizeof frames),
          "maximum block size");
    const AURenderCallbackStruct callback{&AUBackend::pull, this};
    check(AudioUnitSetProperty(unit_, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                               0, &callback, sizeof callback),
          "input callback");
    check(AudioUnitInitialize(unit_), "initialize AU");

    inputs_ = inputs;
    outputs_ = outputs;
    maxFrames_ = maxFrames;
    sampleRate_ = sampleRate;
    prepared_ = true;
}

void AUBackend::set(uint32_t id, float value, uint32_t bufferOffset) noexcept {
    AudioUnitSetParameter(unit_, id, kAudioUnitScope_Global, 0, value, bufferOffset);
}

float AUBackend::get(uint32_t id) const {
    AudioUnitParameterValue value = 0.0f;
    check(AudioUnitGetParameter(unit_, id, kAudioUnitScope_Global, 0, &value), "parameter value");
    return value;
}

double AUBackend::latencySeconds() const {
    Float64 seconds = 0.0;
    UInt32 size = sizeof seconds;
    check(AudioUnitGetProperty(unit_, kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0,
                               &seconds, &size),
          "latency");
    return seconds;
}

std::vector<uint8_t> AUBackend::state() const {
    CFOwned<CFPropertyListRef> list;
    UInt32 size = sizeof(CFPropertyListRef);
    check(AudioUnitGetProperty(unit_, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                               list.receive(), &size),
          "save AU state");
    if (list.get() == nullptr) {
        throw std::runtime_error("empty AU state");
    }
    const CFOwned<CFDataRef> data(
        CFPropertyListCreateData(nullptr, list.get(), binaryFormat, 0, nullptr));
    if (data.get() == nullptr) {
        throw std::runtime_error("serialize AU state");
    }
    const UInt8* bytes = CFDataGetBytePtr(data.get());
    return std::vector<uint8_t>(bytes, bytes + CFDataGetLength(data.get()));
}

void AUBackend::restore(const void* bytes, std::size_t size) {
    if (bytes == nullptr || size == 0 || size > maximumStateSize) {
        throw std::invalid_argument("invalid AU state size");
    }
    const CFOwned<CFDataRef> data(
        CFDataCreate(nullptr, static_cast<const UInt8*>(bytes), static_cast<CFIndex>(size)));
    const CFOwned<CFPropertyListRef> list(
        data.get() != nullptr ? CFPropertyListCreateWithData(
                                    nullptr, data.get(), kCFPropertyListImmutable, nullptr, nullptr)
                              : nullptr);
    if (list.get() == nullptr) {
        throw std::invalid_argument("invalid AU state data");
    }
    const CFPropertyListRef value = list.get();
    check(AudioUnitSetProperty(unit_, kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                               &value, sizeof value),
          "restore AU state");
}

} // namespace kelvoaax

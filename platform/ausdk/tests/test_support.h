#pragma once
// Helpers for driving units through the Audio Unit calls: owned instances, stream formats, an
// input source for the render callback, and CF conversions.

#include <AudioToolbox/AudioToolbox.h>

#include <cstddef>
#include <new>
#include <string>
#include <vector>

namespace testsupport {

constexpr OSType fourCC(const char (&code)[5]) {
    return (OSType(UInt8(code[0])) << 24) | (OSType(UInt8(code[1])) << 16) |
           (OSType(UInt8(code[2])) << 8) | OSType(UInt8(code[3]));
}

inline std::string utf8(CFStringRef string) {
    if (string == nullptr) {
        return {};
    }
    char buffer[1024] = {};
    CFStringGetCString(string, buffer, sizeof(buffer), kCFStringEncodingUTF8);
    return buffer;
}

// A CF object released at the end of its scope.
template <typename Ref> class Owned {
public:
    explicit Owned(Ref ref = nullptr) : mRef(ref) {}
    ~Owned() {
        if (mRef != nullptr) {
            CFRelease(mRef);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Ref get() const { return mRef; }
    Ref* out() { return &mRef; }

private:
    Ref mRef;
};

inline CFURLRef fileURL(const std::string& path) {
    return CFURLCreateFromFileSystemRepresentation(kCFAllocatorDefault,
                                                   reinterpret_cast<const UInt8*>(path.data()),
                                                   static_cast<CFIndex>(path.size()), true);
}

// 32-bit float, packed, one buffer a channel.
inline AudioStreamBasicDescription floatFormat(Float64 rate, UInt32 channels) {
    AudioStreamBasicDescription format{};
    FillOutASBDForLPCM(format, rate, channels, 32, 32, true, false, true);
    return format;
}

// An instance disposed of at the end of its scope.
class Instance {
public:
    explicit Instance(AudioComponent component) {
        status = AudioComponentInstanceNew(component, &unit);
    }
    ~Instance() {
        if (unit != nullptr) {
            AudioComponentInstanceDispose(unit);
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;

    OSStatus setFormats(Float64 rate, UInt32 channels) const {
        const AudioStreamBasicDescription format = floatFormat(rate, channels);
        const OSStatus input =
            AudioUnitSetProperty(unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                                 &format, sizeof(format));
        if (input != noErr) {
            return input;
        }
        return AudioUnitSetProperty(unit, kAudioUnitProperty_StreamFormat, kAudioUnitScope_Output,
                                    0, &format, sizeof(format));
    }

    AudioUnit unit = nullptr;
    OSStatus status = noErr;
};

// The host's side of the render callback: one vector of samples per channel; fills the
// unit's buffers (or points NULL ones at its own samples).
struct Source {
    std::vector<std::vector<Float32>> channels;
    UInt32 calls = 0;
    UInt32 lastBus = 99;
    OSStatus status = noErr;
    bool pointAtOwnSamples = false;

    static OSStatus render(void* refCon, AudioUnitRenderActionFlags* /*flags*/,
                           const AudioTimeStamp* /*timeStamp*/, UInt32 bus, UInt32 frames,
                           AudioBufferList* io) {
        auto& source = *static_cast<Source*>(refCon);
        ++source.calls;
        source.lastBus = bus;
        if (source.status != noErr) {
            return source.status;
        }
        for (UInt32 b = 0; b < io->mNumberBuffers && b < source.channels.size(); ++b) {
            Float32* samples = source.channels[b].data();
            AudioBuffer& buffer = io->mBuffers[b];
            if (source.pointAtOwnSamples || buffer.mData == nullptr) {
                buffer.mData = samples;
            } else {
                for (UInt32 i = 0; i < frames; ++i) {
                    static_cast<Float32*>(buffer.mData)[i] = samples[i];
                }
            }
            buffer.mDataByteSize = frames * 4;
        }
        return noErr;
    }

    AURenderCallbackStruct callback() { return {&Source::render, this}; }
};

inline OSStatus connect(AudioUnit unit, Source& source) {
    AURenderCallbackStruct callback = source.callback();
    return AudioUnitSetProperty(unit, kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input,
                                0, &callback, sizeof(callback));
}

// An output buffer list with room for two channels.
class Output {
public:
    Output()
        : mList(new (mStorage) AudioBufferList{}), mNumberBuffers(mList->mNumberBuffers),
          mBuffers(mList->mBuffers) {}
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;
    AudioBufferList* list() { return mList; }

private:
    alignas(AudioBufferList) std::byte mStorage[sizeof(AudioBufferList) + sizeof(AudioBuffer)]{};
    AudioBufferList* mList;

public:
    UInt32& mNumberBuffers;
    AudioBuffer* mBuffers;
};

inline AudioTimeStamp sampleTime(Float64 sample) {
    AudioTimeStamp timeStamp{};
    timeStamp.mSampleTime = sample;
    timeStamp.mFlags = kAudioTimeStampSampleTimeValid;
    return timeStamp;
}

} // namespace testsupport

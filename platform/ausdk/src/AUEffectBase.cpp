#include <AudioUnitSDK/AUEffectBase.h>

#include <algorithm>
#include <cstring>

namespace ausdk {

namespace {

bool channelsMatch(SInt16 listed, UInt32 actual) {
    return listed < 0 || static_cast<UInt32>(listed) == actual;
}

} // namespace

AUEffectBase::AUEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace)
    : AUBase(inInstance, 1, 1), mProcessesInPlace(inProcessesInPlace) {}

OSStatus AUEffectBase::Initialize() {
    const UInt32 inputs = Input(0).NumberChannels();
    const UInt32 outputs = Output(0).NumberChannels();
    const AUChannelInfo* infos = nullptr;
    const UInt32 count = SupportedNumChannels(&infos);
    if (count == 0 || infos == nullptr) {
        return inputs == outputs ? OSStatus{noErr} : OSStatus{kAudioUnitErr_FormatNotSupported};
    }
    for (UInt32 i = 0; i < count; ++i) {
        const AUChannelInfo& info = infos[i];
        const bool bothWild = info.inChannels < 0 && info.outChannels < 0;
        if (bothWild && info.inChannels == -1 && info.outChannels == -1) {
            if (inputs == outputs) {
                return noErr; // -1/-1: any count, the same on both sides
            }
        } else if (bothWild || (channelsMatch(info.inChannels, inputs) &&
                                channelsMatch(info.outChannels, outputs))) {
            return noErr;
        }
    }
    return kAudioUnitErr_FormatNotSupported;
}

void AUEffectBase::Cleanup() {}

OSStatus AUEffectBase::Reset(AudioUnitScope /*inScope*/, AudioUnitElement /*inElement*/) {
    return noErr;
}

OSStatus AUEffectBase::GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                       AudioUnitElement inElement, UInt32& outDataSize,
                                       bool& outWritable) {
    if (inID == kAudioUnitProperty_BypassEffect) {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        outDataSize = sizeof(UInt32);
        outWritable = true;
        return noErr;
    }
    return AUBase::GetPropertyInfo(inID, inScope, inElement, outDataSize, outWritable);
}

OSStatus AUEffectBase::GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                   AudioUnitElement inElement, void* outData) {
    if (inID == kAudioUnitProperty_BypassEffect) {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        const UInt32 flag = IsBypassEffect() ? 1 : 0;
        std::memcpy(outData, &flag, sizeof(flag));
        return noErr;
    }
    return AUBase::GetProperty(inID, inScope, inElement, outData);
}

OSStatus AUEffectBase::SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                   AudioUnitElement inElement, const void* inData,
                                   UInt32 inDataSize) {
    if (inID == kAudioUnitProperty_BypassEffect) {
        AUSDK_Require(inScope == kAudioUnitScope_Global, kAudioUnitErr_InvalidScope);
        AUSDK_Require(inDataSize == sizeof(UInt32), kAudioUnitErr_InvalidPropertyValue);
        UInt32 value = 0;
        std::memcpy(&value, inData, sizeof(value));
        const bool bypass = value != 0;
        if (bypass != IsBypassEffect()) {
            // Leaving bypass must not replay whatever the processing held before it.
            if (!bypass && IsInitialized()) {
                const OSStatus status = Reset(kAudioUnitScope_Global, 0);
                AUSDK_Require(status == noErr, status);
            }
            SetBypassEffect(bypass);
            PropertyChanged(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0);
        }
        return noErr;
    }
    return AUBase::SetProperty(inID, inScope, inElement, inData, inDataSize);
}

OSStatus AUEffectBase::Render(AudioUnitRenderActionFlags& ioActionFlags,
                              const AudioTimeStamp& inTimeStamp, UInt32 inNumberFrames) {
    AUInputElement& input = Input(0);
    AudioBufferList& output = Output(0).GetBufferList();
    // The pull has its own flags: a source's silence flag says nothing of this unit's output.
    AudioUnitRenderActionFlags pullFlags = 0;
    const bool inPlace = mProcessesInPlace && input.NumberChannels() == output.mNumberBuffers;
    const OSStatus pulled =
        inPlace ? input.PullInputInto(pullFlags, inTimeStamp, 0, inNumberFrames, output)
                : input.PullInput(pullFlags, inTimeStamp, 0, inNumberFrames);
    AUSDK_Require(pulled == noErr, pulled);
    const AudioBufferList& in = inPlace ? output : input.GetBufferList();

    if (ShouldBypassEffect()) {
        const UInt32 bytes = inNumberFrames * static_cast<UInt32>(sizeof(Float32));
        for (UInt32 b = 0; b < output.mNumberBuffers; ++b) {
            void* destination = output.mBuffers[b].mData;
            const void* source = b < in.mNumberBuffers ? in.mBuffers[b].mData : nullptr;
            if (destination == nullptr || destination == source) {
                continue;
            }
            if (source != nullptr) {
                std::memmove(destination, source, bytes);
            } else {
                std::memset(destination, 0, bytes);
            }
        }
        return noErr;
    }
    return ProcessBufferLists(ioActionFlags, in, output, inNumberFrames);
}

} // namespace ausdk

#include <AudioUnitSDK/AUScopeElement.h>

#include <algorithm>
#include <new>

namespace ausdk {

// Parameter values cross between the render thread and any other without a lock.
static_assert(std::atomic<AudioUnitParameterValue>::is_always_lock_free);
static_assert(std::atomic<bool>::is_always_lock_free);

// ---- AUElement --------------------------------------------------------------------------------

AUElement::AUElement(AUBase& audioUnit, UInt32 parameterCapacity)
    : mAudioUnit(audioUnit), mCapacity(parameterCapacity),
      mValues(parameterCapacity > 0 ? new std::atomic<AudioUnitParameterValue>[parameterCapacity]
                                    : nullptr),
      mDefined(parameterCapacity > 0 ? new std::atomic<bool>[parameterCapacity] : nullptr) {
    for (UInt32 i = 0; i < mCapacity; ++i) {
        mValues[i].store(0.0f, std::memory_order_relaxed);
        mDefined[i].store(false, std::memory_order_relaxed);
    }
}

AUElement::~AUElement() = default;

UInt32 AUElement::GetNumberOfParameters() const noexcept {
    return mCount.load(std::memory_order_acquire);
}

bool AUElement::HasParameterID(AudioUnitParameterID inParameterID) const noexcept {
    return inParameterID < mCapacity && mDefined[inParameterID].load(std::memory_order_acquire);
}

UInt32 AUElement::GetParameterList(AudioUnitParameterID* outList,
                                   UInt32 inCapacity) const noexcept {
    UInt32 written = 0;
    for (UInt32 id = 0; id < mCapacity && written < inCapacity; ++id) {
        if (mDefined[id].load(std::memory_order_acquire)) {
            outList[written++] = id;
        }
    }
    return written;
}

AudioUnitParameterValue AUElement::GetParameter(AudioUnitParameterID inParameterID) const {
    AudioUnitParameterValue value = 0.0f;
    const OSStatus status = GetParameterOrError(inParameterID, value);
    ThrowExceptionIf(status != noErr, status);
    return value;
}

OSStatus AUElement::GetParameterOrError(AudioUnitParameterID inParameterID,
                                        AudioUnitParameterValue& outValue) const noexcept {
    if (!HasParameterID(inParameterID)) {
        return kAudioUnitErr_InvalidParameter;
    }
    outValue = mValues[inParameterID].load(std::memory_order_relaxed);
    return noErr;
}

Expected<AudioUnitParameterValue>
AUElement::GetParameterOrError(AudioUnitParameterID inParameterID) const noexcept {
    AudioUnitParameterValue value = 0.0f;
    const OSStatus status = GetParameterOrError(inParameterID, value);
    if (status != noErr) {
        return Expected<AudioUnitParameterValue>::Failure(status);
    }
    return value;
}

void AUElement::SetParameter(AudioUnitParameterID inParameterID, AudioUnitParameterValue inValue,
                             bool /*okWhenInitialized*/) {
    const OSStatus status = SetParameterOrError(inParameterID, inValue);
    ThrowExceptionIf(status != noErr, status);
}

OSStatus AUElement::SetParameterOrError(AudioUnitParameterID inParameterID,
                                        AudioUnitParameterValue inValue) noexcept {
    if (inParameterID >= mCapacity) {
        return kAudioUnitErr_InvalidParameter;
    }
    mValues[inParameterID].store(inValue, std::memory_order_relaxed);
    // The first store defines the ID; the release pairs with the acquire in HasParameterID so a
    // reader that sees the ID defined also sees its value.
    bool expected = false;
    if (!mDefined[inParameterID].load(std::memory_order_relaxed) &&
        mDefined[inParameterID].compare_exchange_strong(expected, true,
                                                        std::memory_order_acq_rel)) {
        mCount.fetch_add(1, std::memory_order_acq_rel);
    }
    return noErr;
}

// ---- AUIOElement ------------------------------------------------------------------------------

namespace {

AudioStreamBasicDescription defaultFormat() {
    AudioStreamBasicDescription format{};
    format.mSampleRate = 44100.0;
    format.mFormatID = kAudioFormatLinearPCM;
    format.mFormatFlags = kAudioFormatFlagsNativeFloatPacked | kAudioFormatFlagIsNonInterleaved;
    format.mBytesPerPacket = sizeof(Float32);
    format.mFramesPerPacket = 1;
    format.mBytesPerFrame = sizeof(Float32);
    format.mChannelsPerFrame = 2;
    format.mBitsPerChannel = 32;
    return format;
}

} // namespace

AUIOElement::AUIOElement(AUBase& audioUnit)
    : AUElement(audioUnit, 0), mStreamFormat(defaultFormat()),
      mOwnList(new (mOwnListStorage) AudioBufferList{}), mCurrentList(mOwnList) {}

void AUIOElement::SetStreamFormat(const AudioStreamBasicDescription& inFormat) noexcept {
    mStreamFormat = inFormat;
}

void AUIOElement::AllocateBuffer(UInt32 inMaxFrames) {
    const UInt32 channels = std::min(NumberChannels(), kMaxChannels);
    mStorage.assign(static_cast<std::size_t>(channels) * inMaxFrames, 0.0f);
    mStorage.shrink_to_fit();
    mAllocatedFrames = inMaxFrames;
    PrepareBuffer(0);
}

void AUIOElement::DeallocateBuffer() noexcept {
    mStorage.clear();
    mStorage.shrink_to_fit();
    mAllocatedFrames = 0;
    mOwnList->mNumberBuffers = 0;
    mCurrentList = mOwnList;
}

Float32* AUIOElement::GetChannelData(UInt32 inChannel) noexcept {
    if (mStorage.empty() || inChannel >= std::min(NumberChannels(), kMaxChannels)) {
        return nullptr;
    }
    return mStorage.data() + static_cast<std::size_t>(inChannel) * mAllocatedFrames;
}

AudioBufferList& AUIOElement::PrepareBuffer(UInt32 inFrames) noexcept {
    const UInt32 frames = std::min(inFrames, mAllocatedFrames);
    const UInt32 channels = std::min(NumberChannels(), kMaxChannels);
    mOwnList->mNumberBuffers = channels;
    AudioBuffer* buffers = mOwnList->mBuffers;
    for (UInt32 c = 0; c < channels; ++c) {
        buffers[c].mNumberChannels = 1;
        buffers[c].mDataByteSize = frames * static_cast<UInt32>(sizeof(Float32));
        buffers[c].mData = GetChannelData(c);
    }
    mCurrentList = mOwnList;
    return *mOwnList;
}

// ---- AUInputElement ---------------------------------------------------------------------------

void AUInputElement::SetInputCallback(AURenderCallback inProc, void* inRefCon) noexcept {
    mCallback.inputProc = inProc;
    mCallback.inputProcRefCon = inProc != nullptr ? inRefCon : nullptr;
}

OSStatus AUInputElement::PullInput(AudioUnitRenderActionFlags& ioActionFlags,
                                   const AudioTimeStamp& inTimeStamp, AudioUnitElement inElement,
                                   UInt32 inNumberFrames) noexcept {
    return PullInputInto(ioActionFlags, inTimeStamp, inElement, inNumberFrames,
                         PrepareBuffer(inNumberFrames));
}

OSStatus AUInputElement::PullInputInto(AudioUnitRenderActionFlags& ioActionFlags,
                                       const AudioTimeStamp& inTimeStamp,
                                       AudioUnitElement inElement, UInt32 inNumberFrames,
                                       AudioBufferList& ioBuffers) noexcept {
    if (!IsCallback()) {
        return kAudioUnitErr_NoConnection;
    }
    SetCurrentList(ioBuffers);
    const UInt32 bufferCount = ioBuffers.mNumberBuffers;
    const OSStatus status =
        mCallback.inputProc(mCallback.inputProcRefCon, &ioActionFlags, &inTimeStamp, inElement,
                            inNumberFrames, &ioBuffers);
    if (status != noErr) {
        return status;
    }
    // A callback that hands back fewer bytes than asked for would have the unit read past
    // its samples.
    if (ioBuffers.mNumberBuffers != bufferCount) {
        return kAudio_ParamError;
    }
    const UInt32 bytes = inNumberFrames * static_cast<UInt32>(sizeof(Float32));
    for (UInt32 b = 0; b < bufferCount; ++b) {
        const AudioBuffer& buffer = ioBuffers.mBuffers[b];
        if (buffer.mData != nullptr && buffer.mDataByteSize < bytes) {
            return kAudio_ParamError;
        }
    }
    return noErr;
}

// ---- AUScope ----------------------------------------------------------------------------------

AUElement* AUScope::GetElement(UInt32 inIndex) const noexcept {
    return inIndex < mElements.size() ? mElements[inIndex].get() : nullptr;
}

AUIOElement* AUScope::GetIOElement(UInt32 inIndex) const noexcept {
    if (mScope != kAudioUnitScope_Input && mScope != kAudioUnitScope_Output) {
        return nullptr;
    }
    return static_cast<AUIOElement*>(GetElement(inIndex));
}

AUElement& AUScope::SafeGetElement(UInt32 inIndex) const {
    AUElement* element = GetElement(inIndex);
    ThrowExceptionIf(element == nullptr, kAudioUnitErr_InvalidElement);
    return *element;
}

void AUScope::AddElement(std::unique_ptr<AUElement> inElement) {
    mElements.push_back(std::move(inElement));
}

} // namespace ausdk

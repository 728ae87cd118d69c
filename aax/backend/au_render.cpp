// The backend's render path: the render call, the input pull and the host callbacks. Nothing
// here allocates, locks or throws: the buffer list and time stamp live on the stack, and the
// silence and scratch buffers were sized by prepare for the full frame limit.

#include "backend/au_backend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kelvoaax {
namespace {

constexpr OSStatus parameterError = kAudio_ParamError; // -50

// An AudioBufferList with room for the two channels the bridge ever prepares.
struct OutputList {
    UInt32 mNumberBuffers;
    AudioBuffer mBuffers[2];
};

} // namespace

void AUBackend::silence(float* const* outputs, uint32_t frames) const noexcept {
    if (outputs == nullptr || frames == 0) {
        return;
    }
    const uint32_t channels = std::max<uint32_t>(outputs_, 1);
    for (uint32_t c = 0; c < channels; ++c) {
        if (outputs[c] != nullptr) {
            std::memset(outputs[c], 0, frames * sizeof(float));
        }
    }
}

OSStatus AUBackend::render(const float* const* inputs, float* const* outputs, uint32_t frames,
                           const Clock& clock) noexcept {
    // A block the unit does not render is silence, not what the host left in its buffers.
    if (!prepared_) {
        silence(outputs, frames);
        return kAudioUnitErr_Uninitialized;
    }
    if (frames > maxFrames_) {
        silence(outputs, frames);
        return kAudioUnitErr_TooManyFramesToProcess;
    }
    bool channelsGiven = outputs != nullptr;
    for (uint32_t c = 0; channelsGiven && c < outputs_; ++c) {
        channelsGiven = outputs[c] != nullptr;
    }
    if (!channelsGiven || !std::isfinite(clock.position)) {
        silence(outputs, frames);
        return parameterError;
    }
    if (frames == 0) {
        return noErr;
    }

    clock_ = clock;
    currentInputs_ = inputs;
    currentFrames_ = frames;

    const UInt32 bytes = frames * static_cast<UInt32>(sizeof(float));
    OutputList list{};
    list.mNumberBuffers = outputs_;
    for (uint32_t c = 0; c < outputs_; ++c) {
        list.mBuffers[c] = AudioBuffer{1, bytes, outputs[c]};
    }
    AudioTimeStamp time{};
    time.mSampleTime = clock.position;
    time.mFlags = kAudioTimeStampSampleTimeValid;
    AudioUnitRenderActionFlags flags = 0;

    OSStatus status =
        AudioUnitRender(unit_, &flags, &time, 0, frames, reinterpret_cast<AudioBufferList*>(&list));
    if (status == noErr) {
        for (uint32_t c = 0; c < outputs_; ++c) {
            const AudioBuffer& buffer = list.mBuffers[c];
            if (buffer.mData == outputs[c]) {
                continue;
            }
            if (buffer.mData == nullptr || buffer.mDataByteSize < bytes) {
                status = parameterError;
                break;
            }
            std::memcpy(outputs[c], buffer.mData, bytes);
        }
    }
    if (status != noErr) {
        silence(outputs, frames);
    }

    currentInputs_ = nullptr;
    currentFrames_ = 0;
    return status;
}

OSStatus AUBackend::pull(void* user, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32 bus,
                         UInt32 frames, AudioBufferList* data) noexcept {
    auto& backend = *static_cast<AUBackend*>(user);
    if (bus != 0 || data == nullptr || data->mNumberBuffers != backend.inputs_ ||
        frames != backend.currentFrames_) {
        return parameterError;
    }
    const UInt32 bytes = frames * static_cast<UInt32>(sizeof(float));
    for (uint32_t i = 0; i < backend.inputs_; ++i) {
        const float* source =
            backend.currentInputs_ != nullptr && backend.currentInputs_[i] != nullptr
                ? backend.currentInputs_[i]
                : backend.silence_.data();
        AudioBuffer& buffer = data->mBuffers[i];
        if (buffer.mData == nullptr) {
            // The unit may write where it reads; it gets a copy of its own, never the host's
            // input or the shared silence.
            float* scratch =
                backend.scratch_.data() + static_cast<std::size_t>(i) * backend.maxFrames_;
            std::memcpy(scratch, source, bytes);
            buffer.mData = scratch;
        } else if (buffer.mDataByteSize < bytes) {
            return parameterError;
        } else if (buffer.mData != source) {
            std::memcpy(buffer.mData, source, bytes);
        }
        buffer.mNumberChannels = 1;
        buffer.mDataByteSize = bytes;
    }
    return noErr;
}

OSStatus AUBackend::tempo(void* user, Float64* beat, Float64* tempo) noexcept {
    const Clock& clock = static_cast<const AUBackend*>(user)->clock_;
    if (!clock.hasTempo || !std::isfinite(clock.tempo) || !(clock.tempo > 0.0) ||
        !std::isfinite(clock.beat)) {
        return kAudioUnitErr_CannotDoInCurrentContext;
    }
    if (beat != nullptr) {
        *beat = clock.beat;
    }
    if (tempo != nullptr) {
        *tempo = clock.tempo;
    }
    return noErr;
}

OSStatus AUBackend::transport(void* user, Boolean* playing, Boolean* changed, Float64* position,
                              Boolean* cycling, Float64* cycleStart, Float64* cycleEnd) noexcept {
    const Clock& clock = static_cast<const AUBackend*>(user)->clock_;
    if (!clock.hasTransport) {
        return kAudioUnitErr_CannotDoInCurrentContext;
    }
    if (playing != nullptr) {
        *playing = clock.playing;
    }
    if (changed != nullptr) {
        *changed = clock.changed;
    }
    if (position != nullptr) {
        *position = clock.position;
    }
    if (cycling != nullptr) {
        *cycling = clock.cycling;
    }
    if (cycleStart != nullptr) {
        *cycleStart = clock.cycleStart;
    }
    if (cycleEnd != nullptr) {
        *cycleEnd = clock.cycleEnd;
    }
    return noErr;
}

} // namespace kelvoaax

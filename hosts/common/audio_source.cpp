#include "audio_source.h"

#include <algorithm>
#include <cstring>

namespace kelvohost {

SampleSource::SampleSource(double sampleRate, std::vector<std::vector<float>> channels)
    : sampleRate_(sampleRate), channels_(std::move(channels)),
      frames_(channels_.empty() ? 0 : channels_.front().size()) {}

std::size_t SampleSource::read(float* const* channels, std::size_t frames) {
    const std::size_t count = std::min(frames, frames_ - position_);
    for (std::size_t c = 0; c < channels_.size() && count > 0; ++c) {
        std::memcpy(channels[c], channels_[c].data() + position_, count * sizeof(float));
    }
    position_ += count;
    return count;
}

void deinterleave(const float* interleaved, float* const* channels, unsigned channelCount,
                  std::size_t frames) noexcept {
    if (channelCount == 1) {
        std::memcpy(channels[0], interleaved, frames * sizeof(float));
        return;
    }
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (unsigned c = 0; c < channelCount; ++c) {
            channels[c][frame] = interleaved[frame * channelCount + c];
        }
    }
}

void interleave(const float* const* channels, float* interleaved, unsigned channelCount,
                std::size_t frames) noexcept {
    if (channelCount == 1) {
        std::memcpy(interleaved, channels[0], frames * sizeof(float));
        return;
    }
    for (std::size_t frame = 0; frame < frames; ++frame) {
        for (unsigned c = 0; c < channelCount; ++c) {
            interleaved[frame * channelCount + c] = channels[c][frame];
        }
    }
}

} // namespace kelvohost

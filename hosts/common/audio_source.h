#pragma once
// Audio a host renders, taken block by block, one 32-bit float buffer per channel: a file
// (audio_file_reader.h) or samples in memory.

#include <cstddef>
#include <optional>
#include <vector>

namespace kelvohost {

class AudioSource {
public:
    virtual ~AudioSource() = default;
    virtual double sampleRate() const = 0;
    virtual unsigned channels() const = 0;
    // How long the source says it is; none when it does not know.
    virtual std::optional<std::size_t> announcedFrames() const = 0;
    // Up to frames frames into channels[0 .. channels() - 1]; 0 at the end.
    virtual std::size_t read(float* const* channels, std::size_t frames) = 0;
};

// Samples held in memory, one vector per channel, all the same length.
class SampleSource : public AudioSource {
public:
    SampleSource(double sampleRate, std::vector<std::vector<float>> channels);
    double sampleRate() const override { return sampleRate_; }
    unsigned channels() const override { return static_cast<unsigned>(channels_.size()); }
    std::optional<std::size_t> announcedFrames() const override { return frames_; }
    std::size_t read(float* const* channels, std::size_t frames) override;

private:
    double sampleRate_;
    std::vector<std::vector<float>> channels_;
    std::size_t frames_;
    std::size_t position_ = 0;
};

// Between libsndfile's interleaved frames and a buffer per channel.
void deinterleave(const float* interleaved, float* const* channels, unsigned channelCount,
                  std::size_t frames) noexcept;
void interleave(const float* const* channels, float* interleaved, unsigned channelCount,
                std::size_t frames) noexcept;

} // namespace kelvohost

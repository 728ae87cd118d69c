#pragma once
// Reading an audio file block by block through libsndfile (anything it reads: WAV, AIFF,
// FLAC, Ogg, CAF, ...) into one 32-bit float buffer per channel, so memory does not grow with
// the file.
//
//     AudioFileReader reader(path);
//     while (const std::size_t frames = reader.read(channels, 4096)) { ... }
//     if (reader.endedEarly()) { /* fewer frames than the header announced */ }

#include "audio_source.h"

#include <sndfile.h>

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kelvohost {

class AudioFileReader : public AudioSource {
public:
    // Throws InputError when the file does not exist, is a directory, cannot be read as audio,
    // or holds no channels or no valid sample rate.
    explicit AudioFileReader(const std::filesystem::path& path);
    ~AudioFileReader() override;
    AudioFileReader(const AudioFileReader&) = delete;
    AudioFileReader& operator=(const AudioFileReader&) = delete;

    double sampleRate() const override { return sampleRate_; }
    unsigned channels() const override { return channels_; }
    // The length the file is going to give: for a regular file what it holds, else what its
    // header announces; none when it does not say (a stream).
    std::optional<std::size_t> announcedFrames() const override { return announced_; }
    // Throws InputError on a read error. A file that ends before its header said it would
    // ends there, and endedEarly() tells it.
    std::size_t read(float* const* channels, std::size_t frames) override;
    std::size_t framesRead() const { return framesRead_; }
    // At the end: whether the file held fewer frames than its header announced.
    bool endedEarly() const { return ended_ && claimed_ && framesRead_ < *claimed_; }
    // When it ended early, a line that says so ("in.flac holds 20480 frames, not the ...").
    std::string endedEarlyText() const;

private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };

    std::filesystem::path path_;
    std::unique_ptr<SNDFILE, Closer> file_;
    double sampleRate_ = 0.0;
    unsigned channels_ = 0;
    std::optional<std::size_t> announced_;
    std::optional<std::size_t> claimed_; // what the header says, where it says more
    std::size_t framesRead_ = 0;
    bool ended_ = false;
    std::string stopReason_;         // why decoding stopped short, as libsndfile puts it
    std::vector<float> interleaved_; // as libsndfile reads frames
};

// libsndfile's message for file (nullptr: the last failed open) without its "Error : " prefix.
std::string libraryMessage(SNDFILE* file);

} // namespace kelvohost

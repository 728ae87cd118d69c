#pragma once
// Audio files through libsndfile: read anything it reads into planar 32-bit floats, write a
// 32-bit float WAV. Writing goes to a temporary file beside the target that is renamed into
// place only when complete, so a failed write leaves no partial output behind.

#include <cstddef>
#include <filesystem>
#include <vector>

namespace kelvohost {

struct AudioData {
    double sampleRate = 48000.0;
    std::vector<std::vector<float>> channels; // one vector per channel, all the same length

    unsigned channelCount() const { return static_cast<unsigned>(channels.size()); }
    std::size_t frameCount() const { return channels.empty() ? 0 : channels.front().size(); }
};

// Throws InputError when the file cannot be opened or read, or holds no channels.
// [main thread]
AudioData readAudioFile(const std::filesystem::path& path);

// Throws InputError when the file cannot be created or written; nothing is left at path then.
// [main thread]
void writeFloatWav(const std::filesystem::path& path, const AudioData& audio);

} // namespace kelvohost

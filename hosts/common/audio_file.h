#pragma once
// A whole audio file in memory, for hosts that take short inputs at once (the editor's meter
// runs, the demo). Long files are read and written block by block instead
// (audio_file_reader.h, audio_file_writer.h).

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

} // namespace kelvohost

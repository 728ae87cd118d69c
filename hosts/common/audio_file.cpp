#include "audio_file.h"

#include "audio_file_reader.h"

namespace kelvohost {
namespace {

// Frames per read: big enough to amortise the call, small enough to stay in cache.
constexpr std::size_t readFrames = 8192;

} // namespace

AudioData readAudioFile(const std::filesystem::path& path) {
    AudioFileReader reader(path);
    AudioData audio;
    audio.sampleRate = reader.sampleRate();
    audio.channels.resize(reader.channels());
    std::vector<std::vector<float>> block(reader.channels(), std::vector<float>(readFrames));
    std::vector<float*> pointers;
    for (auto& channel : block) {
        pointers.push_back(channel.data());
    }
    while (const std::size_t got = reader.read(pointers.data(), readFrames)) {
        for (unsigned c = 0; c < reader.channels(); ++c) {
            audio.channels[c].insert(audio.channels[c].end(), block[c].begin(),
                                     block[c].begin() + static_cast<std::ptrdiff_t>(got));
        }
    }
    return audio;
}

} // namespace kelvohost

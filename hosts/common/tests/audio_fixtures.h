#pragma once
// Audio files the tests of more than one host build, written with libsndfile.

#include "audio_file_reader.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kelvohost {

// The harsh, loud pattern of the test files: frames interleaved frames of channels.
inline std::vector<short> harshPattern(int channels, int frames) {
    std::vector<short> samples(static_cast<std::size_t>(frames * channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        samples[i] = static_cast<short>((i * 7919) % 20000 - 10000);
    }
    return samples;
}

// A 16-bit WAV file of the pattern.
inline void writeTestWav(const std::filesystem::path& path, int rate, int channels, int frames) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path;
    const std::vector<short> samples = harshPattern(channels, frames);
    sf_write_short(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
}

// A file of 48000 stereo frames of the pattern in the container its name asks for (.flac,
// .wav, .aiff). Lying, its header announces more than it holds, as a corrupt or hostile file
// may: FLAC the largest length it can (2^36 - 1 frames), WAV and AIFF a sound data chunk of
// 2^31 - 1 bytes. Cut, it stops half way through, as a broken download does.
inline void writeTestAudio(const std::filesystem::path& path, bool lying, bool cut) {
    const std::string extension = path.extension().string();
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = (extension == ".flac"   ? SF_FORMAT_FLAC
                   : extension == ".aiff" ? SF_FORMAT_AIFF
                                          : SF_FORMAT_WAV) |
                  SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << path;
    const std::vector<short> samples = harshPattern(2, 48000);
    sf_writef_short(file, samples.data(), 48000);
    sf_close(file);

    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (lying && extension == ".flac") {
        // "fLaC", the block header, then STREAMINFO: the total sample count is the low 36 bits
        // of the 64-bit field at byte 10 of the block.
        ASSERT_EQ(bytes.substr(0, 4), "fLaC");
        bytes[21] = static_cast<char>(bytes[21] | 0x0F);
        for (std::size_t i = 22; i < 26; ++i) {
            bytes[i] = static_cast<char>(0xFF);
        }
    } else if (lying) {
        // The size after the chunk's name: little-endian in WAV, big-endian in AIFF.
        const std::size_t chunk = bytes.find(extension == ".aiff" ? "SSND" : "data");
        ASSERT_NE(chunk, std::string::npos) << path;
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t shift = 8 * (extension == ".aiff" ? 3 - i : i);
            bytes[chunk + 4 + i] = static_cast<char>(0x7FFFFFFFu >> shift);
        }
    }
    std::ofstream(path, std::ios::binary) << (cut ? bytes.substr(0, bytes.size() / 2) : bytes);
}

// A whole stereo file, one vector per channel, read as the hosts read it.
inline std::vector<std::vector<float>> readStereoFile(const std::filesystem::path& path) {
    AudioFileReader reader(path);
    std::vector<std::vector<float>> channels(2);
    std::vector<float> left(1000), right(1000);
    float* pointers[] = {left.data(), right.data()};
    while (const std::size_t got = reader.read(pointers, 1000)) {
        channels[0].insert(channels[0].end(), left.begin(), left.begin() + got);
        channels[1].insert(channels[1].end(), right.begin(), right.begin() + got);
    }
    return channels;
}

} // namespace kelvohost

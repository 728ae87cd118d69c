#include "audio_file.h"
#include "audio_file_reader.h"
#include "audio_file_writer.h"
#include "audio_fixtures.h"
#include "demo_signal.h"
#include "host_error.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

using AudioFiles = TemporaryFolder;

TEST_F(AudioFiles, FloatWavRoundTripKeepsEverySample) {
    AudioData audio;
    audio.sampleRate = 44100;
    audio.channels = {{0.5f, -1.0f, 1e-20f, 3.0f}, {0.0f, 0.25f, -0.125f, -3.0f}};
    const fs::path path = folder_ / "round.wav";
    {
        AudioFileWriter writer(resolveOutputTarget(path), outputFormatFor(path, std::nullopt),
                               audio.sampleRate, 2, audio.frameCount());
        const float* channels[] = {audio.channels[0].data(), audio.channels[1].data()};
        writer.write(channels, audio.frameCount());
        writer.commit();
    }

    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    sf_close(file);

    const AudioData back = readAudioFile(path);
    EXPECT_EQ(back.sampleRate, 44100);
    EXPECT_EQ(back.channels, audio.channels); // float WAV is not clipped or requantised
    EXPECT_FALSE(fs::exists(path.string() + ".partial-" + std::to_string(::getpid())));
}

TEST_F(AudioFiles, ReadsIntegerFilesAsFloats) {
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_AIFF | SF_FORMAT_PCM_16;
    const fs::path path = folder_ / "mono.aiff";
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    const short samples[] = {0, 16384, -32768};
    sf_write_short(file, samples, 3);
    sf_close(file);

    const AudioData audio = readAudioFile(path);
    ASSERT_EQ(audio.channelCount(), 1u);
    EXPECT_EQ(audio.channels[0], (std::vector<float>{0.0f, 0.5f, -1.0f}));
}

TEST_F(AudioFiles, UnreadableInputAndUnwritableOutputAreInputErrors) {
    std::ofstream(folder_ / "text.wav") << "this is not audio";
    EXPECT_THROW(readAudioFile(folder_ / "text.wav"), InputError);
    EXPECT_THROW(readAudioFile(folder_ / "absent.wav"), InputError);
    try {
        readAudioFile(folder_);
        ADD_FAILURE() << "a folder was read as audio";
    } catch (const InputError& error) {
        EXPECT_EQ(std::string(error.what()), folder_.string() + ": is a directory");
    }

    const fs::path nowhere = folder_ / "no-such-folder" / "out.wav";
    EXPECT_THROW(resolveOutputTarget(nowhere), InputError);
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
}

TEST_F(AudioFiles, AFileShorterThanItsHeaderEndsWhereItsAudioEnds) {
    struct Case {
        const char* name;
        bool lying;
        bool cut;
        const char* announced; // as endedEarlyText names it; empty: it does not end early
    };
    // libsndfile measures a regular WAV or AIFF file and gives only what it holds; the header's
    // word is what the file is compared with.
    const Case cases[] = {
        {"honest.flac", false, false, ""},
        {"lying.flac", true, false, "not the 68719476735 its header announces"},
        {"cut.flac", false, true, "not the 48000 its header announces (flac decoder"},
        {"lying-cut.flac", true, true, "not the 68719476735 its header announces"},
        {"honest.wav", false, false, ""},
        {"lying.wav", true, false, "holds 48000 frames, not the 536870911 its header announces"},
        {"cut.wav", false, true, "not the 48000 its header announces"},
        {"honest.aiff", false, false, ""},
        {"lying.aiff", true, false, "holds 48000 frames, not the 536870909 its header announces"},
        {"cut.aiff", false, true, "not the 48000 its header announces"},
    };
    for (const Case& c : cases) {
        writeTestAudio(folder_ / c.name, c.lying, c.cut);
        AudioFileReader reader(folder_ / c.name);
        std::vector<float> left(4096), right(4096);
        float* channels[] = {left.data(), right.data()};
        std::size_t total = 0;
        while (const std::size_t got = reader.read(channels, 4096)) {
            total += got;
        }
        EXPECT_EQ(reader.framesRead(), total);
        if (c.lying && !c.cut && !std::string_view(c.name).ends_with(".flac")) {
            EXPECT_EQ(reader.announcedFrames(), std::optional<std::size_t>(48000))
                << c.name << ": what the file holds, for progress and the output's header";
        }
        EXPECT_EQ(total, c.cut ? total : 48000u) << c.name; // a cut file: what decodes
        EXPECT_GT(total, c.cut ? 0u : 47999u) << c.name;
        EXPECT_EQ(reader.endedEarly(), *c.announced != '\0') << c.name;
        if (*c.announced != '\0') {
            EXPECT_NE(reader.endedEarlyText().find(c.announced), std::string::npos)
                << reader.endedEarlyText();
        }
    }
}

TEST_F(AudioFiles, AHeaderThatLeavesItsLengthOpenAnnouncesNothing) {
    // An AU header may give its data size as unknown (all ones), as a stream's does.
    const fs::path path = folder_ / "open.au";
    SF_INFO info{};
    info.samplerate = 8000;
    info.channels = 1;
    info.format = SF_FORMAT_AU | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    const std::vector<short> samples(1000, 1000);
    sf_write_short(file, samples.data(), 1000);
    sf_close(file);
    std::fstream patch(path, std::ios::in | std::ios::out | std::ios::binary);
    patch.seekp(8);
    patch.write("\xFF\xFF\xFF\xFF", 4);
    patch.close();

    AudioFileReader reader(path);
    std::vector<float> mono(4096);
    float* channels[] = {mono.data()};
    while (reader.read(channels, 4096) > 0) {
    }
    EXPECT_EQ(reader.framesRead(), 1000u);
    EXPECT_FALSE(reader.endedEarly()) << reader.endedEarlyText();
}

TEST(DemoSignal, SixSecondsOfStereoAt48kHzTheSameEachTime) {
    const AudioData first = makeDemoSignal();
    const AudioData second = makeDemoSignal();
    EXPECT_EQ(first.sampleRate, 48000.0);
    ASSERT_EQ(first.channelCount(), 2u);
    EXPECT_EQ(first.frameCount(), 6u * 48000u);
    EXPECT_EQ(first.channels, second.channels);

    double peak = 0.0;
    double energy[2] = {0.0, 0.0};
    for (unsigned c = 0; c < 2; ++c) {
        for (const float x : first.channels[c]) {
            peak = std::max(peak, std::fabs(double(x)));
            energy[c] += double(x) * x;
        }
    }
    // Loud enough to drive the units, with headroom; the two channels differ (it is stereo).
    EXPECT_LT(peak, 1.0);
    EXPECT_GT(peak, 0.3);
    EXPECT_NE(first.channels[0], first.channels[1]);
    EXPECT_GT(energy[0], 0.0);
    EXPECT_EQ(first.channels[0].front(), 0.0f); // fades in from silence
}

} // namespace
} // namespace kelvohost

#include "audio_file_reader.h"
#include "audio_file_writer.h"
#include "fifo_capture.h"
#include "host_error.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

constexpr double rate = 44100.0;

// A stereo signal long enough to span several of the writer's blocks.
struct Stereo {
    std::vector<float> left, right;
    explicit Stereo(std::size_t frames) : left(frames), right(frames) {
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = 0.5f * static_cast<float>((i * 7919) % 2000) / 1000.0f - 0.5f;
            right[i] = -left[i] * 0.25f;
        }
    }
    std::size_t frames() const { return left.size(); }
};

// Writes signal to path in three pieces, as a render does, and commits.
void writeTo(const fs::path& path, const Stereo& signal, std::optional<SampleFormat> bits = {},
             std::optional<std::size_t> announced = {}) {
    AudioFileWriter writer(resolveOutputTarget(path), outputFormatFor(path, bits), rate, 2,
                           announced.value_or(signal.frames()));
    for (std::size_t start = 0; start < signal.frames();) {
        const std::size_t count = std::min<std::size_t>(30000, signal.frames() - start);
        const float* channels[] = {signal.left.data() + start, signal.right.data() + start};
        writer.write(channels, count);
        start += count;
    }
    writer.commit();
}

struct ReadBack {
    SF_INFO info{};
    std::vector<float> left, right;
};

ReadBack readBack(const fs::path& path) {
    ReadBack back;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &back.info);
    if (file == nullptr) {
        return back;
    }
    std::vector<float> frame(static_cast<std::size_t>(back.info.channels));
    while (sf_readf_float(file, frame.data(), 1) == 1) {
        back.left.push_back(frame[0]);
        back.right.push_back(frame[1]);
    }
    sf_close(file);
    return back;
}

std::string contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

using AudioFileWriting = TemporaryFolder;

TEST_F(AudioFileWriting, EveryContainerReadsBackWithItsLengthRateAndSamples) {
    const Stereo signal(70001);
    struct Case {
        const char* name;
        std::optional<SampleFormat> bits;
        int format;
        float tolerance; // 0: every sample exact
    };
    const Case cases[] = {
        {"out.wav", std::nullopt, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0.0f},
        {"out16.wav", SampleFormat::pcm16, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1.0f / 32000},
        {"out.aiff", std::nullopt, SF_FORMAT_AIFF | SF_FORMAT_FLOAT, 0.0f},
        {"out24.aif", SampleFormat::pcm24, SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 1e-6f},
        {"out.caf", SampleFormat::pcm32, SF_FORMAT_CAF | SF_FORMAT_PCM_32, 1e-7f},
        {"out.flac", std::nullopt, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 1e-6f},
        {"out.ogg", std::nullopt, SF_FORMAT_OGG | SF_FORMAT_VORBIS, 1.0f}, // lossy
    };
    for (const Case& c : cases) {
        writeTo(path(c.name), signal, c.bits);
        const ReadBack back = readBack(path(c.name));
        EXPECT_EQ(back.info.format, c.format) << c.name;
        EXPECT_EQ(back.info.samplerate, 44100) << c.name;
        ASSERT_EQ(back.left.size(), signal.frames()) << c.name;
        float worst = 0.0f;
        for (std::size_t i = 0; i < signal.frames(); ++i) {
            worst = std::max({worst, std::fabs(back.left[i] - signal.left[i]),
                              std::fabs(back.right[i] - signal.right[i])});
        }
        EXPECT_LE(worst, c.tolerance) << c.name;
    }
    for (const auto& entry : fs::directory_iterator(folder_)) {
        EXPECT_EQ(entry.path().string().find(".partial"), std::string::npos) << entry.path();
    }
}

TEST_F(AudioFileWriting, NoFramesMakeAnEmptyFileOrARefusal) {
    const Stereo none(0);
    for (const char* name : {"empty.wav", "empty.aiff", "empty.caf", "empty.ogg"}) {
        writeTo(path(name), none);
        const ReadBack back = readBack(path(name));
        EXPECT_EQ(back.info.samplerate, 44100) << name;
        EXPECT_TRUE(back.left.empty()) << name;
    }
    // libsndfile writes no FLAC stream without a frame.
    EXPECT_THROW(writeTo(path("empty.flac"), none), InputError);
    EXPECT_FALSE(fs::exists(path("empty.flac")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 4);
}

TEST_F(AudioFileWriting, IntegerSamplesClipAtFullScaleInsteadOfWrapping) {
    Stereo loud(4);
    loud.left = {1.5f, -1.5f, 1.0f, -1.0f};
    writeTo(path("loud.wav"), loud, SampleFormat::pcm16);
    const ReadBack back = readBack(path("loud.wav"));
    ASSERT_EQ(back.left.size(), 4u);
    EXPECT_GT(back.left[0], 0.999f);
    EXPECT_LE(back.left[1], -0.999f);
}

TEST_F(AudioFileWriting, LinksKeepTheirShape) {
    const Stereo signal(1000);
    fs::create_directories(path("takes"));
    std::ofstream(path("takes/take.wav")) << "old";
    fs::create_symlink("takes/take.wav", path("latest.wav"));
    std::ofstream(path("linked.wav")) << "old";
    fs::create_hard_link(path("linked.wav"), path("other-name.wav"));
    std::ofstream(path("private.wav")) << "old";
    fs::permissions(path("private.wav"), fs::perms::owner_read | fs::perms::owner_write);

    writeTo(path("latest.wav"), signal);
    EXPECT_TRUE(fs::is_symlink(path("latest.wav")));
    EXPECT_EQ(readBack(path("takes/take.wav")).left.size(), 1000u);

    // Renamed over, the other name would keep the old bytes; copied into, both show the new.
    writeTo(path("linked.wav"), signal);
    EXPECT_TRUE(fs::equivalent(path("linked.wav"), path("other-name.wav")));
    EXPECT_EQ(readBack(path("other-name.wav")).left.size(), 1000u);
    EXPECT_EQ(fs::hard_link_count(path("linked.wav")), 2u);

    writeTo(path("private.wav"), signal);
    EXPECT_EQ(fs::status(path("private.wav")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);

    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"latest.wav", "linked.wav", "other-name.wav",
                                               "private.wav", "take.wav", "takes"}));
}

TEST_F(AudioFileWriting, AFormatThatCannotHoldTheAudioIsRefusedLeavingNothing) {
    // FLAC's rates end at 655350 Hz.
    EXPECT_THROW(AudioFileWriter(resolveOutputTarget(path("fast.flac")),
                                 outputFormatFor(path("fast.flac"), {}), 1e6, 2, 100),
                 InputError);
    EXPECT_TRUE(fs::is_empty(folder_));
}

TEST_F(AudioFileWriting, AnUncommittedWriteLeavesTheOldFileAndNoTemporary) {
    for (const char* name : {"existing.wav", "linked.wav"}) {
        std::ofstream(path(name)) << "old";
    }
    fs::create_hard_link(path("linked.wav"), path("other-name.wav"));
    const Stereo signal(5000);
    for (const char* name : {"existing.wav", "linked.wav", "new.wav"}) {
        AudioFileWriter writer(resolveOutputTarget(path(name)), outputFormatFor(path(name), {}),
                               rate, 2, signal.frames());
        const float* channels[] = {signal.left.data(), signal.right.data()};
        writer.write(channels, signal.frames());
        // A failed render destroys the writer without committing it.
    }
    EXPECT_EQ(contentOf(path("existing.wav")), "old");
    EXPECT_EQ(contentOf(path("other-name.wav")), "old");
    EXPECT_FALSE(fs::exists(path("new.wav")));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 3);
}

TEST_F(AudioFileWriting, StreamsIntoAFifoWithTheLengthInTheHeader) {
    // libsndfile refuses to write WAV, AIFF and CAF to a pipe; the header has to carry the
    // length before the audio follows, since it cannot be completed afterwards. One frame
    // and none are where a header rewritten shorter would show.
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    for (const std::size_t frames : {std::size_t{70001}, std::size_t{1}, std::size_t{0}}) {
        const Stereo signal(frames);
        for (const std::string format : {"wav", "aiff", "caf", "flac", "ogg"}) {
            if (frames == 0 && format == "flac") {
                continue; // refused: see NoFramesMakeAnEmptyFileOrARefusal
            }
            const std::string what = format + ", " + std::to_string(frames) + " frames";
            const fs::path named = path("fifo-" + std::to_string(frames) + "." + format);
            fs::create_symlink("fifo", named);
            const std::string bytes = readFifoWhile(named, [&] { writeTo(named, signal); });
            EXPECT_TRUE(fs::is_fifo(path("fifo")));
            const fs::path copy = path("received." + format);
            std::ofstream(copy, std::ios::binary) << bytes;
            const ReadBack back = readBack(copy);
            EXPECT_EQ(back.info.samplerate, 44100) << what;
            ASSERT_EQ(back.left.size(), signal.frames()) << what;
            if (format != "ogg" && format != "flac") {
                EXPECT_EQ(back.left, signal.left) << what; // float, every sample
            }
            if (back.info.frames != SF_COUNT_MAX) { // FLAC's stream header leaves it open
                EXPECT_EQ(back.info.frames, static_cast<sf_count_t>(signal.frames())) << what;
            }
        }
    }
}

TEST_F(AudioFileWriting, AStreamWhoseAudioEndsShortSaysSo) {
    const Stereo signal(1000);
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    std::string warning;
    readFifoWhile(path("fifo"), [&] {
        AudioFileWriter writer(resolveOutputTarget(path("fifo")), outputFormatFor("x.wav", {}),
                               rate, 2, 5000);
        const float* channels[] = {signal.left.data(), signal.right.data()};
        writer.write(channels, signal.frames());
        writer.commit();
        warning = writer.lengthWarning();
    });
    EXPECT_NE(warning.find("announces 5000 frames; 1000 were written"), std::string::npos)
        << warning;
}

} // namespace
} // namespace kelvohost

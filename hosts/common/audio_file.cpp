#include "audio_file.h"

#include "host_error.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <system_error>
#include <unistd.h>

namespace kelvohost {
namespace {

struct SndfileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndfileHandle = std::unique_ptr<SNDFILE, SndfileCloser>;

// Frames moved per libsndfile call: big enough to amortise the call, small enough that the
// interleaved scratch buffer stays in cache.
constexpr std::size_t chunkFrames = 8192;

std::string describe(const std::filesystem::path& path) {
    return path.string();
}

} // namespace

AudioData readAudioFile(const std::filesystem::path& path) {
    SF_INFO info{};
    SndfileHandle file(sf_open(path.c_str(), SFM_READ, &info));
    if (!file) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            throw InputError(describe(path) + ": no such file");
        }
        throw InputError(describe(path) + ": cannot read audio (" + sf_strerror(nullptr) + ")");
    }
    if (info.channels < 1) {
        throw InputError(describe(path) + ": the file holds no audio channels");
    }
    if (!(info.samplerate > 0)) {
        throw InputError(describe(path) + ": the file has no valid sample rate");
    }

    AudioData audio;
    audio.sampleRate = info.samplerate;
    const auto channelCount = static_cast<std::size_t>(info.channels);
    audio.channels.resize(channelCount);
    if (info.frames > 0) {
        for (auto& channel : audio.channels) {
            channel.reserve(static_cast<std::size_t>(info.frames));
        }
    }

    std::vector<float> interleaved(chunkFrames * channelCount);
    for (;;) {
        const sf_count_t got =
            sf_readf_float(file.get(), interleaved.data(), static_cast<sf_count_t>(chunkFrames));
        if (got <= 0) {
            break;
        }
        for (sf_count_t frame = 0; frame < got; ++frame) {
            for (std::size_t c = 0; c < channelCount; ++c) {
                audio.channels[c].push_back(
                    interleaved[static_cast<std::size_t>(frame) * channelCount + c]);
            }
        }
    }
    if (sf_error(file.get()) != SF_ERR_NO_ERROR) {
        throw InputError(describe(path) + ": read error (" + sf_strerror(file.get()) + ")");
    }
    return audio;
}

void writeFloatWav(const std::filesystem::path& path, const AudioData& audio) {
    const std::size_t channelCount = audio.channels.size();
    if (channelCount == 0) {
        throw InputError(describe(path) + ": nothing to write");
    }
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(audio.sampleRate));
    info.channels = static_cast<int>(channelCount);
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    if (!sf_format_check(&info)) {
        throw InputError(describe(path) + ": a 32-bit float WAV cannot hold this format");
    }

    // Beside the target, so the final rename stays on one file system.
    std::filesystem::path temporary = path;
    temporary += ".partial-" + std::to_string(::getpid());
    SndfileHandle file(sf_open(temporary.c_str(), SFM_WRITE, &info));
    if (!file) {
        throw InputError(describe(path) + ": cannot create the output file (" +
                         sf_strerror(nullptr) + ")");
    }

    bool ok = true;
    const std::size_t frames = audio.frameCount();
    std::vector<float> interleaved(chunkFrames * channelCount);
    for (std::size_t start = 0; start < frames && ok; start += chunkFrames) {
        const std::size_t count = std::min(chunkFrames, frames - start);
        for (std::size_t frame = 0; frame < count; ++frame) {
            for (std::size_t c = 0; c < channelCount; ++c) {
                interleaved[frame * channelCount + c] = audio.channels[c][start + frame];
            }
        }
        ok = sf_writef_float(file.get(), interleaved.data(), static_cast<sf_count_t>(count)) ==
             static_cast<sf_count_t>(count);
    }
    std::string failure = ok ? std::string() : sf_strerror(file.get());
    if (sf_close(file.release()) != 0 && ok) {
        ok = false;
        failure = "closing failed";
    }
    std::error_code ec;
    if (ok) {
        std::filesystem::rename(temporary, path, ec);
        if (ec) {
            ok = false;
            failure = ec.message();
        }
    }
    if (!ok) {
        std::filesystem::remove(temporary, ec);
        throw InputError(describe(path) + ": cannot write the output file (" + failure + ")");
    }
}

} // namespace kelvohost

#include "audio_file_reader.h"

#include "host_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kelvohost {
namespace {

// libsndfile gives a stream whose header does not state its length (an AU header's "unknown
// size", a Wave64 stream) about SF_COUNT_MAX over the frame's size: no length at all. No
// header states anything near that many frames (2^40 frames last 290 days at 44.1 kHz).
std::optional<std::size_t> statedLength(sf_count_t frames) {
    constexpr sf_count_t longestStated = sf_count_t{1} << 40;
    if (frames < 0 || frames >= longestStated) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(frames);
}

// The containers whose header states the length of their audio, which libsndfile cuts to what
// a regular file holds (a Wave64 header's length it takes from the file itself).
bool statesItsLength(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
    case SF_FORMAT_AIFF:
    case SF_FORMAT_AU:
    case SF_FORMAT_CAF:
        return true;
    default:
        return false;
    }
}

// The length the header of the file at path announces, read as libsndfile reads a stream,
// where it cannot measure the file and so takes the header at its word: the file's start
// (as much as a pipe holds at once, which any usual header fits in) through a pipe.
std::optional<std::size_t> headerLength(const std::filesystem::path& path) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        return std::nullopt;
    }
    const int capacity = ::fcntl(ends[1], F_GETPIPE_SZ);
    std::vector<char> start(static_cast<std::size_t>(std::max(capacity, 4096)));
    const int file = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const ssize_t got = file >= 0 ? ::pread(file, start.data(), start.size(), 0) : -1;
    const bool sent = got > 0 && ::write(ends[1], start.data(), static_cast<std::size_t>(got)) > 0;
    if (file >= 0) {
        ::close(file);
    }
    ::close(ends[1]);
    std::optional<std::size_t> frames;
    SF_INFO info{};
    SNDFILE* stream = sent ? sf_open_fd(ends[0], SFM_READ, &info, SF_FALSE) : nullptr;
    if (stream != nullptr) {
        frames = statedLength(info.frames);
        sf_close(stream);
    }
    ::close(ends[0]);
    return frames;
}

} // namespace

AudioFileReader::AudioFileReader(const std::filesystem::path& path) : path_(path) {
    const std::string name = path.string();
    struct stat kind {};
    const bool known = ::stat(path.c_str(), &kind) == 0;
    if (known && S_ISDIR(kind.st_mode)) {
        throw InputError(name + ": is a directory");
    }
    SF_INFO info{};
    file_.reset(sf_open(path.c_str(), SFM_READ, &info));
    if (!file_) {
        std::error_code ec;
        if (!std::filesystem::exists(path, ec)) {
            throw InputError(name + ": no such file");
        }
        throw InputError(name + ": cannot read audio (" + libraryMessage(nullptr) + ")");
    }
    if (info.channels < 1) {
        throw InputError(name + ": the file holds no audio channels");
    }
    if (!(info.samplerate > 0)) {
        throw InputError(name + ": the file has no valid sample rate");
    }
    sampleRate_ = info.samplerate;
    channels_ = static_cast<unsigned>(info.channels);
    announced_ = statedLength(info.frames);
    claimed_ = announced_;
    if (announced_ && known && S_ISREG(kind.st_mode) && statesItsLength(info.format)) {
        if (const std::optional<std::size_t> header = headerLength(path); header > announced_) {
            claimed_ = header;
        }
    }
}

AudioFileReader::~AudioFileReader() = default;

std::size_t AudioFileReader::read(float* const* channels, std::size_t frames) {
    if (ended_ || frames == 0) {
        return 0;
    }
    if (interleaved_.size() < frames * channels_) {
        interleaved_.resize(frames * channels_);
    }
    const sf_count_t got =
        sf_readf_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
    const std::size_t count = got > 0 ? static_cast<std::size_t>(got) : 0;
    deinterleave(interleaved_.data(), channels, channels_, count);
    framesRead_ += count;
    if (const int error = sf_error(file_.get()); error != SF_ERR_NO_ERROR) {
        // A decoder that runs out of data where the header promised more (a cut file) says
        // so as an error; what it gave before is good audio. A failing disk is an error.
        if (error == SF_ERR_SYSTEM || !claimed_ || framesRead_ >= *claimed_) {
            throw InputError(path_.string() + ": read error (" + libraryMessage(file_.get()) + ")");
        }
        ended_ = true;
        stopReason_ = libraryMessage(file_.get());
        return count;
    }
    ended_ = count == 0;
    return count;
}

std::string AudioFileReader::endedEarlyText() const {
    if (!endedEarly()) {
        return {};
    }
    std::string text = path_.string() + " holds " + std::to_string(framesRead_) +
                       " frames, not the " + std::to_string(*claimed_) + " its header announces";
    if (!stopReason_.empty()) {
        text += " (" + stopReason_ + ")";
    }
    return text;
}

std::string libraryMessage(SNDFILE* file) {
    std::string text = sf_strerror(file);
    if (text.starts_with("Error : ")) {
        text.erase(0, 8);
    }
    while (!text.empty() && (text.back() == '.' || text.back() == '\n')) {
        text.pop_back();
    }
    return text;
}

} // namespace kelvohost

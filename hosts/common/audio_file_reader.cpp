#include "audio_file_reader.h"

#include "host_error.h"

#include <string>

namespace kelvohost {

AudioFileReader::AudioFileReader(const std::filesystem::path& path) : path_(path) {
    SF_INFO info{};
    file_.reset(sf_open(path.c_str(), SFM_READ, &info));
    const std::string name = path.string();
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
    // libsndfile says SF_COUNT_MAX where the header gives no length.
    if (info.frames >= 0 && info.frames < SF_COUNT_MAX) {
        announced_ = static_cast<std::size_t>(info.frames);
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
        if (error == SF_ERR_SYSTEM || !announced_ || framesRead_ >= *announced_) {
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
                       " frames, not the " + std::to_string(*announced_) + " its header announces";
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

#include "audio_file_writer.h"

#include "audio_file_reader.h"
#include "audio_source.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace kelvohost {
namespace {

void putLittleEndian32(unsigned char* at, std::uint64_t value) {
    const auto word = static_cast<std::uint32_t>(std::min<std::uint64_t>(value, 0xFFFFFFFFu));
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<unsigned char>(word >> (8 * i));
    }
}

// libsndfile takes the lengths in a WAV header (the data chunk's size and the fact chunk's
// frames) from the frames written so far, not from the file length as for AIFF and CAF; a
// stream's header is sent before any frame, so they are put in here.
void announceWavLength(std::vector<unsigned char>& header, std::uint64_t frames,
                       std::uint64_t bytesPerFrame) {
    std::size_t at = 12; // after "RIFF", its size and "WAVE"
    while (at + 8 <= header.size()) {
        const std::string id(reinterpret_cast<const char*>(header.data() + at), 4);
        const std::uint32_t size = header[at + 4] | header[at + 5] << 8 | header[at + 6] << 16 |
                                   static_cast<std::uint32_t>(header[at + 7]) << 24;
        if (id == "data") {
            putLittleEndian32(header.data() + at + 4, frames * bytesPerFrame);
            return;
        }
        if (id == "fact" && size >= 4 && at + 12 <= header.size()) {
            putLittleEndian32(header.data() + at + 8, frames);
        }
        at += 8 + size + (size & 1u);
    }
}

bool isIntegerFormat(int format) {
    const int subtype = format & SF_FORMAT_SUBMASK;
    return subtype == SF_FORMAT_PCM_16 || subtype == SF_FORMAT_PCM_24 ||
           subtype == SF_FORMAT_PCM_32;
}

} // namespace

AudioFileWriter::AudioFileWriter(const OutputTarget& target, const OutputFormat& format,
                                 double sampleRate, unsigned channels,
                                 std::optional<std::size_t> expectedFrames)
    : format_(format), file_(target), channels_(channels) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(sampleRate));
    info.channels = static_cast<int>(channels);
    info.format = format.sndfileFormat;
    if (file_.seekable()) {
        sound_.reset(sf_open_fd(file_.descriptor(), SFM_WRITE, &info, SF_FALSE));
    } else {
        openStream(info, expectedFrames);
    }
    if (!sound_) {
        file_.fail("cannot create the output file", libraryMessage(nullptr));
    }
    // Past full scale an integer sample would wrap around to the other extreme.
    if (isIntegerFormat(format.sndfileFormat)) {
        sf_command(sound_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    }
}

void AudioFileWriter::openStream(SF_INFO& info, std::optional<std::size_t> expectedFrames) {
    stream_ = std::make_unique<ForwardStream>(file_.descriptor());
    sound_.reset(sf_open_virtual(&ForwardStream::callbacks(), SFM_WRITE, &info, stream_.get()));
    if (!sound_) {
        return;
    }
    // libsndfile's peak chunk goes out before any peak is known, so it says 0. It stays all
    // the same: turned off now that the header is written, it would leave the longer first
    // header's tail behind the shorter one, which a reader of a short stream takes for audio.
    if (format_.sampleBytes > 0) {
        announcedFrames_ = expectedFrames;
    }
}

// libsndfile rewrites the header once more at the first write, so the length goes in after
// it, while the header and the first frames are still held.
void AudioFileWriter::announceLength() {
    if (announcedFrames_) {
        announcedFrames_ = std::max(*announcedFrames_, framesWritten_);
        const std::uint64_t bytesPerFrame = format_.sampleBytes * channels_;
        stream_->announceLength(
            stream_->length() +
            static_cast<sf_count_t>((*announcedFrames_ - framesWritten_) * bytesPerFrame));
        sf_command(sound_.get(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
        stream_->announceLength(std::nullopt);
        if ((format_.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
            announceWavLength(stream_->held(), *announcedFrames_, bytesPerFrame);
        }
    }
    stream_->release();
}

AudioFileWriter::~AudioFileWriter() = default;

void AudioFileWriter::write(const float* const* channels, std::size_t frames) {
    if (frames == 0) {
        return;
    }
    if (interleaved_.size() < frames * channels_) {
        interleaved_.resize(frames * channels_);
    }
    interleave(channels, interleaved_.data(), channels_, frames);
    const sf_count_t wrote =
        sf_writef_float(sound_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
    if (wrote != static_cast<sf_count_t>(frames)) {
        file_.fail("cannot write the output file", stream_ && !stream_->error().empty()
                                                       ? stream_->error()
                                                       : libraryMessage(sound_.get()));
    }
    framesWritten_ += frames;
    if (stream_ && !stream_->released()) {
        announceLength();
    }
}

void AudioFileWriter::complete() {
    // libsndfile starts a FLAC stream with its first frame; without one the file would be
    // empty, which no reader takes for FLAC.
    if (framesWritten_ == 0 && (format_.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC) {
        file_.fail("cannot write the output file", "a FLAC file needs at least one frame");
    }
    if (const int closed = sf_close(sound_.release()); closed != 0) {
        file_.fail("cannot write the output file", sf_error_number(closed));
    }
    if (stream_ && !stream_->flush()) {
        file_.fail("cannot write the output file", stream_->error());
    }
    file_.finish();
    completed_ = true;
}

void AudioFileWriter::commit() {
    complete();
    file_.commit();
}

std::string AudioFileWriter::lengthWarning() const {
    if (!completed_ || !announcedFrames_ || *announcedFrames_ == framesWritten_) {
        return {};
    }
    return file_.target().requested.string() + ": the stream's header announces " +
           std::to_string(*announcedFrames_) + " frames; " + std::to_string(framesWritten_) +
           " were written";
}

} // namespace kelvohost

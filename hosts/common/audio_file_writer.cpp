#include "audio_file_writer.h"

#include "audio_file_reader.h"
#include "audio_source.h"
#include "host_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kelvohost {
namespace {

// Bytes moved per call when a finished file is copied into a hard-linked one.
constexpr std::size_t copyBlock = 256 * 1024;

std::string errnoText() {
    return std::strerror(errno);
}

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

AudioFileWriter::Descriptor::~Descriptor() {
    if (fd >= 0) {
        ::close(fd);
    }
}

AudioFileWriter::Temporary::~Temporary() {
    if (!path.empty() && !keep) {
        ::unlink(path.c_str());
    }
}

AudioFileWriter::AudioFileWriter(const OutputTarget& target, const OutputFormat& format,
                                 double sampleRate, unsigned channels,
                                 std::optional<std::size_t> expectedFrames)
    : target_(target), format_(format), channels_(channels) {
    SF_INFO info{};
    info.samplerate = static_cast<int>(std::lround(sampleRate));
    info.channels = static_cast<int>(channels);
    info.format = format.sndfileFormat;

    if (target.kind == OutputTarget::Kind::straight) {
        fd_.fd = ::open(target.requested.c_str(), O_WRONLY | O_CLOEXEC);
        struct stat opened {};
        if (fd_.fd < 0 || ::fstat(fd_.fd, &opened) != 0) {
            fail("cannot open the output", errnoText());
        }
        // A file behind a descriptor path (/dev/stdout > out.wav) is written from its start.
        if (S_ISREG(opened.st_mode) && ::ftruncate(fd_.fd, 0) != 0) {
            fail("cannot write the output file", errnoText());
        }
        if (S_ISREG(opened.st_mode) || S_ISBLK(opened.st_mode)) {
            file_.reset(sf_open_fd(fd_.fd, SFM_WRITE, &info, SF_FALSE));
        } else {
            openStream(info, expectedFrames);
        }
    } else {
        // Beside the destination, so the final rename stays on one file system.
        std::filesystem::path temporary = target.destination;
        temporary += ".partial-" + std::to_string(::getpid());
        removal_.emplace(temporary); // before the file exists, so no signal can leave it
        fd_.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_.fd < 0) {
            fail("cannot create the output file", errnoText());
        }
        temporary_.path = temporary;
        // The new file takes the permissions of the one it replaces.
        struct stat existing {};
        if (target.kind == OutputTarget::Kind::replace &&
            ::stat(target.destination.c_str(), &existing) == 0) {
            ::fchmod(fd_.fd, existing.st_mode & 07777);
        }
        file_.reset(sf_open_fd(fd_.fd, SFM_WRITE, &info, SF_FALSE));
    }
    if (!file_) {
        fail("cannot create the output file", libraryMessage(nullptr));
    }
    // Past full scale an integer sample would wrap around to the other extreme.
    if (isIntegerFormat(format.sndfileFormat)) {
        sf_command(file_.get(), SFC_SET_CLIPPING, nullptr, SF_TRUE);
    }
}

void AudioFileWriter::openStream(SF_INFO& info, std::optional<std::size_t> expectedFrames) {
    stream_ = std::make_unique<ForwardStream>(fd_.fd);
    file_.reset(sf_open_virtual(&ForwardStream::callbacks(), SFM_WRITE, &info, stream_.get()));
    if (!file_) {
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
        sf_command(file_.get(), SFC_UPDATE_HEADER_NOW, nullptr, 0);
        stream_->announceLength(std::nullopt);
        if ((format_.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV) {
            announceWavLength(stream_->held(), *announcedFrames_, bytesPerFrame);
        }
    }
    stream_->release();
}

AudioFileWriter::~AudioFileWriter() = default;

void AudioFileWriter::fail(const std::string& what, const std::string& why) const {
    throw InputError(target_.requested.string() + ": " + what + " (" + why + ")");
}

void AudioFileWriter::write(const float* const* channels, std::size_t frames) {
    if (frames == 0) {
        return;
    }
    if (interleaved_.size() < frames * channels_) {
        interleaved_.resize(frames * channels_);
    }
    interleave(channels, interleaved_.data(), channels_, frames);
    const sf_count_t wrote =
        sf_writef_float(file_.get(), interleaved_.data(), static_cast<sf_count_t>(frames));
    if (wrote != static_cast<sf_count_t>(frames)) {
        fail("cannot write the output file",
             stream_ && !stream_->error().empty() ? stream_->error() : libraryMessage(file_.get()));
    }
    framesWritten_ += frames;
    if (stream_ && !stream_->released()) {
        announceLength();
    }
}

void AudioFileWriter::closeFile() {
    if (const int closed = sf_close(file_.release()); closed != 0) {
        fail("cannot write the output file", sf_error_number(closed));
    }
    if (stream_ && !stream_->flush()) {
        fail("cannot write the output file", stream_->error());
    }
    // Some file systems report a failed write only here.
    if (::close(fd_.release()) != 0) {
        fail("cannot write the output file", errnoText());
    }
}

void AudioFileWriter::copyIntoLinkedFile() {
    Descriptor from{::open(temporary_.path.c_str(), O_RDONLY | O_CLOEXEC)};
    Descriptor to{::open(target_.destination.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
    if (from.fd < 0 || to.fd < 0) {
        fail("cannot write the output file", errnoText()); // the destination is as it was
    }
    std::vector<char> buffer(copyBlock);
    const auto keepAndFail = [&](const std::string& why) {
        temporary_.keep = true;
        removal_.reset();
        fail("copying into the hard-linked file failed part way; the complete audio is in " +
                 temporary_.path.string(),
             why);
    };
    for (;;) {
        const ssize_t got = ::read(from.fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            keepAndFail(errnoText());
        }
        if (got == 0) {
            break;
        }
        for (ssize_t done = 0; done < got;) {
            const ssize_t wrote =
                ::write(to.fd, buffer.data() + done, static_cast<std::size_t>(got - done));
            if (wrote < 0 && errno == EINTR) {
                continue;
            }
            if (wrote <= 0) {
                keepAndFail(wrote < 0 ? errnoText() : "nothing written");
            }
            done += wrote;
        }
    }
    if (::close(to.release()) != 0) {
        keepAndFail(errnoText());
    }
}

void AudioFileWriter::commit() {
    // libsndfile starts a FLAC stream with its first frame; without one the file would be
    // empty, which no reader takes for FLAC.
    if (framesWritten_ == 0 && (format_.sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_FLAC) {
        fail("cannot write the output file", "a FLAC file needs at least one frame");
    }
    closeFile();
    switch (target_.kind) {
    case OutputTarget::Kind::replace:
        if (::rename(temporary_.path.c_str(), target_.destination.c_str()) != 0) {
            fail("cannot put the output file in place", errnoText());
        }
        temporary_.path.clear(); // it is the destination now
        break;
    case OutputTarget::Kind::linked:
        copyIntoLinkedFile();
        break;
    case OutputTarget::Kind::straight:
        break;
    }
    committed_ = true;
}

std::string AudioFileWriter::lengthWarning() const {
    if (!committed_ || !announcedFrames_ || *announcedFrames_ == framesWritten_) {
        return {};
    }
    return target_.requested.string() + ": the stream's header announces " +
           std::to_string(*announcedFrames_) + " frames; " + std::to_string(framesWritten_) +
           " were written";
}

} // namespace kelvohost

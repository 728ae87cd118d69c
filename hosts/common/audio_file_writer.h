#pragma once
// Writing an audio file block by block through libsndfile, in the format the output's name
// asks for (output_format.h), at the place its path really leads (output_target.h):
//
//     const OutputTarget target = resolveOutputTarget(path);
//     const OutputFormat format = outputFormatFor(path, bits);
//     AudioFileWriter writer(target, format, 48000.0, 2, expectedFrames);
//     writer.write(channels, frames);      // as often as needed
//     writer.commit();                     // only now does the output appear
//
// The file is written as every output file is (output_file.h): until commit() a replaced or
// linked target is untouched, and a straight target (a pipe, a device, /dev/stdout) takes the
// audio as it comes. A program that writes other files beside the audio completes the audio
// first (complete()) and then commits all of them together (commitTogether with file()). A
// program that writes to pipes should ignore SIGPIPE, so that a reader going away is an error
// it reports rather than a silent end.

#include "forward_stream.h"
#include "output_file.h"
#include "output_format.h"
#include "output_target.h"

#include <sndfile.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvohost {

class AudioFileWriter {
public:
    // Opens the output for audio of this rate and channel count. expectedFrames
    // is the length the audio is going to have, announced in the header of a stream, which
    // cannot be completed afterwards (none: the header says what libsndfile writes first).
    // Throws InputError when the format cannot hold such audio or the output cannot be
    // opened; nothing is left behind then.
    // [main thread]
    AudioFileWriter(const OutputTarget& target, const OutputFormat& format, double sampleRate,
                    unsigned channels, std::optional<std::size_t> expectedFrames);
    // Without commit(): the temporary file is removed and the target left as it was.
    ~AudioFileWriter();
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // frames frames from channels[0 .. channels - 1]. Throws InputError when the output
    // fails. [any thread, one at a time]
    void write(const float* const* channels, std::size_t frames);
    std::size_t framesWritten() const { return framesWritten_; }

    // Completes the audio: every frame written, nothing put in place yet. Throws InputError
    // when that fails. [main thread]
    void complete();
    // complete(), then puts the output in place as OutputFile::commit() does. [main thread]
    void commit();
    // Where the audio goes, for committing it together with other files after complete().
    OutputFile& file() { return file_; }

    // After complete(): a line for the user when a stream's header announced a length other
    // than the one written, else empty.
    std::string lengthWarning() const;

private:
    struct Closer {
        void operator()(SNDFILE* file) const { sf_close(file); }
    };

    void openStream(SF_INFO& info, std::optional<std::size_t> expectedFrames);
    void announceLength();

    // Declared in the order they are needed, so a constructor that throws undoes them in
    // reverse: libsndfile's handle closed before the file under it.
    OutputFormat format_;
    OutputFile file_;
    std::unique_ptr<ForwardStream> stream_; // for a descriptor that cannot seek
    std::unique_ptr<SNDFILE, Closer> sound_;
    unsigned channels_;
    std::vector<float> interleaved_; // as libsndfile takes frames
    std::optional<std::size_t> announcedFrames_;
    std::size_t framesWritten_ = 0;
    bool completed_ = false;
};

} // namespace kelvohost

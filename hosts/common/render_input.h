#pragma once
// What a host renders: the audio file the user named, read block by block, or the built-in
// demo when none was named.

#include "audio_file_reader.h"
#include "audio_source.h"

#include <memory>
#include <optional>
#include <string>

namespace kelvohost {

class RenderInput {
public:
    // Throws InputError when the file cannot be read as audio. [main thread]
    explicit RenderInput(const std::optional<std::string>& path);

    AudioSource& source() { return file_ ? static_cast<AudioSource&>(*file_) : *demo_; }
    // For messages: the file as named, or "the demo".
    const std::string& name() const { return name_; }
    // After the render: a line for the user when the file held less than its header
    // announced, else empty.
    std::string endedEarlyText() const;

private:
    std::unique_ptr<AudioFileReader> file_;
    std::unique_ptr<SampleSource> demo_;
    std::string name_;
};

} // namespace kelvohost

#pragma once
// The audio file format an output path asks for: the container by its extension, the sample
// format by --bits. Samples are converted without dither; integer formats clip at full scale
// instead of wrapping.
//
//     wav                     float (default), 16, 24, 32
//     aiff, aif, caf          float (default), 16, 24, 32
//     flac                    24 (default), 16
//     ogg                     Ogg Vorbis, which has no sample format to choose
//     no extension            as wav (FIFOs and /dev/stdout have none)

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kelvohost {

enum class SampleFormat { pcm16, pcm24, pcm32, float32 };

struct OutputFormat {
    int sndfileFormat = 0;       // libsndfile's major | minor format
    std::string name;            // for messages: "FLAC, 24-bit"
    std::size_t sampleBytes = 0; // bytes a sample takes in the file; 0 where compressed
};

// "16", "24", "32" or "float"; throws InputError for anything else.
SampleFormat parseSampleFormat(std::string_view text);

// The format for path and the requested sample format (none: the container's default).
// Throws InputError with one line naming what is possible when the extension is not one of
// the above or the container does not hold the sample format.
OutputFormat outputFormatFor(const std::filesystem::path& path,
                             std::optional<SampleFormat> requested);

} // namespace kelvohost

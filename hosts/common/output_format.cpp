#include "output_format.h"

#include "host_error.h"
#include "text_match.h"

#include <sndfile.h>

#include <array>
#include <initializer_list>
#include <vector>

namespace kelvohost {
namespace {

struct Container {
    std::initializer_list<std::string_view> extensions;
    int major;
    const char* name;
    std::initializer_list<SampleFormat> formats; // the default first; empty: none to choose
};

// The containers libsndfile writes that a user asks for by name. A table, not libsndfile's own
// list of formats, so that an extension never picks a container by accident.
const std::array<Container, 5> containers{{
    {{"wav"},
     SF_FORMAT_WAV,
     "WAV",
     {SampleFormat::float32, SampleFormat::pcm16, SampleFormat::pcm24, SampleFormat::pcm32}},
    {{"aiff", "aif"},
     SF_FORMAT_AIFF,
     "AIFF",
     {SampleFormat::float32, SampleFormat::pcm16, SampleFormat::pcm24, SampleFormat::pcm32}},
    {{"caf"},
     SF_FORMAT_CAF,
     "CAF",
     {SampleFormat::float32, SampleFormat::pcm16, SampleFormat::pcm24, SampleFormat::pcm32}},
    {{"flac"}, SF_FORMAT_FLAC, "FLAC", {SampleFormat::pcm24, SampleFormat::pcm16}},
    {{"ogg"}, SF_FORMAT_OGG, "Ogg Vorbis", {}},
}};

struct Sample {
    SampleFormat format;
    int minor;
    const char* option; // as --bits takes it
    const char* name;
    std::size_t bytes;
};

constexpr std::array<Sample, 4> samples{{
    {SampleFormat::pcm16, SF_FORMAT_PCM_16, "16", "16-bit", 2},
    {SampleFormat::pcm24, SF_FORMAT_PCM_24, "24", "24-bit", 3},
    {SampleFormat::pcm32, SF_FORMAT_PCM_32, "32", "32-bit", 4},
    {SampleFormat::float32, SF_FORMAT_FLOAT, "float", "32-bit float", 4},
}};

const Sample& sampleOf(SampleFormat format) {
    for (const Sample& sample : samples) {
        if (sample.format == format) {
            return sample;
        }
    }
    return samples.back();
}

std::string extensionList() {
    std::string text;
    for (const Container& container : containers) {
        for (const std::string_view extension : container.extensions) {
            text += (text.empty() ? "" : ", ") + std::string(extension);
        }
    }
    return text;
}

} // namespace

SampleFormat parseSampleFormat(std::string_view text) {
    const std::string key = asciiLower(trim(text));
    for (const Sample& sample : samples) {
        if (key == sample.option) {
            return sample.format;
        }
    }
    throw InputError("--bits takes 16, 24, 32 or float, not '" + std::string(text) + "'");
}

OutputFormat outputFormatFor(const std::filesystem::path& path,
                             std::optional<SampleFormat> requested) {
    std::string extension = asciiLower(path.extension().string());
    if (!extension.empty()) {
        extension.erase(0, 1); // the dot
    }
    const Container* chosen = extension.empty() ? &containers.front() : nullptr;
    for (const Container& container : containers) {
        for (const std::string_view known : container.extensions) {
            chosen = known == extension ? &container : chosen;
        }
    }
    if (chosen == nullptr) {
        throw InputError(path.string() + ": cannot write ." + extension + " files (the output's " +
                         "extension chooses the format: " + extensionList() + ")");
    }

    OutputFormat format;
    if (chosen->formats.size() == 0) {
        if (requested) {
            throw InputError(path.string() + ": " + chosen->name +
                             " has no sample format to choose; leave out --bits");
        }
        format.sndfileFormat = chosen->major | SF_FORMAT_VORBIS;
        format.name = chosen->name;
        return format;
    }
    const SampleFormat wanted = requested.value_or(*chosen->formats.begin());
    std::string held;
    bool holds = false;
    for (const SampleFormat candidate : chosen->formats) {
        holds = holds || candidate == wanted;
        held += (held.empty() ? "" : ", ") + std::string(sampleOf(candidate).option);
    }
    if (!holds) {
        throw InputError(path.string() + ": " + chosen->name + " does not hold " +
                         sampleOf(wanted).name + " samples (--bits " + held + ")");
    }
    const Sample& sample = sampleOf(wanted);
    format.sndfileFormat = chosen->major | sample.minor;
    format.name = std::string(chosen->name) + ", " + sample.name;
    format.sampleBytes = chosen->major == SF_FORMAT_FLAC ? 0 : sample.bytes;
    return format;
}

} // namespace kelvohost

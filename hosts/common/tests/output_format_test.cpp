#include "host_error.h"
#include "output_format.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <optional>

namespace kelvohost {
namespace {

TEST(OutputFormat, TheExtensionChoosesTheContainerAndBitsTheSamples) {
    struct Case {
        const char* path;
        std::optional<SampleFormat> bits;
        int expected;
    };
    const Case cases[] = {
        {"out.wav", std::nullopt, SF_FORMAT_WAV | SF_FORMAT_FLOAT},
        {"OUT.WAV", SampleFormat::pcm16, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"take.2.wav", SampleFormat::pcm32, SF_FORMAT_WAV | SF_FORMAT_PCM_32},
        {"out.flac", std::nullopt, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
        {"out.flac", SampleFormat::pcm16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"out.aiff", std::nullopt, SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
        {"out.aif", SampleFormat::pcm24, SF_FORMAT_AIFF | SF_FORMAT_PCM_24},
        {"out.caf", std::nullopt, SF_FORMAT_CAF | SF_FORMAT_FLOAT},
        {"out.ogg", std::nullopt, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"/dev/stdout", std::nullopt, SF_FORMAT_WAV | SF_FORMAT_FLOAT}, // no extension
    };
    for (const Case& c : cases) {
        EXPECT_EQ(outputFormatFor(c.path, c.bits).sndfileFormat, c.expected) << c.path;
    }
    EXPECT_EQ(outputFormatFor("out.flac", std::nullopt).name, "FLAC, 24-bit");
}

TEST(OutputFormat, RefusesWhatItCannotWriteInOneLine) {
    struct Case {
        const char* path;
        std::optional<SampleFormat> bits;
        const char* messagePart;
    };
    const Case cases[] = {
        {"out.xyz", std::nullopt,
         "out.xyz: cannot write .xyz files (the output's extension "
         "chooses the format: wav, aiff, aif, caf, flac, ogg)"},
        {"out.mp3", std::nullopt, "cannot write .mp3 files"},
        {"out.wav.partial", std::nullopt, "cannot write .partial files"},
        {"out.flac", SampleFormat::pcm32, "FLAC does not hold 32-bit samples (--bits 24, 16)"},
        {"out.flac", SampleFormat::float32, "FLAC does not hold 32-bit float samples"},
        {"out.ogg", SampleFormat::pcm16, "Ogg Vorbis has no sample format to choose"},
    };
    for (const Case& c : cases) {
        try {
            outputFormatFor(c.path, c.bits);
            ADD_FAILURE() << c.path << " was accepted";
        } catch (const InputError& error) {
            EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos)
                << error.what();
            EXPECT_EQ(std::string(error.what()).find('\n'), std::string::npos);
        }
    }
}

TEST(OutputFormat, BitsTakesFourWords) {
    EXPECT_EQ(parseSampleFormat("16"), SampleFormat::pcm16);
    EXPECT_EQ(parseSampleFormat("24"), SampleFormat::pcm24);
    EXPECT_EQ(parseSampleFormat("32"), SampleFormat::pcm32);
    EXPECT_EQ(parseSampleFormat("Float"), SampleFormat::float32);
    for (const char* refused : {"8", "", "64", "24bit", "double"}) {
        EXPECT_THROW(parseSampleFormat(refused), InputError) << refused;
    }
}

} // namespace
} // namespace kelvohost

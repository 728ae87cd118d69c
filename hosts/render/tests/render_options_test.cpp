#include "host_error.h"
#include "render_options.h"

#include <gtest/gtest.h>

namespace kelvohost {
namespace {

RenderOptions parse(std::vector<std::string> arguments) {
    return parseRenderOptions(arguments);
}

TEST(RenderOptions, OperandsAndOptionsInAnyOrder) {
    const RenderOptions a =
        parse({"tolvar", "in.wav", "out.wav", "--preset", "Tube Edge", "--json"});
    EXPECT_EQ(a.model, "tolvar");
    EXPECT_EQ(a.input, "in.wav");
    EXPECT_EQ(a.output, "out.wav");
    EXPECT_EQ(a.preset, "Tube Edge");
    EXPECT_TRUE(a.json);
    EXPECT_EQ(a.block, defaultBlockFrames);

    // As run.sh calls it: options first, no INPUT (the demo).
    const RenderOptions b = parse({"--json", "tolvar", "build/out/demo.wav"});
    EXPECT_EQ(b.model, "tolvar");
    EXPECT_FALSE(b.input.has_value());
    EXPECT_EQ(b.output, "build/out/demo.wav");

    const RenderOptions c = parse({"--set=Gain=+5 dB", "--set", "Input Trim=-6", "--block=64",
                                   "--state", "s.aupreset", "opalin", "o.wav"});
    EXPECT_EQ(c.sets, (std::vector<std::string>{"Gain=+5 dB", "Input Trim=-6"}));
    EXPECT_EQ(c.block, 64u);
    EXPECT_EQ(c.state, "s.aupreset");
    EXPECT_FALSE(c.bits.has_value());
    EXPECT_EQ(parse({"tolvar", "o.flac", "--bits", "16"}).bits, SampleFormat::pcm16);
    EXPECT_EQ(parse({"--bits=float", "tolvar", "o.wav"}).bits, SampleFormat::float32);

    // After "--", a name starting with '-' is an operand.
    const RenderOptions d = parse({"tolvar", "--", "-in.wav", "-out.wav"});
    EXPECT_EQ(d.input, "-in.wav");
    EXPECT_EQ(d.output, "-out.wav");
}

TEST(RenderOptions, ListAndHelp) {
    EXPECT_TRUE(parse({"--list"}).list);
    EXPECT_TRUE(parse({"--list"}).model.empty());
    EXPECT_EQ(parse({"Tolvar", "--list"}).model, "Tolvar");
    EXPECT_TRUE(parse({"-h", "--bogus"}).help);
}

TEST(RenderOptions, RefusedCommandLines) {
    const std::vector<std::vector<std::string>> refused = {
        {},
        {"tolvar"},
        {"tolvar", "a.wav", "b.wav", "c.wav"},
        {"tolvar", "out.wav", "--bogus"},
        {"tolvar", "out.wav", "--preset"},
        {"tolvar", "out.wav", "--preset", "1", "--preset", "2"},
        {"tolvar", "out.wav", "--state", "a", "--state", "b"},
        {"tolvar", "out.wav", "--block", "0"},
        {"tolvar", "out.wav", "--block", "65537"},
        {"tolvar", "out.wav", "--block", "12x"},
        {"tolvar", "out.wav", "--block", "-5"},
        {"tolvar", "out.wav", "--json=yes"},
        {"--list", "tolvar", "extra"},
        {"--list", "tolvar", "--preset", "1"},
        {"--list", "tolvar", "--bits", "16"},
        {"tolvar", "out.wav", "--bits", "8"},
        {"tolvar", "out.wav", "--bits", "16", "--bits", "24"},
        {"", "out.wav"},
    };
    for (const auto& arguments : refused) {
        std::string line;
        for (const auto& a : arguments) {
            line += "'" + a + "' ";
        }
        EXPECT_THROW(parse(arguments), InputError) << line;
    }
}

} // namespace
} // namespace kelvohost

// kelvo-aax's command line: what it takes and the one-line refusals of what it does not.

#include "aax_options.h"
#include "host_error.h"

#include <gtest/gtest.h>

namespace {

using kelvohost::AaxOptions;
using kelvohost::InputError;
using kelvohost::parseAaxOptions;

std::string refusal(const std::vector<std::string>& arguments) {
    try {
        parseAaxOptions(arguments);
    } catch (const InputError& error) {
        return error.what();
    }
    return "accepted";
}

TEST(AaxOptions, ReadsARenderWithEveryOption) {
    const AaxOptions options = parseAaxOptions({"--set",
                                                "Ratio=8:1",
                                                "fennic",
                                                "--block=64",
                                                "in.wav",
                                                "--state",
                                                "s.plist",
                                                "--save-chunk",
                                                "s.kau1",
                                                "--play",
                                                "4800",
                                                "--loop",
                                                "0:96000",
                                                "--tempo",
                                                "96.5",
                                                "--ticks-per-quarter",
                                                "960",
                                                "--automate",
                                                "48000:Bypass=On",
                                                "--set=Input=30",
                                                "out.wav",
                                                "--json"});
    EXPECT_EQ(options.plugin, "fennic");
    EXPECT_EQ(options.input, "in.wav");
    EXPECT_EQ(options.output, "out.wav");
    EXPECT_EQ(options.sets, (std::vector<std::string>{"Ratio=8:1", "Input=30"}));
    EXPECT_EQ(options.block, 64u);
    EXPECT_EQ(options.state, "s.plist");
    EXPECT_EQ(options.saveChunk, "s.kau1");
    EXPECT_EQ(options.transport.playFrom, 4800);
    EXPECT_EQ(options.transport.loop, (std::pair<int64_t, int64_t>{0, 96000}));
    EXPECT_EQ(options.transport.tempo, 96.5);
    EXPECT_EQ(options.transport.ticksPerQuarter, 960u);
    ASSERT_EQ(options.automation.size(), 1u);
    EXPECT_EQ(options.automation[0].frame, 48000u);
    EXPECT_EQ(options.automation[0].assignment, "Bypass=On");
    EXPECT_TRUE(options.json);

    EXPECT_TRUE(parseAaxOptions({"corvel", "--describe"}).describe);
    EXPECT_TRUE(parseAaxOptions({"--list"}).plugin.empty());
    EXPECT_EQ(parseAaxOptions({"--list", "corvel"}).plugin, "corvel");
    EXPECT_FALSE(parseAaxOptions({"corvel", "out.wav"}).input);
    EXPECT_TRUE(parseAaxOptions({"x", "--help", "--bogus"}).help);
    EXPECT_EQ(parseAaxOptions({"corvel", "--", "-in.wav", "out.wav"}).input, "-in.wav");
}

// The editor's actions keep their order, --set among them; without --png, --set is the
// render's.
TEST(AaxOptions, ReadsTheEditorsActionsInOrder) {
    const AaxOptions options =
        parseAaxOptions({"--shift", "corvel", "--drag", "1,2,3,4", "--set", "Mix=60", "--png",
                         "c.png", "--other-process", "--ticks=3", "--home", "/tmp/me"});
    EXPECT_EQ(options.plugin, "corvel");
    EXPECT_EQ(options.png, "c.png");
    EXPECT_TRUE(options.otherProcess);
    EXPECT_EQ(options.home, "/tmp/me");
    using Kind = EditorAction::Kind;
    ASSERT_EQ(options.editorActions.size(), 3u);
    EXPECT_EQ(options.editorActions[0].kind, Kind::drag);
    EXPECT_TRUE(options.editorActions[0].shift);
    EXPECT_EQ(options.editorActions[1].kind, Kind::set);
    EXPECT_EQ(options.editorActions[1].text, "Mix=60");
    EXPECT_EQ(options.editorActions[2].count, 3);

    const AaxOptions render = parseAaxOptions({"corvel", "out.wav", "--set", "Mix=60"});
    EXPECT_FALSE(render.png);
    EXPECT_EQ(render.sets, std::vector<std::string>{"Mix=60"});
}

TEST(AaxOptions, RefusesWhatItCannotUse) {
    struct Case {
        std::vector<std::string> arguments;
        const char* says;
    };
    const Case cases[] = {
        {{}, "missing PLUGIN and OUTPUT"},
        {{"fennic"}, "missing OUTPUT after PLUGIN 'fennic'"},
        {{"a", "b", "c", "d"}, "too many operands: 'd'"},
        {{"fennic", "out.wav", "--bogus"}, "unknown option --bogus"},
        {{"fennic", "out.wav", "--block", "0"}, "--block takes a whole number of frames from 1"},
        {{"fennic", "out.wav", "--block", "65537"}, "to 65536, not '65537'"},
        {{"fennic", "out.wav", "--block", "1", "--block", "2"}, "--block given twice"},
        {{"fennic", "out.wav", "--set"}, "--set needs a value"},
        {{"fennic", "out.wav", "--json=yes"}, "--json takes no value"},
        {{"fennic", "out.wav", "--tempo", "0"}, "--tempo takes beats per minute"},
        {{"fennic", "out.wav", "--tempo", "nan"}, "--tempo takes beats per minute"},
        {{"fennic", "out.wav", "--loop", "100:100"}, "--loop takes START:END"},
        {{"fennic", "out.wav", "--loop", "5"}, "--loop takes START:END"},
        {{"fennic", "out.wav", "--play", "-1"}, "--play takes a timeline sample"},
        {{"fennic", "out.wav", "--automate", "x:Ratio=1"}, "--automate takes FRAME:NAME=VALUE"},
        {{"fennic", "out.wav", "--automate", "10:Ratio"}, "--automate takes FRAME:NAME=VALUE"},
        {{"fennic", "out.wav", "--state", "a", "--chunk", "b"}, "--state and --chunk"},
        {{"fennic", "out.wav", "--state", "a", "--state", "b"}, "--state given twice"},
        {{"fennic", "in.wav", "out.wav", "--save-chunk", "in.wav"}, "would overwrite"},
        {{"fennic", "--describe", "--list"}, "do not go together"},
        {{"fennic", "--describe", "--set", "Ratio=1"}, "--describe takes no other option"},
        {{"--describe"}, "--describe needs a PLUGIN"},
        {{"fennic", "corvel", "--list"}, "--list takes one PLUGIN"},
        {{"fennic", "--png", "f.png", "--block", "64"}, "--block is for rendering"},
        {{"fennic", "--png", "f.png", "--list"}, "--list and --png do not go together"},
        {{"--png", "f.png"}, "--png needs a PLUGIN"},
        {{"fennic", "out.wav", "--other-process"}, "--other-process acts on the editor"},
        {{"fennic", "--png", "f.png", "--key", "1,2,home"}, "--key wants X,Y,up|down|left|right"},
        {{"fennic", "--png", "f.png", "--png", "g.png"}, "--png given twice"},
    };
    for (const Case& c : cases) {
        const std::string said = refusal(c.arguments);
        EXPECT_NE(said.find(c.says), std::string::npos) << said;
        EXPECT_EQ(said.find('\n'), std::string::npos) << said;
    }
}

} // namespace

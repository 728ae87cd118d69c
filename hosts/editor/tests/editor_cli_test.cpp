// kelvo-editor run as a user runs it: an input the unit cannot play is refused in kelvo-render's
// words, and the picture shows what the editor's poll reads after the last action.

#include "audio_fixtures.h"
#include "temporary_folder.h"
#include "testing/program_run.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

using kelvo::testing::fileText;
using kelvo::testing::Outcome;

class EditorCommand : public kelvohost::TemporaryFolder {
protected:
    void SetUp() override {
        TemporaryFolder::SetUp();
        fs::create_directories(folder_ / "plugins");
    }

    Outcome run(const char* program, const std::vector<std::string>& arguments) {
        // The plug-in path names an empty folder, so only the build's bundles are found.
        return kelvo::testing::runProgram(program, arguments, folder_,
                                          {{"KELVO_PLUGIN_PATH", (folder_ / "plugins").string()}});
    }
    Outcome editor(const std::vector<std::string>& arguments) {
        return run(KELVO_EDITOR_PROGRAM, arguments);
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void writeWav(const std::string& name, int rate, int channels, int frames) const {
        kelvohost::writeTestWav(path(name), rate, channels, frames);
    }
};

// Exit 2, one line that says why, no picture; for what kelvo-render also refuses, its line.
TEST_F(EditorCommand, RefusesInputsTheUnitCannotPlay) {
    writeWav("eight.wav", 48000, 8, 480);
    writeWav("fast.wav", 384000, 2, 480);
    writeWav("stereo.wav", 48000, 2, 480);
    writeWav("mono.wav", 44100, 1, 480);
    const struct {
        std::vector<std::string> actions;
        std::string says;
        bool renderRefusesAlike;
    } cases[] = {
        {{"--input", path("eight.wav")},
         path("eight.wav") + " has 8 channels; the units take mono or stereo",
         true},
        {{"--input", path("fast.wav"), "--ticks", "3"},
         "KelvoVantor refuses a sample rate of 384000 Hz with stereo audio (status -10868)",
         true},
        // The unit plays the stream the first input opened it for.
        {{"--input", path("stereo.wav"), "--ticks", "2", "--input", path("mono.wav")},
         path("mono.wav") + " is 44100 Hz mono, not the 48000 Hz stereo of the first --input",
         false},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{"vantor", "--png", path("out.png")};
        arguments.insert(arguments.end(), c.actions.begin(), c.actions.end());
        const Outcome outcome = editor(arguments);
        EXPECT_EQ(outcome.status, 2) << c.says << "\n" << outcome.err;
        EXPECT_EQ(outcome.err, "kelvo-editor: " + c.says + "\n");
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_FALSE(fs::exists(path("out.png"))) << c.says;
        if (c.renderRefusesAlike) {
            const Outcome rendered =
                run(KELVO_RENDER_PROGRAM, {"vantor", c.actions[1], path("out.wav")});
            EXPECT_EQ(rendered.status, 2);
            EXPECT_EQ(rendered.err, "kelvo-render: " + c.says + "\n");
        }
    }
}

// The picture after --set is the one after --set and a poll, as a host's window shows it a
// moment later: the dial, the lamp and, in DETAIL mode, the slider at the value set.
struct SetCase {
    const char* model;
    std::vector<std::string> faceplate; // a dial and a lamp
    std::vector<std::string> detail;    // a slider
};

void PrintTo(const SetCase& c, std::ostream* os) {
    *os << c.model;
}

class PictureAfterSet : public EditorCommand, public ::testing::WithParamInterface<SetCase> {};

TEST_P(PictureAfterSet, EqualsThePictureAfterOnePoll) {
    const SetCase& c = GetParam();
    for (const auto& actions : {c.faceplate, c.detail}) {
        std::vector<std::string> arguments{c.model, "--png", path("set.png")};
        arguments.insert(arguments.end(), actions.begin(), actions.end());
        ASSERT_EQ(editor(arguments).status, 0) << actions.back();
        arguments[2] = path("polled.png");
        arguments.insert(arguments.end(), {"--ticks", "1"});
        ASSERT_EQ(editor(arguments).status, 0) << actions.back();
        const std::string picture = fileText(path("set.png"));
        ASSERT_TRUE(picture.starts_with("\x89PNG"));
        EXPECT_TRUE(picture == fileText(path("polled.png"))) << c.model << " " << actions.back();
    }
}

const SetCase setCases[] = {
    {"tolvar", {"--set", "Level=8", "--set", "Pad=1"}, {"--detail", "--set", "Parallel Mix=40"}},
    {"opalin",
     {"--set", "Peak Reduction=70", "--set", "Limit=1"},
     {"--detail", "--set", "Parallel Mix=40"}},
    {"mireth",
     {"--set", "Input Trim=36", "--set", "Bypass=1"},
     {"--detail", "--set", "Parallel Mix=40"}},
    {"vantor",
     {"--set", "Threshold=-30", "--set", "Bypass=1"},
     {"--detail", "--set", "Parallel Mix=40"}},
    {"elvane",
     {"--set", "Input Trim=30", "--set", "Bypass=1"},
     {"--detail", "--set", "Parallel Mix=40"}},
    {"quorin",
     {"--set", "Gain=60", "--set", "Polarity=1"},
     {"--detail", "--set", "Parallel Mix=40"}},
    {"corvel", {"--set", "High Shelf=8", "--set", "EQ In=0"}, {"--detail", "--set", "Mix=30"}},
    {"fennic", {"--set", "Attack=6", "--set", "Ratio=2"}, {"--detail", "--set", "Mix=30"}},
};

INSTANTIATE_TEST_SUITE_P(EveryModel, PictureAfterSet, ::testing::ValuesIn(setCases),
                         [](const ::testing::TestParamInfo<SetCase>& info) {
                             return std::string(info.param.model);
                         });

} // namespace

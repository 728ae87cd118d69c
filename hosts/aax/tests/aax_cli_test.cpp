// kelvo-aax run as a user runs it: refused input exits with status 2, says why in one line on
// stderr and leaves nothing behind; the description and listing show what the host saw; and a
// render through a bridge matches kelvo-render's render of the same unit sample for sample.

#include "fifo_capture.h"
#include "testing/program_run.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

using kelvo::testing::fileText;
using kelvo::testing::Outcome;

using Samples = std::vector<std::vector<float>>;

Samples readSamples(const fs::path& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return {};
    }
    std::vector<float> interleaved(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, interleaved.data(), info.frames);
    sf_close(file);
    Samples samples(static_cast<std::size_t>(info.channels),
                    std::vector<float>(static_cast<std::size_t>(info.frames)));
    for (std::size_t i = 0; i < interleaved.size(); ++i) {
        samples[i % samples.size()][i / samples.size()] = interleaved[i];
    }
    return samples;
}

class AaxCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelvo-aax-cli-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "plugins");
    }
    void TearDown() override { fs::remove_all(folder_); }

    Outcome run(const char* program, const std::vector<std::string>& arguments) {
        // The plug-in path names an empty folder, so only the build's bundles and explicit paths
        // are found.
        return kelvo::testing::runProgram(program, arguments, folder_,
                                          {{"KELVO_PLUGIN_PATH", (folder_ / "plugins").string()}});
    }
    Outcome aax(const std::vector<std::string>& arguments) {
        return run(KELVO_AAX_PROGRAM, arguments);
    }
    Outcome render(const std::vector<std::string>& arguments) {
        return run(KELVO_RENDER_PROGRAM, arguments);
    }
    Outcome editor(const std::vector<std::string>& arguments) {
        return run(KELVO_EDITOR_PROGRAM, arguments);
    }

    void expectRefused(const std::vector<std::string>& arguments, const std::string& what) {
        const auto before = listing();
        const Outcome outcome = aax(arguments);
        std::string line;
        for (const auto& a : arguments) {
            line += "'" + a + "' ";
        }
        EXPECT_EQ(outcome.status, 2) << line << "\n" << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(outcome.err.starts_with("kelvo-aax: ")) << outcome.err;
        EXPECT_NE(outcome.err.find(what), std::string::npos) << line << "\n" << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_EQ(listing(), before) << line << " left files behind";
    }

    std::vector<std::string> listing() const { return kelvo::testing::folderListing(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // A loud, changing signal, so the compressor and the equaliser both work.
    void writeWav(const std::string& name, int rate, int channels, int frames) const {
        SF_INFO info{};
        info.samplerate = rate;
        info.channels = channels;
        info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
        SNDFILE* file = sf_open(path(name).c_str(), SFM_WRITE, &info);
        ASSERT_NE(file, nullptr);
        std::vector<float> samples(static_cast<std::size_t>(frames * channels));
        for (int i = 0; i < frames; ++i) {
            for (int c = 0; c < channels; ++c) {
                const double envelope = 0.2 + 0.8 * std::fabs(std::sin(i / 700.0));
                samples[static_cast<std::size_t>(i * channels + c)] =
                    static_cast<float>(envelope * std::sin(i * (0.031 + 0.013 * c)) * 0.9);
            }
        }
        sf_writef_float(file, samples.data(), frames);
        sf_close(file);
    }

    fs::path folder_;
};

TEST_F(AaxCommand, RefusesBadInputAndWritesNothing) {
    writeWav("in.wav", 48000, 2, 480);
    writeWav("three.wav", 48000, 3, 480);
    writeWav("slow.wav", 4000, 1, 480);
    std::ofstream(path("junk.kau1")) << "not a chunk at all, not even a header";
    fs::create_directory(folder_ / "folder");
    ASSERT_EQ(mkfifo(path("fifo.kau1").c_str(), 0644), 0);
    std::ofstream(path("huge.kau1")).close();
    fs::resize_file(path("huge.kau1"), 16 + (16u << 20) + 1); // sparse: no disk used
    expectRefused({}, "missing PLUGIN and OUTPUT");
    expectRefused({"fennic", "out.wav", "--frobnicate"}, "unknown option --frobnicate");
    expectRefused({"tolvar", path("out.wav")},
                  "unknown plug-in 'tolvar' (available: corvel fennic)");
    expectRefused({path("nowhere.aaxplugin"), path("out.wav")}, "no such bundle");
    expectRefused({"fennic", path("missing.wav"), path("out.wav")}, "missing.wav");
    expectRefused({"fennic", path("three.wav"), path("out.wav")},
                  "has 3 channels; KelvoFennicAAX has components for 1 in 1 out, 2 in 2 out");
    expectRefused({"fennic", path("slow.wav"), path("out.wav")},
                  "KelvoFennicAAX refused 1 in 1 out at 4000 Hz (AAX result -20011: KELVO AAX "
                  "KelvoFennic initialization failed: invalid render format)");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--set", "Ratio=9"},
                  "Ratio: 9 is outside 0 to 4, whole steps");
    expectRefused({"corvel", path("in.wav"), path("out.wav"), "--set", "Wobble=1"},
                  "no parameter 'Wobble'");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--automate", "480:Ratio=1"},
                  "--automate at frame 480: ");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--chunk", path("junk.kau1")},
                  "not a state chunk of this plug-in (AAX result -20007)");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--state", path("junk.kau1")},
                  "not a property list");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--chunk", path("fifo.kau1")},
                  "is a FIFO, not a regular file");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--chunk", path("huge.kau1")},
                  "too large: 16777233 bytes");
    expectRefused({"fennic", path("in.wav"), path("folder")}, "is a directory");
    expectRefused(
        {"fennic", path("in.wav"), path("out.wav"), "--save-chunk", path("no/such/place.kau1")},
        "cannot create the output file (no folder");
    fs::create_symlink("out.wav", path("out-link.kau1"));
    expectRefused(
        {"fennic", path("in.wav"), path("out.wav"), "--save-chunk", path("out-link.kau1")},
        "would overwrite an audio file");
    // A chunk shorter than its header, none at all among them, and a folder as input.
    std::ofstream(path("empty.kau1")).close();
    std::ofstream(path("short.kau1")) << "XUAK\x01";
    expectRefused(
        {"fennic", path("in.wav"), path("out.wav"), "--chunk", path("empty.kau1")},
        "empty.kau1: 0 bytes, too short for a state chunk (its header alone is 16 bytes)");
    expectRefused(
        {"fennic", path("in.wav"), path("out.wav"), "--chunk", path("short.kau1")},
        "short.kau1: 5 bytes, too short for a state chunk (its header alone is 16 bytes)");
    expectRefused({"fennic", path("in.wav"), path("out.wav"), "--chunk", path("folder")},
                  path("folder") + ": is a directory");
    expectRefused({"fennic", path("folder"), path("out.wav")}, path("folder") + ": is a directory");
    // What the user typed comes back escaped: it cannot recolour the terminal or ring its bell.
    expectRefused({"fen\x1b[31mnic\x07", path("out.wav")},
                  "unknown plug-in 'fen\\x1b[31mnic\\x07'");
}

// A run that fails leaves every file as it was: the chunk file it read and was to save again
// is still there when the audio cannot be completed (no frame for a FLAC file).
TEST_F(AaxCommand, AFailedRenderLeavesTheChunkFileAsItWas) {
    writeWav("in.wav", 48000, 2, 480);
    writeWav("empty.wav", 48000, 2, 0);
    ASSERT_EQ(aax({"fennic", path("in.wav"), path("x.wav"), "--set", "Ratio=8:1", "--save-chunk",
                   path("song.kau1")})
                  .status,
              0);
    const std::string chunk = fileText(path("song.kau1"));
    ASSERT_TRUE(chunk.starts_with("XUAK"));
    expectRefused({"fennic", path("empty.wav"), path("out.flac"), "--chunk", path("song.kau1"),
                   "--save-chunk", path("song.kau1")},
                  "a FLAC file needs at least one frame");
    EXPECT_EQ(fileText(path("song.kau1")), chunk);
}

// Every file the programs write goes where its path leads, as the audio does: the editor's
// picture and the guide's beside it (kelvo-editor and kelvo-aax alike) and the saved chunk.
TEST_F(AaxCommand, PicturesAndChunksAreWrittenAsTheAudioIs) {
    writeWav("in.wav", 48000, 2, 480);
    fs::create_directories(folder_ / "saved");
    fs::create_directories(folder_ / "real/deep");
    fs::create_symlink("real/deep", path("sub"));
    // Never /dev/stdout itself: a program that renamed over it would replace it on the machine.
    fs::create_symlink("/proc/self/fd/1", path("stdout"));
    const std::string png = "\x89PNG";

    // Stdout takes the programs' lines: a picture or a chunk does not go there too.
    const Outcome piped = editor({"fennic", "--png", path("stdout")});
    EXPECT_EQ(piped.status, 2);
    EXPECT_EQ(piped.err, "kelvo-editor: " + path("stdout") +
                             ": the picture would go to stdout, where the program prints what "
                             "it received\n");
    EXPECT_TRUE(piped.out.empty());
    expectRefused({"fennic", "--png", path("stdout")}, "the picture would go to stdout");
    expectRefused(
        {"fennic", path("in.wav"), path("out.wav"), "--save-chunk", path("stdout"), "--json"},
        "the chunk would go to stdout, where --json prints");
    EXPECT_TRUE(fs::is_symlink(path("stdout")));

    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    Outcome fed;
    const std::string received = kelvohost::readFifoWhile(path("fifo"), [&] {
        fed = editor({"fennic", "--png", path("fifo")});
    });
    EXPECT_EQ(fed.status, 0) << fed.err;
    EXPECT_TRUE(received.starts_with(png)) << "the picture through the FIFO";
    EXPECT_TRUE(fs::is_fifo(path("fifo")));

    // The picture through a symlink (its target replaced, the link kept), the guide's beside
    // it into a hard-linked file (copied into, so both names show it).
    std::ofstream(path("saved/face.png")) << "old";
    fs::create_symlink("saved/face.png", path("face.png"));
    std::ofstream(path("face-guide.png")) << "old";
    fs::create_hard_link(path("face-guide.png"), path("saved/guide.png"));
    const Outcome guided = editor({"fennic", "--png", path("face.png"), "--guide"});
    ASSERT_EQ(guided.status, 0) << guided.err;
    EXPECT_TRUE(fs::is_symlink(path("face.png")));
    EXPECT_TRUE(fileText(path("saved/face.png")).starts_with(png));
    EXPECT_TRUE(fileText(path("saved/guide.png")).starts_with(png));
    EXPECT_EQ(fs::hard_link_count(path("face-guide.png")), 2u);

    // kelvo-aax's picture through a linked folder: sub/.. is real, not this folder.
    std::ofstream(path("bridged.png")) << "unrelated";
    const Outcome bridged = aax({"fennic", "--png", path("sub/../bridged.png")});
    ASSERT_EQ(bridged.status, 0) << bridged.err;
    EXPECT_TRUE(fileText(path("real/bridged.png")).starts_with(png));
    EXPECT_EQ(fileText(path("bridged.png")), "unrelated");

    // The saved chunk on stdout, and through a symlink.
    const Outcome chunkOut =
        aax({"fennic", path("in.wav"), path("out.wav"), "--save-chunk", path("stdout")});
    ASSERT_EQ(chunkOut.status, 0) << chunkOut.err;
    EXPECT_TRUE(chunkOut.out.starts_with("XUAK")) << "the chunk on stdout";
    EXPECT_TRUE(fs::is_symlink(path("stdout")));
    std::ofstream(path("saved/song.kau1")) << "old";
    fs::create_symlink("saved/song.kau1", path("song.kau1"));
    ASSERT_EQ(
        aax({"fennic", path("in.wav"), path("out.wav"), "--save-chunk", path("song.kau1")}).status,
        0);
    EXPECT_TRUE(fs::is_symlink(path("song.kau1")));
    EXPECT_EQ(fileText(path("saved/song.kau1")), chunkOut.out);
}

TEST_F(AaxCommand, DescribesWhatTheHostSaw) {
    struct Expected {
        const char* plugin;
        std::vector<std::string> lines;
    };
    const Expected builds[] = {
        {"fennic",
         {"Effect \"KelvoFennic\"", "category    2 (dynamics)",
          "Component 1: 1 in 1 out, native ID 0x3D81C5A2",
          "Component 2: 2 in 2 out, native ID 0x6F2E94B7", "'Kvlo' (0x4B766C6F)",
          "'Fenn' (0x46656E6E)", "manufacturer       KELVO AUDIO LAB"}},
        {"KelvoCorvelAAX",
         {"Effect \"KelvoCorvel\"", "category    1 (EQ)",
          "Component 1: 1 in 1 out, native ID 0x9C47D13E",
          "Component 2: 2 in 2 out, native ID 0xB5168E4F", "'Corv' (0x436F7276)"}},
    };
    for (const Expected& build : builds) {
        const Outcome outcome = aax({build.plugin, "--describe"});
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        for (const auto& line : build.lines) {
            EXPECT_NE(outcome.out.find(line), std::string::npos) << line << "\n" << outcome.out;
        }
        // The six fields, in order, once per component.
        std::size_t at = 0;
        for (int component = 0; component < 2; ++component) {
            for (const char* field :
                 {"0  audio input", "1  audio output", "2  audio buffer length", "3  clock",
                  "4  data-in port         packet 1040 bytes, port type 1",
                  "5  private data         32 bytes, options 4"}) {
                at = outcome.out.find(field, at);
                ASSERT_NE(at, std::string::npos) << field << "\n" << outcome.out;
            }
        }
    }
}

TEST_F(AaxCommand, ListsTheMirroredParameters) {
    const Outcome outcome = aax({"FENNIC", "--list"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    for (const char* text :
         {"master bypass  MasterBypassID", "latency        16 samples", "MasterBypassID  Bypass",
          "discrete", "Off | On", "4:1 | 8:1 | 12:1 | 20:1 | All Buttons", "0.00 % | 25.00 %",
          "10001  linear, 0 to 48"}) {
        EXPECT_NE(outcome.out.find(text), std::string::npos) << text << "\n" << outcome.out;
    }
    const Outcome all = aax({"--list"});
    EXPECT_NE(all.out.find("2 plug-ins found"), std::string::npos) << all.out;
}

// Through the bridge or straight through the unit, the same samples: mono and stereo, blocks
// of 1 to 4096 frames, default parameters and a restored state.
TEST_F(AaxCommand, RendersLikeKelvoRender) {
    writeWav("mono.wav", 44100, 1, 4800);
    writeWav("stereo.wav", 48000, 2, 4800);
    for (const std::string plugin : {"fennic", "corvel"}) {
        for (const std::string input : {"mono.wav", "stereo.wav"}) {
            ASSERT_EQ(render({plugin, path(input), path("direct.wav")}).status, 0);
            const Samples direct = readSamples(path("direct.wav"));
            ASSERT_FALSE(direct.empty());
            for (const std::string block : {"1", "64", "512", "4096"}) {
                const Outcome outcome =
                    aax({plugin, path(input), path("bridged.wav"), "--block", block});
                ASSERT_EQ(outcome.status, 0) << outcome.err;
                EXPECT_EQ(readSamples(path("bridged.wav")), direct)
                    << plugin << " " << input << " in blocks of " << block;
            }
        }

        // A state: saved as a chunk by the bridge, its class info handed to both hosts.
        const std::string chunk = path(plugin + ".kau1");
        ASSERT_EQ(aax({plugin, path("stereo.wav"), path("x.wav"), "--set", "Mix=60", "--set",
                       "Analog Shimmer=30", "--save-chunk", chunk})
                      .status,
                  0);
        const std::string bytes = fileText(chunk);
        ASSERT_GT(bytes.size(), 16u);
        EXPECT_EQ(bytes.substr(0, 4), "XUAK");
        std::ofstream(path("state.plist"), std::ios::binary) << bytes.substr(16);
        ASSERT_EQ(
            render({plugin, path("stereo.wav"), path("direct.wav"), "--state", path("state.plist")})
                .status,
            0);
        const Samples direct = readSamples(path("direct.wav"));
        for (const std::vector<std::string>& restore :
             {std::vector<std::string>{"--state", path("state.plist")},
              std::vector<std::string>{"--chunk", chunk}}) {
            std::vector<std::string> arguments{plugin, path("stereo.wav"), path("bridged.wav")};
            arguments.insert(arguments.end(), restore.begin(), restore.end());
            const Outcome outcome = aax(arguments);
            ASSERT_EQ(outcome.status, 0) << outcome.err;
            EXPECT_EQ(readSamples(path("bridged.wav")), direct) << plugin << " " << restore[0];
        }
        const Samples defaults = readSamples(path("x.wav"));
        EXPECT_NE(defaults, direct) << "the state changed the sound";
    }
}

TEST_F(AaxCommand, RendersWithTransportAutomationAndMeters) {
    writeWav("in.wav", 48000, 2, 9600);
    const Outcome outcome =
        aax({"fennic", path("in.wav"), path("out.wav"), "--set", "Ratio=8:1", "--play", "100",
             "--loop", "0:4800", "--tempo", "90", "--automate", "4000:Bypass=On", "--automate",
             "7000:Ratio=All Buttons", "--json", "--block", "256"});
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(outcome.out.starts_with("{\"input\":[")) << outcome.out;
    EXPECT_NE(outcome.out.find("\"latency_samples\":16"), std::string::npos) << outcome.out;
    const Samples output = readSamples(path("out.wav"));
    ASSERT_EQ(output.size(), 2u);
    EXPECT_EQ(output[0].size(), 9600u);

    // The same render without the automation: identical up to frame 4000, not after it.
    ASSERT_EQ(aax({"fennic", path("in.wav"), path("plain.wav"), "--set", "Ratio=8:1", "--play",
                   "100", "--loop", "0:4800", "--tempo", "90", "--block", "256"})
                  .status,
              0);
    const Samples plain = readSamples(path("plain.wav"));
    ASSERT_EQ(plain.size(), 2u);
    EXPECT_TRUE(std::equal(plain[0].begin(), plain[0].begin() + 4000, output[0].begin()));
    EXPECT_FALSE(std::equal(plain[0].begin() + 4000, plain[0].end(), output[0].begin() + 4000));
}

// The output's name chooses its format and its path decides how it is written, as for
// kelvo-render: the same bytes from both hosts, a symlink's target replaced, a pipe written as
// the audio comes.
TEST_F(AaxCommand, WritesFormatsAndPlacesAsKelvoRenderDoes) {
    writeWav("in.wav", 44100, 2, 20000);
    const std::vector<std::vector<std::string>> cases = {
        {"out.flac"}, {"out.aiff", "--bits", "24"}, {"out16.wav", "--bits=16"}, {"out.caf"}};
    for (const auto& c : cases) {
        std::vector<std::string> options(c.begin() + 1, c.end());
        std::vector<std::string> direct{"corvel", path("in.wav"), path("direct-" + c[0])};
        std::vector<std::string> bridged{"corvel", path("in.wav"), path(c[0])};
        direct.insert(direct.end(), options.begin(), options.end());
        bridged.insert(bridged.end(), options.begin(), options.end());
        ASSERT_EQ(render(direct).status, 0) << c[0];
        const Outcome outcome = aax(bridged);
        ASSERT_EQ(outcome.status, 0) << c[0] << ": " << outcome.err;
        const std::string bytes = fileText(path(c[0]));
        EXPECT_FALSE(bytes.empty()) << c[0];
        EXPECT_EQ(bytes, fileText(path("direct-" + c[0]))) << c[0];
    }
    const std::string expected = fileText(path("direct-out.caf"));

    fs::create_directories(folder_ / "takes");
    std::ofstream(path("takes/take.caf")) << "old";
    fs::create_symlink("takes/take.caf", path("latest.caf"));
    ASSERT_EQ(aax({"corvel", path("in.wav"), path("latest.caf")}).status, 0);
    EXPECT_TRUE(fs::is_symlink(path("latest.caf")));
    EXPECT_EQ(fileText(path("takes/take.caf")), expected);

    // Into stdout, a pipe, through a link shaped as /dev/stdout is (never /dev/stdout itself).
    fs::create_symlink("/proc/self/fd/1", path("stdout"));
    const Outcome piped = aax({"corvel", path("in.wav"), path("stdout"), "--bits", "24"});
    ASSERT_EQ(piped.status, 0) << piped.err;
    std::ofstream(path("from-pipe.wav"), std::ios::binary) << piped.out;
    ASSERT_EQ(render({"corvel", path("in.wav"), path("direct24.wav"), "--bits", "24"}).status, 0);
    EXPECT_EQ(readSamples(path("from-pipe.wav")), readSamples(path("direct24.wav")));

    expectRefused({"corvel", path("in.wav"), path("stdout"), "--json"}, "where --json prints");
    expectRefused({"corvel", path("in.wav"), path("out.mp3")}, "cannot write .mp3 files");
    expectRefused({"corvel", path("in.wav"), path("out.flac"), "--bits", "float"},
                  "FLAC does not hold 32-bit float samples");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        result.push_back(text.substr(start, end - start));
    }
    return result;
}

// A PNG's width and height, from its header.
std::pair<uint32_t, uint32_t> imageSize(const std::string& png) {
    const auto word = [&](std::size_t at) {
        uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            value = value << 8 | static_cast<unsigned char>(png.at(at + i));
        }
        return value;
    };
    return {word(16), word(20)};
}

// Fennic's Input knob (art (253, 460)) and ratio "20" (art (1059, 329.5)) in view points.
const std::string inputKnob = "191.38,347.96";

// Through the bridge's GUI object into the AAX host's window, the units' own editors draw as
// they do in kelvo-editor's, pixel for pixel, whatever the actions.
TEST_F(AaxCommand, EditorImagesAreKelvoEditorsOwn) {
    writeWav("in.wav", 44100, 2, 22050);
    const std::vector<std::vector<std::string>> cases = {
        {"fennic", "--drag", inputKnob + ",0,-60", "--ticks", "3"},
        {"fennic", "--input", path("in.wav"), "--ticks", "10", "--shift", "--click",
         "801.06,249.24"},
        {"corvel", "--detail", "--scale", "75", "--wheel", "400,300,4"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{c[0], "--png", path("aax.png")};
        arguments.insert(arguments.end(), c.begin() + 1, c.end());
        const Outcome bridged = aax(arguments);
        ASSERT_EQ(bridged.status, 0) << bridged.err;
        arguments[2] = path("editor.png");
        ASSERT_EQ(editor(arguments).status, 0);
        const std::string image = fileText(path("aax.png"));
        ASSERT_TRUE(image.starts_with("\x89PNG")) << c[0] << " " << c[1];
        EXPECT_EQ(image, fileText(path("editor.png"))) << c[0] << " " << c[1];
    }
}

// What the host received: the view's size at the first periodic call, then the drag as one
// touch, each value the unit's editor set (kelvo-editor's listener hears the same ones) and
// one release; later sizes only when the editor's size changed.
TEST_F(AaxCommand, EditorPrintsWhatTheHostReceived) {
    const Outcome bridged = aax({"fennic", "--png", path("aax.png"), "--drag", inputKnob + ",0,-60",
                                 "--ticks", "3", "--scale", "75", "--ticks", "5"});
    ASSERT_EQ(bridged.status, 0) << bridged.err;
    const Outcome direct = editor(
        {"fennic", "--png", path("editor.png"), "--drag", inputKnob + ",0,-60", "--ticks", "3"});
    ASSERT_EQ(direct.status, 0) << direct.err;
    std::vector<std::string> expected{"size 1500 \u00D7 599.8487", "touch au_0"};
    for (const std::string& line : lines(direct.out)) {
        if (line.starts_with("value Input = ")) {
            expected.push_back("value au_0 = " + line.substr(14));
        }
    }
    ASSERT_EQ(expected.size(), 12u) << direct.out;
    expected.push_back("release au_0");
    expected.push_back("size 1125 \u00D7 449.88654");
    std::vector<std::string> received = lines(bridged.out);
    for (std::string& line : received) {
        line = line.substr(0, line.find(" (normalized"));
    }
    EXPECT_EQ(received, expected) << bridged.out;
}

// No editor of the unit for a host that runs the GUI apart from the data model: a field saying
// why, in a 600 by 100 window.
TEST_F(AaxCommand, EditorFallsBackToTheReason) {
    const Outcome remote = aax({"corvel", "--png", path("remote.png"), "--other-process"});
    ASSERT_EQ(remote.status, 0) << remote.err;
    EXPECT_EQ(remote.out, "size 600 \u00D7 100\n");
    EXPECT_EQ(imageSize(fileText(path("remote.png"))), std::make_pair(600u, 100u));

    expectRefused({"fennic", "--png", path("x.png"), "--json"},
                  "--json is for rendering; --png shows the editor");
    expectRefused({"fennic", path("out.wav"), "--click", "1,2"},
                  "--click acts on the editor: it needs --png OUT.png");
    expectRefused({"fennic", "corvel", "--png", path("x.png")}, "--png takes one PLUGIN");
    expectRefused({"fennic", "--png", path("x.png"), "--drag", "1,2,3"}, "--drag wants X,Y,DX,DY");
}

// An input the plug-in cannot play is refused as a render of it is, before the editor opens.
TEST_F(AaxCommand, EditorRefusesInputsThePluginCannotPlay) {
    writeWav("eight.wav", 48000, 8, 480);
    writeWav("fast.wav", 384000, 2, 480);
    writeWav("stereo.wav", 48000, 2, 480);
    writeWav("mono.wav", 44100, 1, 480);
    for (const std::string input : {"eight.wav", "fast.wav"}) {
        const Outcome rendered = aax({"fennic", path(input), path("out.wav")});
        ASSERT_EQ(rendered.status, 2) << rendered.err;
        const std::string says = rendered.err.substr(rendered.err.find(": ") + 2);
        expectRefused({"fennic", "--png", path("x.png"), "--input", path(input), "--ticks", "2"},
                      says);
    }
    expectRefused({"fennic", "--png", path("x.png"), "--input", path("stereo.wav"), "--input",
                   path("mono.wav")},
                  "mono.wav is 44100 Hz mono, not the 48000 Hz stereo of the first --input");
}

// Through the AAX host too, the picture after --set shows what the editor's next poll reads.
TEST_F(AaxCommand, EditorPictureAfterSetEqualsThePictureAfterOnePoll) {
    const std::vector<std::vector<std::string>> cases = {
        {"fennic", "--set", "Attack=6", "--set", "Ratio=2"},
        {"fennic", "--detail", "--set", "Mix=30"},
        {"corvel", "--set", "High Shelf=8", "--set", "EQ In=0"},
        {"corvel", "--detail", "--set", "Mix=30"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments{c[0], "--png", path("set.png")};
        arguments.insert(arguments.end(), c.begin() + 1, c.end());
        ASSERT_EQ(aax(arguments).status, 0) << c.back();
        arguments[2] = path("polled.png");
        arguments.insert(arguments.end(), {"--ticks", "1"});
        ASSERT_EQ(aax(arguments).status, 0) << c.back();
        EXPECT_TRUE(fileText(path("set.png")) == fileText(path("polled.png")))
            << c[0] << " " << c.back();
    }
}

} // namespace

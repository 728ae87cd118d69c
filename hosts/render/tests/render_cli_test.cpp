// kelvo-render run as a user runs it: refused input exits with status 2, says why in one line
// on stderr, and leaves no output behind; good input renders a file of the input's shape.

#include "audio_fixtures.h"
#include "property_list_file.h"
#include "testing/binary_property_list.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status = -1; // the exit status; -1 when a signal ended it
    int signal = 0;  // the signal that ended it
    std::string out;
    std::string err;
};

std::string slurp(const fs::path& path) {
    std::ifstream file(path);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

// Every sample of a rendered file, or empty when it does not read.
std::vector<float> samplesOf(const std::string& file) {
    SF_INFO info{};
    SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
    if (handle == nullptr) {
        return {};
    }
    std::vector<float> samples(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(handle, samples.data(), info.frames);
    sf_close(handle);
    return samples;
}

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("kelvo-render-cli-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "plugins");
    }
    void TearDown() override { fs::remove_all(folder_); }

    struct Running {
        pid_t pid;
        int out; // the read end of its stdout
    };

    // Starts kelvo-render with the arguments, its stdout a pipe (as in "kelvo-render ... |
    // sox ...") and its stderr a file; the plug-in path names an empty folder so only the
    // build's bundles and explicit paths are found.
    Running start(const std::vector<std::string>& arguments) {
        const fs::path err = folder_ / "stderr.txt";
        int outPipe[2];
        if (pipe2(outPipe, O_CLOEXEC) != 0) {
            return {-1, -1};
        }
        const pid_t child = fork();
        if (child == 0) {
            const int errFd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(outPipe[1], STDOUT_FILENO);
            dup2(errFd, STDERR_FILENO);
            signal(SIGINT, SIG_DFL); // as at a terminal, whatever ran the tests
            signal(SIGTERM, SIG_DFL);
            signal(SIGQUIT, SIG_DFL);
            const rlimit noCore{0, 0}; // SIGQUIT would leave a core file
            setrlimit(RLIMIT_CORE, &noCore);
            setenv("KELVO_PLUGIN_PATH", (folder_ / "plugins").c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(KELVO_RENDER_PROGRAM)};
            for (const auto& a : arguments) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            execv(KELVO_RENDER_PROGRAM, argv.data());
            _exit(127);
        }
        close(outPipe[1]);
        return {child, outPipe[0]};
    }

    // Reads its stdout to the end and waits for it.
    Outcome finish(const Running& running) {
        Outcome outcome;
        char buffer[65536];
        for (ssize_t got; (got = read(running.out, buffer, sizeof buffer)) != 0;) {
            if (got > 0) {
                outcome.out.append(buffer, static_cast<std::size_t>(got));
            } else if (errno != EINTR) {
                break;
            }
        }
        close(running.out);
        int status = 0;
        waitpid(running.pid, &status, 0);
        outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
        const fs::path err = folder_ / "stderr.txt";
        outcome.err = slurp(err);
        fs::remove(err);
        return outcome;
    }

    Outcome run(const std::vector<std::string>& arguments) { return finish(start(arguments)); }

    // Whether it is still running (it may have ended; it is not reaped here).
    static bool stillRunning(const Running& running) {
        siginfo_t info{};
        return !(waitid(P_PID, static_cast<id_t>(running.pid), &info,
                        WEXITED | WNOHANG | WNOWAIT) == 0 &&
                 info.si_pid == running.pid);
    }

    // Runs it while reading what it writes into the FIFO at fifo, until it has ended (a
    // program that never opens the FIFO does not leave the test waiting).
    Outcome runReadingFifo(const std::vector<std::string>& arguments, const fs::path& fifo,
                           std::string& received) {
        const int input = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        const Running running = start(arguments);
        char buffer[65536];
        for (bool ended = false; !ended;) {
            ended = !stillRunning(running);
            pollfd wait{input, POLLIN, 0};
            poll(&wait, 1, 20);
            for (ssize_t got; (got = read(input, buffer, sizeof buffer)) > 0;) {
                received.append(buffer, static_cast<std::size_t>(got));
            }
        }
        close(input);
        return finish(running);
    }

    // Refused: status 2, one line on stderr that contains what, nothing new in the folder.
    void expectRefused(const std::vector<std::string>& arguments, const std::string& what) {
        const auto before = listing();
        const Outcome outcome = run(arguments);
        std::string line;
        for (const auto& a : arguments) {
            line += "'" + a + "' ";
        }
        EXPECT_EQ(outcome.status, 2) << line << "\n" << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
        EXPECT_TRUE(outcome.err.starts_with("kelvo-render: ")) << outcome.err;
        EXPECT_NE(outcome.err.find(what), std::string::npos) << line << "\n" << outcome.err;
        EXPECT_TRUE(outcome.out.empty()) << outcome.out;
        EXPECT_EQ(listing(), before) << line << " left files behind";
    }

    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            names.push_back(entry.path().lexically_relative(folder_).string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Renders the demo through unit into the folder's file name with the options; its samples.
    std::vector<float> renderDemo(const std::string& unit, const std::string& name,
                                  const std::vector<std::string>& options) {
        std::vector<std::string> arguments{unit, path(name)};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.err;
        return samplesOf(path(name));
    }

    void writeWav(const std::string& name, int rate, int channels, int frames) const {
        kelvohost::writeTestWav(path(name), rate, channels, frames);
    }

    static SF_INFO shapeOf(const std::string& file) {
        SF_INFO info{};
        SNDFILE* handle = sf_open(file.c_str(), SFM_READ, &info);
        if (handle != nullptr) {
            sf_close(handle);
        }
        return info;
    }

    fs::path folder_;
};

#ifdef KELVO_TEST_BUNDLE
const std::string bundle = KELVO_TEST_BUNDLE;
#define REQUIRE_BUNDLE()
#else
const std::string bundle;
#define REQUIRE_BUNDLE() GTEST_SKIP() << "no unit bundle in this build"
#endif

TEST_F(RenderCommand, RefusesBadCommandLines) {
    expectRefused({}, "missing MODEL and OUTPUT");
    expectRefused({"tolvar"}, "missing OUTPUT");
    expectRefused({"tolvar", path("out.wav"), "--frobnicate"}, "unknown option --frobnicate");
    expectRefused({"tolvar", path("out.wav"), "--block", "0"}, "--block");
    expectRefused({"nosuchmodel", path("out.wav")}, "unknown model 'nosuchmodel'");
    expectRefused({path("Missing.component"), path("out.wav")}, "no such bundle");
    // What the user typed comes back escaped: it cannot retitle the terminal or ring its bell.
    expectRefused({"no\x1b]0;owned\x07model", path("out.wav")},
                  "unknown model 'no\\x1b]0;owned\\x07model'");
}

// A bundle whose Info.plist names a factory its executable does not itself define is refused
// with that name, whether the name is found nowhere or only in a library the executable depends
// on (malloc, which would otherwise be called as the factory).
TEST_F(RenderCommand, RefusesABundleWhoseExecutableDoesNotDefineItsFactory) {
#ifndef KELVO_FOREIGN_FACTORY_BUNDLE
    GTEST_SKIP() << "no fixture bundles in this build";
#else
    const fs::path original = KELVO_FOREIGN_FACTORY_BUNDLE; // its Info.plist names malloc
    const std::string declared = "<string>malloc</string>";
    const std::string plist = slurp(original / "Contents/Info.plist");
    ASSERT_NE(plist.find(declared), std::string::npos);
    for (const std::string factory : {"malloc", "NoSuchFactory"}) {
        const fs::path copy = folder_ / (factory + ".component");
        fs::copy(original, copy, fs::copy_options::recursive);
        std::string text = plist;
        text.replace(text.find(declared), declared.size(), "<string>" + factory + "</string>");
        std::ofstream(copy / "Contents/Info.plist") << text;
        expectRefused({copy.string(), path("out.wav")},
                      copy.string() +
                          ": the bundle's executable does not define its factory function '" +
                          factory + "'");
    }
#endif
}

TEST_F(RenderCommand, RefusesInputsItCannotRender) {
    REQUIRE_BUNDLE();
    std::ofstream(path("garbage.wav")) << "RIFF? not really";
    writeWav("surround.wav", 48000, 3, 100);
    expectRefused({bundle, path("absent.wav"), path("out.wav")}, "absent.wav: no such file");
    expectRefused({bundle, path("garbage.wav"), path("out.wav")}, "garbage.wav: cannot read");
    expectRefused({bundle, path("surround.wav"), path("out.wav")}, "has 3 channels");
    expectRefused({bundle, path("no-folder/out.wav")}, "cannot create the output file");
    expectRefused({bundle, folder_.string()}, "is a directory");
    fs::create_directories(path("takes"));
    expectRefused({bundle, path("takes"), path("out.wav")}, path("takes") + ": is a directory");
}

TEST_F(RenderCommand, RefusesUnknownParametersPresetsValuesAndStates) {
    REQUIRE_BUNDLE();
    std::ofstream(path("text.aupreset")) << "not a property list";
    std::ofstream(path("empty.aupreset"))
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict/></plist>\n";
    std::ofstream(path("array.aupreset"))
        << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><array/></plist>\n";
    const std::string out = path("out.wav");
    expectRefused({bundle, out, "--set", "No Such Control=1"},
                  "unknown parameter 'No Such Control'");
    expectRefused({bundle, out, "--set", "0=banana"}, "unknown value 'banana'");
    expectRefused({bundle, out, "--set", "0=1e9"}, "is outside");
    expectRefused({bundle, out, "--set", "Level"}, "--set takes NAME=VALUE");
    expectRefused({bundle, out, "--state", path("text.aupreset")}, "not a property list");
    expectRefused({bundle, out, "--state", path("array.aupreset")}, "does not hold a dictionary");
    expectRefused({bundle, out, "--state", path("empty.aupreset")}, "the unit refused this state");
    expectRefused({bundle, out, "--state", path("absent.aupreset")}, "no such file");
    if (KELVO_TEST_BUNDLE_IS_UNIT) {
        expectRefused({bundle, out, "--preset", "No Such Preset"}, "unknown preset");
        expectRefused({bundle, out, "--preset", "99"}, "no factory preset number 99");
    }
}

// A state file is read as a preset file is: a FIFO, a device or a huge file is refused at once
// with the reason, before anything waits on it or holds its bytes.
TEST_F(RenderCommand, RefusesStateFilesThatAreNotSmallRegularFiles) {
    REQUIRE_BUNDLE();
    const std::string out = path("out.wav");
    const fs::path huge = path("huge.aupreset");
    { std::ofstream(huge).put('<'); }
    fs::resize_file(huge, 100'000'000); // sparse: 100 MB to a reader, no disk space
    expectRefused({bundle, out, "--state", huge}, "too large: 100000000 bytes");
    expectRefused({bundle, out, "--state", "/dev/zero"}, "/dev/zero: is a device");
    expectRefused({bundle, out, "--state", folder_.string()}, "is a directory");

    const std::string fifo = path("state.fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A reader that waits for a writer would hang the test; after a while the test plays the
    // writer, so such a reader fails instead.
    std::atomic<bool> finished{false};
    std::thread writer([&] {
        for (int tick = 0; tick < 200 && !finished; ++tick) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!finished) {
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        }
    });
    expectRefused({bundle, out, "--state", fifo}, "is a FIFO, not a regular file");
    finished = true;
    writer.join();
}

TEST_F(RenderCommand, RefusesASampleRateTheUnitRefuses) {
    REQUIRE_BUNDLE();
    if (!KELVO_TEST_BUNDLE_IS_UNIT) {
        GTEST_SKIP() << "the fixture unit takes any rate";
    }
    writeWav("slow.wav", 4000, 1, 4000);
    expectRefused({bundle, path("slow.wav"), path("out.wav")}, "refuses a sample rate of 4000 Hz");
}

TEST_F(RenderCommand, RendersTheDemoAndFilesInTheirOwnShape) {
    REQUIRE_BUNDLE();
    const Outcome demo = run({"--json", bundle, path("demo.wav")});
    ASSERT_EQ(demo.status, 0) << demo.err;
    EXPECT_TRUE(demo.err.empty()) << demo.err;
    const SF_INFO demoShape = shapeOf(path("demo.wav"));
    EXPECT_EQ(demoShape.samplerate, 48000);
    EXPECT_EQ(demoShape.channels, 2);
    EXPECT_EQ(demoShape.frames, 6 * 48000);
    EXPECT_EQ(demoShape.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
    for (const char* key : {"{\"input\":[", "\"output\":[", "\"gr\":[", "\"peak\":[",
                            "\"latency_samples\":", "\"tail_seconds\":"}) {
        EXPECT_NE(demo.out.find(key), std::string::npos) << demo.out;
    }
    if (KELVO_TEST_BUNDLE_IS_UNIT) {
        EXPECT_NE(demo.out.find("\"latency_samples\":16,\"tail_seconds\":0.2}"), std::string::npos)
            << demo.out;
    }

    writeWav("mono.wav", 8000, 1, 8000 + 37);
    const Outcome mono = run({bundle, path("mono.wav"), path("mono-out.wav"), "--block", "100"});
    ASSERT_EQ(mono.status, 0) << mono.err;
    const SF_INFO monoShape = shapeOf(path("mono-out.wav"));
    EXPECT_EQ(monoShape.samplerate, 8000);
    EXPECT_EQ(monoShape.channels, 1);
    EXPECT_EQ(monoShape.frames, 8000 + 37);
}

// The Tolvar unit's state with Gain (ID 0) at 4 and nothing else, as a host saves it: codes
// 'aufx' 1635083896, 'Tolv' 1416588406, 'Kvlo' 1266052207; the blob holds scope 0, element 0,
// count 1, then ID 0 and 4.0f, big-endian.
constexpr const char* tolvarGainFourState =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict>\n"
    "<key>data</key><data>AAAAAAAAAAAAAAABAAAAAECAAAA=</data>\n"
    "<key>manufacturer</key><integer>1266052207</integer>\n"
    "<key>name</key><string>Loud Gain</string>\n"
    "<key>subtype</key><integer>1416588406</integer>\n"
    "<key>type</key><integer>1635083896</integer>\n"
    "<key>version</key><integer>0</integer>\n"
    "</dict></plist>\n";

TEST_F(RenderCommand, AppliesStateThenPresetThenSets) {
    REQUIRE_BUNDLE();
    if (!bundle.ends_with("KelvoTolvar.component")) {
        GTEST_SKIP() << "the order is checked with the Tolvar unit's presets and state";
    }
    std::ofstream(path("gain4.aupreset")) << tolvarGainFourState;
    const auto render = [&](const std::string& name, const std::vector<std::string>& options) {
        return renderDemo(bundle, name, options);
    };
    const auto plain = render("plain.wav", {});
    const auto setGain = render("set.wav", {"--set", "Gain=4"});
    const auto state = render("state.wav", {"--state", path("gain4.aupreset")});
    ASSERT_FALSE(plain.empty());
    EXPECT_NE(setGain, plain);
    EXPECT_EQ(state, setGain) << "the state did not restore Gain 4";
    // The same state as a binary property list, as a host's project may carry it.
    {
        const auto dictionary = kelvohost::readPropertyListDictionary(path("gain4.aupreset"));
        const kelvohost::CFHandle<CFDataRef> binary(CFPropertyListCreateData(
            kCFAllocatorDefault, dictionary.get(), kCFPropertyListBinaryFormat_v1_0, 0, nullptr));
        ASSERT_TRUE(binary);
        std::ofstream(path("gain4.bin"), std::ios::binary)
            .write(reinterpret_cast<const char*>(CFDataGetBytePtr(binary.get())),
                   CFDataGetLength(binary.get()));
    }
    EXPECT_EQ(render("binary-state.wav", {"--state", path("gain4.bin")}), setGain);
    // The same state saved by an editor that opens XML files with a UTF-8 byte-order mark.
    std::ofstream(path("gain4-marked.aupreset")) << "\xEF\xBB\xBF" << tolvarGainFourState;
    EXPECT_EQ(render("marked-state.wav", {"--state", path("gain4-marked.aupreset")}), setGain);
    // The preset comes after the state, so Studio Start undoes it.
    EXPECT_EQ(
        render("state-preset.wav", {"--preset", "Studio Start", "--state", path("gain4.aupreset")}),
        plain);
    // Tube Edge is Gain 4 and Level 1.8; a --set after it wins.
    EXPECT_EQ(render("tube.wav", {"--preset", "Color / Tube Edge"}),
              render("tube-by-hand.wav", {"--set", "Gain=4", "--set", "Level=1.8"}));
    EXPECT_EQ(render("tube-set.wav", {"--set", "gain=+5 dB", "--preset", "6"}),
              render("tube-set-by-hand.wav", {"--set", "Gain=3", "--set", "Level=1.8"}));
}

// States whose strings and keys hold U+0000, as any file may: the host neither dies on them
// nor lets a key that hides a zero stand for a real one.
TEST_F(RenderCommand, RestoresStatesWhoseStringsHoldZeros) {
    REQUIRE_BUNDLE();
    if (!bundle.ends_with("KelvoTolvar.component")) {
        GTEST_SKIP() << "the states are the Tolvar unit's";
    }
    using namespace std::string_literals;
    // Scope 0, element 0, count 1, then Gain (ID 0) at 4.0f or 1.0f, big-endian.
    const std::string gainFour = plisttest::data("\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0\0\x40\x80\0\0"s);
    const std::string gainOne = plisttest::data("\0\0\0\0\0\0\0\0\0\0\0\1\0\0\0\0\x3F\x80\0\0"s);
    const auto state = [&](const std::string& file,
                           std::vector<std::pair<std::string, std::string>> entries) {
        entries.insert(entries.begin(),
                       {{plisttest::ascii("version"), plisttest::integer(0)},
                        {plisttest::ascii("subtype"), plisttest::integer(1416588406)},
                        {plisttest::ascii("manufacturer"), plisttest::integer(1266052207)}});
        std::ofstream(path(file), std::ios::binary) << plisttest::dictionary(entries);
    };
    state("utf16-name.bin",
          {{plisttest::ascii("data"), gainFour},
           {plisttest::ascii("name"), plisttest::utf16(u"Loud \u00b7 \0 Gain"s)}});
    state("shadow-keys.bin", {{plisttest::ascii("data"), gainFour},
                              {plisttest::ascii("data\0shadow"s), gainOne},
                              {plisttest::ascii("subtype\0"s), plisttest::integer(0x4F70616C)}});
    const Outcome set = run({bundle, path("set.wav"), "--set", "Gain=4"});
    ASSERT_EQ(set.status, 0) << set.err;
    for (const char* file : {"utf16-name.bin", "shadow-keys.bin"}) {
        const Outcome restored = run({bundle, path("state.wav"), "--state", path(file)});
        EXPECT_EQ(restored.status, 0) << file << ": " << restored.err;
        EXPECT_EQ(samplesOf(path("state.wav")), samplesOf(path("set.wav"))) << file;
    }
}

// Mireth's state with Recovery (ID 2) at 3 and nothing else: subtype 'Mire' 1298756197; the
// blob holds scope 0, element 0, count 1, then ID 2 and 3.0f, big-endian.
constexpr const char* mirethRecoveryThreeState =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict>\n"
    "<key>data</key><data>AAAAAAAAAAAAAAABAAAAAkBAAAA=</data>\n"
    "<key>manufacturer</key><integer>1266052207</integer>\n"
    "<key>name</key><string>Recovery 3</string>\n"
    "<key>subtype</key><integer>1298756197</integer>\n"
    "<key>type</key><integer>1635083896</integer>\n"
    "<key>version</key><integer>0</integer>\n"
    "</dict></plist>\n";

TEST_F(RenderCommand, APlainNumberIsTheValueWhereACaptionReadsAsAnotherNumber) {
#ifndef KELVO_MIRETH_BUNDLE
    GTEST_SKIP() << "no Mireth bundle in this build";
#else
    const std::string mireth = KELVO_MIRETH_BUNDLE;
    std::ofstream(path("recovery3.aupreset")) << mirethRecoveryThreeState;
    const auto render = [&](const std::string& name, const std::vector<std::string>& options) {
        return renderDemo(mireth, name, options);
    };
    // Recovery's captions are "1 · Fast", "2", "3", "4", "5", "6 · Slow" for the values 0 to 5.
    const auto three = render("three.wav", {"--set", "Recovery=3"});
    ASSERT_FALSE(three.empty());
    EXPECT_EQ(three, render("state.wav", {"--state", path("recovery3.aupreset")}));
    EXPECT_NE(three, render("two.wav", {"--set", "Recovery=2"}));
    EXPECT_EQ(render("slow.wav", {"--set", "Recovery=6 \xC2\xB7 Slow"}),
              render("five.wav", {"--set", "Recovery=5"}));
    expectRefused({mireth, path("out.wav"), "--set", "Recovery=6"},
                  "outside 0 to 5; a number is the value itself");

    // The listing shows each value beside its caption: the caption "3" is the value 2.
    const Outcome list = run({mireth, "--list"});
    ASSERT_EQ(list.status, 0) << list.err;
    EXPECT_NE(list.out.find("   2  Recovery          0  1 \xC2\xB7 Fast\n"
                            "                        1  2\n"
                            "                        2  3\n"),
              std::string::npos)
        << list.out;
#endif
}

TEST_F(RenderCommand, ListsModelsAndOneUnit) {
    const Outcome models = run({"--list"});
    EXPECT_EQ(models.status, 0) << models.err;
    EXPECT_FALSE(models.out.empty());
    REQUIRE_BUNDLE();
    const Outcome unit = run({bundle, "--list"});
    ASSERT_EQ(unit.status, 0) << unit.err;
    EXPECT_NE(unit.out.find("Parameters"), std::string::npos) << unit.out;
    EXPECT_NE(unit.out.find("Factory presets"), std::string::npos) << unit.out;
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: kelvo-render"), std::string::npos);
}

TEST_F(RenderCommand, WritesTheFormatTheOutputsNameAsksFor) {
    REQUIRE_BUNDLE();
    writeWav("in.wav", 44100, 2, 44100 + 99);
    struct Case {
        const char* name;
        std::vector<std::string> options;
        int format;
    };
    const Case cases[] = {
        {"out.flac", {}, SF_FORMAT_FLAC | SF_FORMAT_PCM_24},
        {"out.aiff", {}, SF_FORMAT_AIFF | SF_FORMAT_FLOAT},
        {"out.ogg", {}, SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"out.caf", {"--bits", "24"}, SF_FORMAT_CAF | SF_FORMAT_PCM_24},
        {"out16.wav", {"--bits=16"}, SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    };
    for (const Case& c : cases) {
        std::vector<std::string> arguments{bundle, path("in.wav"), path(c.name)};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        const Outcome outcome = run(arguments);
        ASSERT_EQ(outcome.status, 0) << c.name << ": " << outcome.err;
        const SF_INFO shape = shapeOf(path(c.name));
        EXPECT_EQ(shape.format, c.format) << c.name;
        EXPECT_EQ(shape.samplerate, 44100) << c.name;
        EXPECT_EQ(shape.channels, 2) << c.name;
        EXPECT_EQ(samplesOf(path(c.name)).size(), 2u * (44100 + 99)) << c.name;
    }
    expectRefused({bundle, path("in.wav"), path("out.xyz")}, "cannot write .xyz files");
    expectRefused({bundle, path("in.wav"), path("out.mp3")}, "cannot write .mp3 files");
    expectRefused({bundle, path("in.wav"), path("out.flac"), "--bits", "float"},
                  "FLAC does not hold 32-bit float samples");
    expectRefused({bundle, path("out.wav"), "--bits", "20"}, "--bits takes 16, 24, 32 or float");
}

TEST_F(RenderCommand, WritesWhereTheOutputPathLeadsAndKeepsTheLinks) {
    REQUIRE_BUNDLE();
    writeWav("in.wav", 48000, 2, 30000);
    ASSERT_EQ(run({bundle, path("in.wav"), path("plain.wav")}).status, 0);
    const std::vector<float> expected = samplesOf(path("plain.wav"));
    ASSERT_EQ(expected.size(), 60000u);

    fs::create_directories(path("takes"));
    std::ofstream(path("takes/take.wav")) << "old";
    fs::create_symlink("takes/take.wav", path("latest.wav"));
    std::ofstream(path("linked.wav")) << "old";
    fs::create_hard_link(path("linked.wav"), path("other-name.wav"));
    for (const char* name : {"latest.wav", "linked.wav"}) {
        const Outcome outcome = run({bundle, path("in.wav"), path(name)});
        EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.err;
    }
    EXPECT_TRUE(fs::is_symlink(path("latest.wav")));
    EXPECT_EQ(samplesOf(path("takes/take.wav")), expected);
    EXPECT_TRUE(fs::equivalent(path("linked.wav"), path("other-name.wav")));
    EXPECT_EQ(samplesOf(path("other-name.wav")), expected);

    // Through a linked folder, sub/.. is where sub leads, up one, as the kernel takes it; the
    // file of that name beside sub is another file.
    fs::create_directories(path("real/deep"));
    fs::create_symlink("real/deep", path("sub"));
    fs::create_symlink("sub/../linked-to.wav", path("dd.wav"));
    std::ofstream(path("t.wav")) << "unrelated";
    std::ofstream(path("linked-to.wav")) << "unrelated";
    for (const char* name : {"sub/../t.wav", "dd.wav"}) {
        const Outcome outcome = run({bundle, path("in.wav"), path(name)});
        EXPECT_EQ(outcome.status, 0) << name << ": " << outcome.err;
    }
    EXPECT_EQ(samplesOf(path("real/t.wav")), expected);
    EXPECT_EQ(samplesOf(path("real/linked-to.wav")), expected);
    EXPECT_TRUE(fs::is_symlink(path("dd.wav")));
    EXPECT_EQ(slurp(path("t.wav")), "unrelated");
    EXPECT_EQ(slurp(path("linked-to.wav")), "unrelated");

    // Into a FIFO, as to a program that reads it.
    ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
    std::string streamed;
    const Outcome fifo =
        runReadingFifo({bundle, path("in.wav"), path("fifo")}, path("fifo"), streamed);
    EXPECT_EQ(fifo.status, 0) << fifo.err;
    EXPECT_TRUE(fs::is_fifo(path("fifo")));
    std::ofstream(path("from-fifo.wav"), std::ios::binary) << streamed;
    EXPECT_EQ(samplesOf(path("from-fifo.wav")), expected);

    // Into stdout, a pipe, through a link shaped as /dev/stdout is. Never /dev/stdout itself:
    // a host that renamed over its output would replace it on the machine running the tests.
    fs::create_symlink("/proc/self/fd/1", path("stdout"));
    const Outcome piped = run({bundle, path("in.wav"), path("stdout")});
    EXPECT_EQ(piped.status, 0) << piped.err;
    EXPECT_TRUE(fs::is_symlink(path("stdout")));
    std::ofstream(path("from-pipe.wav"), std::ios::binary) << piped.out;
    EXPECT_EQ(samplesOf(path("from-pipe.wav")), expected);
    EXPECT_EQ(shapeOf(path("from-pipe.wav")).frames, 30000) << "the header's length";
    expectRefused({bundle, path("in.wav"), path("stdout"), "--json"}, "where --json prints");
}

TEST_F(RenderCommand, AnInterruptedRenderLeavesNoTemporaryFileAndTheOldOutput) {
    REQUIRE_BUNDLE();
    // The input comes through a FIFO that the test keeps open, so the render waits in the
    // middle with its temporary file beside the output, until the signal comes.
    // A program that stopped reading would end the test by SIGPIPE instead of failing it.
    const auto previous = std::signal(SIGPIPE, SIG_IGN);
    for (const int signal : {SIGINT, SIGTERM, SIGQUIT}) {
        fs::remove(path("in.fifo"));
        ASSERT_EQ(mkfifo(path("in.fifo").c_str(), 0600), 0);
        std::ofstream(path("out.wav")) << "old";
        const Running running = start({bundle, path("in.fifo"), path("out.wav")});
        // Opened without waiting, so a program that never reads it cannot hang the test.
        int input = -1;
        for (int wait = 0; wait < 3000 && input < 0 && stillRunning(running); ++wait) {
            input = open(path("in.fifo").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            usleep(input < 0 ? 10000 : 0);
        }
        ASSERT_GE(input, 0) << finish(running).err;
        // A 16-bit stereo WAV header announcing ten seconds at 48 kHz, then one second.
        const std::uint32_t dataBytes = 10 * 48000 * 4;
        std::string header = "RIFF....WAVEfmt ";
        const auto put32 = [&](std::uint32_t v) {
            for (int i = 0; i < 4; ++i) {
                header += static_cast<char>(v >> (8 * i));
            }
        };
        const auto put16 = [&](std::uint16_t v) {
            header += static_cast<char>(v);
            header += static_cast<char>(v >> 8);
        };
        put32(16);
        put16(1);
        put16(2);
        put32(48000);
        put32(48000 * 4);
        put16(4);
        put16(16);
        header += "data";
        put32(dataBytes);
        const std::uint32_t riff = dataBytes + 36;
        for (int i = 0; i < 4; ++i) {
            header[4 + i] = static_cast<char>(riff >> (8 * i));
        }
        header += std::string(48000 * 4, '\x10');
        for (std::size_t sent = 0; sent < header.size() && stillRunning(running);) {
            pollfd room{input, POLLOUT, 0};
            poll(&room, 1, 20);
            const ssize_t wrote = write(input, header.data() + sent, header.size() - sent);
            sent += wrote > 0 ? static_cast<std::size_t>(wrote) : 0;
        }

        const fs::path partial = path("out.wav.partial-" + std::to_string(running.pid));
        for (int wait = 0; wait < 3000 && !fs::exists(partial); ++wait) {
            usleep(10000);
        }
        EXPECT_TRUE(fs::exists(partial)) << "no temporary file while rendering";
        kill(running.pid, signal);
        const Outcome outcome = finish(running);
        close(input);
        EXPECT_EQ(outcome.signal, signal) << outcome.err;
        EXPECT_FALSE(fs::exists(partial)) << strsignal(signal);
        EXPECT_EQ(slurp(path("out.wav")), "old");
    }
    std::signal(SIGPIPE, previous);
}

// Whatever the container: libsndfile gives a regular WAV or AIFF file's own length, a FLAC
// file's header's; the warning compares the header's word with what the file holds.
TEST_F(RenderCommand, AFileShorterThanItsHeaderRendersWhatItHoldsWithAWarning) {
    REQUIRE_BUNDLE();
    struct Case {
        const char* name;
        bool lying;
        bool cut;
        std::string warning; // after the path
    };
    const Case cases[] = {
        {"lying.flac", true, false,
         " holds 48000 frames, not the 68719476735 its header announces"},
        {"lying.wav", true, false, " holds 48000 frames, not the 536870911 its header announces"},
        {"cut.aiff", false, true, " holds 23993 frames, not the 48000 its header announces"},
    };
    for (const Case& c : cases) {
        kelvohost::writeTestAudio(path(c.name), c.lying, c.cut);
        const Outcome outcome = run({bundle, path(c.name), path("out.wav")});
        EXPECT_EQ(outcome.status, 0) << outcome.err;
        EXPECT_EQ(outcome.err,
                  "kelvo-render: warning: " + path(c.name) + c.warning + "; rendered those\n");
        EXPECT_EQ(shapeOf(path("out.wav")).frames, c.cut ? 23993 : 48000) << c.name;
    }
}

} // namespace

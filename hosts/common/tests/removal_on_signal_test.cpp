#include "removal_on_signal.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;
using RemovalOnSignals = TemporaryFolder;

// A child process holds temporary files, each under a RemovalOnSignal, and is sent the signal;
// what became of the files and of the child.
struct Ending {
    bool filesLeft;
    bool killedBySignal;
};

Ending endChild(const std::vector<fs::path>& files, int signal, bool ignored) {
    for (const fs::path& file : files) {
        std::ofstream(file) << "partial";
    }
    const pid_t child = fork();
    if (child == 0) {
        const rlimit noCore{0, 0}; // SIGQUIT would leave a core file
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::signal(signal, ignored ? SIG_IGN : SIG_DFL);
        {
            std::vector<std::unique_ptr<RemovalOnSignal>> removals;
            for (const fs::path& file : files) {
                removals.push_back(std::make_unique<RemovalOnSignal>(file));
            }
            ::kill(::getpid(), signal);
        }
        _exit(0); // reached only when the signal was ignored
    }
    int status = 0;
    waitpid(child, &status, 0);
    bool left = false;
    for (const fs::path& file : files) {
        left = left || fs::exists(file);
    }
    return {left, WIFSIGNALED(status) && WTERMSIG(status) == signal};
}

TEST_F(RemovalOnSignals, EndingSignalsRemoveEveryFileAndStillEndTheProcess) {
    const std::vector<fs::path> files{path("out.wav.partial"), path("song.kau1.partial")};
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        const Ending ending = endChild(files, signal, false);
        EXPECT_FALSE(ending.filesLeft) << strsignal(signal);
        EXPECT_TRUE(ending.killedBySignal) << strsignal(signal);
    }
}

TEST_F(RemovalOnSignals, AnIgnoredSignalStaysIgnored) {
    // As for a job started in the background or under nohup: the work goes on.
    const Ending ending = endChild({path("out.wav.partial")}, SIGINT, true);
    EXPECT_TRUE(ending.filesLeft);
    EXPECT_FALSE(ending.killedBySignal);
}

TEST_F(RemovalOnSignals, TheHandlingIsRestoredWhenTheLastGoes) {
    {
        const RemovalOnSignal first(path("a"));
        { const RemovalOnSignal second(path("b")); }
        struct sigaction now {};
        sigaction(SIGQUIT, nullptr, &now);
        EXPECT_NE(now.sa_handler, SIG_DFL) << "the first still needs it";
    }
    for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        struct sigaction now {};
        sigaction(signal, nullptr, &now);
        EXPECT_EQ(now.sa_handler, SIG_DFL) << strsignal(signal);
    }
    std::vector<std::unique_ptr<RemovalOnSignal>> many;
    const auto claimMany = [&] {
        for (int i = 0; i < 100; ++i) {
            many.push_back(std::make_unique<RemovalOnSignal>(path(std::to_string(i))));
        }
    };
    EXPECT_THROW(claimMany(), std::logic_error);
}

} // namespace
} // namespace kelvohost

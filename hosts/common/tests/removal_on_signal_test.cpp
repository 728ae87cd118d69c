#include "removal_on_signal.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;
using RemovalOnSignals = TemporaryFolder;

// A child process holds a temporary file under a RemovalOnSignal and is sent the signal; what
// became of the file and of the child.
struct Ending {
    bool fileLeft;
    bool killedBySignal;
};

Ending endChild(const fs::path& file, int signal, bool ignored) {
    std::ofstream(file) << "partial audio";
    const pid_t child = fork();
    if (child == 0) {
        ::signal(signal, ignored ? SIG_IGN : SIG_DFL);
        {
            const RemovalOnSignal removal(file);
            ::kill(::getpid(), signal);
        }
        _exit(0); // reached only when the signal was ignored
    }
    int status = 0;
    waitpid(child, &status, 0);
    return {fs::exists(file), WIFSIGNALED(status) && WTERMSIG(status) == signal};
}

TEST_F(RemovalOnSignals, InterruptTerminateAndHangUpRemoveTheFileAndStillEndTheProcess) {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        const Ending ending = endChild(path("out.wav.partial"), signal, false);
        EXPECT_FALSE(ending.fileLeft) << strsignal(signal);
        EXPECT_TRUE(ending.killedBySignal) << strsignal(signal);
    }
}

TEST_F(RemovalOnSignals, AnIgnoredSignalStaysIgnored) {
    // As for a job started in the background or under nohup: the work goes on.
    const Ending ending = endChild(path("out.wav.partial"), SIGINT, true);
    EXPECT_TRUE(ending.fileLeft);
    EXPECT_FALSE(ending.killedBySignal);
}

TEST_F(RemovalOnSignals, OneAtATimeAndTheHandlingRestoredAfterwards) {
    {
        const RemovalOnSignal first(path("a"));
        EXPECT_THROW(RemovalOnSignal(path("b")), std::logic_error);
    }
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    const RemovalOnSignal again(path("b")); // free again
}

} // namespace
} // namespace kelvohost

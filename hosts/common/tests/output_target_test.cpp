#include "host_error.h"
#include "output_target.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;
using Kind = OutputTarget::Kind;
using OutputTargets = TemporaryFolder;

// Only things made in the test's own folder: never a real device, which a fault here would
// replace on the machine running the tests.
TEST_F(OutputTargets, EachKindOfPathLeadsWhereItShould) {
    std::ofstream(path("plain.wav")) << "old";
    fs::create_directories(path("takes"));
    std::ofstream(path("takes/take.wav")) << "old";
    fs::create_symlink("takes/take.wav", path("latest.wav"));
    fs::create_symlink("latest.wav", path("chain.wav"));
    fs::create_symlink(path("takes/new.wav"), path("dangling.wav"));
    std::ofstream(path("linked.wav")) << "old";
    fs::create_hard_link(path("linked.wav"), path("other-name.wav"));
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", path("to-fifo"));

    struct Case {
        fs::path requested;
        Kind kind;
        fs::path destination;
    };
    const Case cases[] = {
        {path("new.wav"), Kind::replace, path("new.wav")},
        {path("plain.wav"), Kind::replace, path("plain.wav")},
        {path("latest.wav"), Kind::replace, path("takes/take.wav")},
        {path("chain.wav"), Kind::replace, path("takes/take.wav")},
        {path("dangling.wav"), Kind::replace, path("takes/new.wav")},
        {path("linked.wav"), Kind::linked, path("linked.wav")},
        {path("fifo"), Kind::straight, path("fifo")},
        {path("to-fifo"), Kind::straight, path("to-fifo")},
    };
    for (const Case& c : cases) {
        const OutputTarget target = resolveOutputTarget(c.requested);
        EXPECT_EQ(target.kind, c.kind) << c.requested;
        EXPECT_EQ(target.destination, c.destination) << c.requested;
        EXPECT_EQ(target.requested, c.requested);
    }
}

TEST_F(OutputTargets, DescriptorPathsAreWrittenStraight) {
    // /dev/stdout and /dev/fd/N lead to /proc/self/fd/N, whose link names what the descriptor
    // holds: a pipe ("pipe:[...]") or a regular file the shell opened.
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const int file = ::open(path("redirected.wav").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(file, 0);
    for (const int fd : {pipeEnds[1], file}) {
        for (const std::string folder : {"/proc/self/fd/", "/dev/fd/"}) {
            const fs::path descriptor = folder + std::to_string(fd);
            EXPECT_EQ(resolveOutputTarget(descriptor).kind, Kind::straight) << descriptor;
        }
    }
    ::close(file);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
}

TEST_F(OutputTargets, RefusesWhatCannotBeWritten) {
    fs::create_directories(path("folder"));
    fs::create_symlink("folder", path("to-folder"));
    fs::create_symlink("loop-b", path("loop-a"));
    fs::create_symlink("loop-a", path("loop-b"));
    fs::create_symlink("missing/out.wav", path("into-nowhere.wav"));
    std::ofstream(path("file")) << "";
    struct Case {
        fs::path requested;
        const char* messagePart;
    };
    const Case cases[] = {
        {path("folder"), "is a directory"},
        {path("to-folder"), "is a directory"},
        {path("loop-a"), "symbolic links"},
        {path("into-nowhere.wav"), "cannot create the output file (no folder"},
        {path("no-folder/out.wav"), "cannot create the output file (no folder"},
        {path("file/out.wav"), "cannot write there (Not a directory)"},
    };
    for (const Case& c : cases) {
        try {
            resolveOutputTarget(c.requested);
            ADD_FAILURE() << c.requested << " was accepted";
        } catch (const InputError& error) {
            EXPECT_NE(std::string(error.what()).find(c.messagePart), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
} // namespace kelvohost

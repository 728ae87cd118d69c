#include "host_error.h"
#include "output_target.h"
#include "path_kinds.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;
using Kind = OutputTarget::Kind;
using OutputTargets = PathKinds;

// Destinations lie in canonical folders.
TEST_F(OutputTargets, EachKindOfPathLeadsWhereItShould) {
    const fs::path real = fs::canonical(folder_);
    struct Case {
        fs::path requested;
        Kind kind;
        fs::path destination;
    };
    const Case cases[] = {
        {path("new.wav"), Kind::replace, real / "new.wav"},
        {path("plain.wav"), Kind::replace, real / "plain.wav"},
        {path("latest.wav"), Kind::replace, real / "takes/take.wav"},
        {path("chain.wav"), Kind::replace, real / "takes/take.wav"},
        {path("dangling.wav"), Kind::replace, real / "takes/new.wav"},
        {path("links/up.wav"), Kind::replace, real / "takes/chained.wav"},
        {path("sub/../t.wav"), Kind::replace, real / "real/t.wav"},
        {path("dd.wav"), Kind::replace, real / "real/t2.wav"},
        {path("takes/../sub/../plain.wav"), Kind::replace, real / "real/plain.wav"},
        {path("linked.wav"), Kind::linked, real / "linked.wav"},
        {path("fifo"), Kind::straight, path("fifo")},
        {path("to-fifo"), Kind::straight, path("to-fifo")},
        {path("null"), Kind::straight, path("null")},
    };
    for (const Case& c : cases) {
        const OutputTarget target = resolveOutputTarget(c.requested);
        EXPECT_EQ(target.kind, c.kind) << c.requested;
        EXPECT_EQ(target.destination, c.destination) << c.requested;
        EXPECT_EQ(target.requested, c.requested);
    }
    // From inside the folder, as a user types it.
    const fs::path before = fs::current_path();
    fs::current_path(folder_);
    EXPECT_EQ(resolveOutputTarget("sub/../t.wav").destination, real / "real/t.wav");
    EXPECT_EQ(resolveOutputTarget("new.wav").destination, real / "new.wav");
    fs::current_path(before);
}

TEST_F(OutputTargets, TwoNamesOfOneFileAreTheSameTarget) {
    const auto same = [&](const char* a, const char* b) {
        return leadToTheSameFile(resolveOutputTarget(path(a)), resolveOutputTarget(path(b)));
    };
    EXPECT_TRUE(same("takes/take.wav", "chain.wav"));
    EXPECT_TRUE(same("linked.wav", "other-name.wav"));
    EXPECT_TRUE(same("real/t2.wav", "dd.wav")); // neither there yet
    EXPECT_FALSE(same("t.wav", "sub/../t.wav"));
    EXPECT_FALSE(same("plain.wav", "new.wav"));
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
        {path("new-folder/"), "is a directory"},
        {path("folder/.."), "is a directory"},
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

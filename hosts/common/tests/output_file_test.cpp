#include "fifo_capture.h"
#include "host_error.h"
#include "output_file.h"
#include "path_kinds.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;
using Kind = OutputTarget::Kind;

std::string contentOf(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

class OutputFiles : public PathKinds {
protected:
    // Every name below the folder with what it is: "name -> text" for a link, "name: bytes"
    // for a file, "name/" for a folder, "name|" for a FIFO.
    std::vector<std::string> state() const {
        std::vector<std::string> lines;
        for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
            const std::string name = entry.path().lexically_relative(folder_).string();
            if (entry.is_symlink()) {
                lines.push_back(name + " -> " + fs::read_symlink(entry.path()).string());
            } else if (entry.is_directory()) {
                lines.push_back(name + "/");
            } else if (entry.is_fifo()) {
                lines.push_back(name + "|");
            } else {
                lines.push_back(name + ": " + contentOf(entry.path()));
            }
        }
        std::sort(lines.begin(), lines.end());
        return lines;
    }
};

TEST_F(OutputFiles, EveryPathIsWrittenWhereItLeadsAndKeepsItsShape) {
    struct Case {
        const char* what;
        const char* name;
        Kind kind;
        std::vector<const char*> showing; // the names that show the new bytes afterwards
    };
    const Case cases[] = {
        {"a new file", "new.wav", Kind::replace, {"new.wav"}},
        {"a regular file", "plain.wav", Kind::replace, {"plain.wav"}},
        {"a symlink: its target replaced, the link kept",
         "latest.wav",
         Kind::replace,
         {"takes/take.wav", "latest.wav"}},
        {"a chain of relative links",
         "links/up.wav",
         Kind::replace,
         {"takes/chained.wav", "links/up.wav"}},
        {"a dangling link: its target made", "dangling.wav", Kind::replace, {"takes/new.wav"}},
        {"sub/.. through a linked folder", "sub/../t.wav", Kind::replace, {"real/t.wav"}},
        {"a link to sub/..", "dd.wav", Kind::replace, {"real/t2.wav", "dd.wav"}},
        {"a hard link: copied into", "linked.wav", Kind::linked, {"linked.wav", "other-name.wav"}},
        {"a FIFO: written into", "fifo", Kind::straight, {}},
        {"a device: written into", "null", Kind::straight, {}},
    };
    for (const Case& c : cases) {
        const std::string bytes = std::string("new bytes for ") + c.what;
        std::vector<std::string> expected = state();
        const OutputTarget target = resolveOutputTarget(path(c.name));
        ASSERT_EQ(target.kind, c.kind) << c.what;
        std::string received;
        if (fs::is_fifo(path(c.name))) {
            received = readFifoWhile(path(c.name), [&] {
                writeOutputFiles({{target, bytesOf(bytes)}});
            });
            EXPECT_EQ(received, bytes) << c.what;
        } else {
            writeOutputFiles({{target, bytesOf(bytes)}});
        }
        for (const char* name : c.showing) {
            EXPECT_EQ(contentOf(path(name)), bytes) << c.what << ": " << name;
        }
        // Nothing else changed: every link, hard link, FIFO and unrelated file as it was.
        std::vector<std::string> after = state();
        for (const char* name : c.showing) {
            if (!fs::is_symlink(path(name))) {
                std::erase_if(after, [&](const std::string& line) {
                    return line == std::string(name) + ": " + bytes;
                });
                std::erase_if(expected, [&](const std::string& line) {
                    return line.starts_with(std::string(name) + ": ");
                });
            }
        }
        EXPECT_EQ(after, expected) << c.what;
    }
    EXPECT_EQ(fs::hard_link_count(path("linked.wav")), 2u);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(OutputFiles, AFailedRunLeavesEveryFileAsItWas) {
    const std::vector<std::string> before = state();

    // Written but never committed, as when a later step fails.
    for (const char* name : {"plain.wav", "latest.wav", "linked.wav", "new.wav"}) {
        OutputFile file(resolveOutputTarget(path(name)));
        file.write("partial", 7);
        file.finish();
    }
    EXPECT_EQ(state(), before);

    // Several files put in place together: the last cannot be written (its folder went away
    // after it was checked), so neither of the first two is put in place.
    fs::create_directories(path("gone"));
    const OutputTarget gone = resolveOutputTarget(path("gone/x.wav"));
    fs::remove(path("gone"));
    const std::string bytes = "new";
    EXPECT_THROW(writeOutputFiles({{resolveOutputTarget(path("plain.wav")), bytesOf(bytes)},
                                   {resolveOutputTarget(path("linked.wav")), bytesOf(bytes)},
                                   {gone, bytesOf(bytes)}}),
                 InputError);
    EXPECT_EQ(state(), before);

    // A missing folder is refused before anything is written.
    try {
        resolveOutputTarget(path("no-folder/out.wav"));
        ADD_FAILURE() << "a missing folder was accepted";
    } catch (const InputError& error) {
        EXPECT_NE(std::string(error.what()).find("no folder"), std::string::npos) << error.what();
    }
    EXPECT_EQ(state(), before);
}

TEST_F(OutputFiles, AReplacedFileKeepsItsPermissions) {
    fs::permissions(path("plain.wav"), fs::perms::owner_read | fs::perms::owner_write);
    const std::string bytes = "new";
    writeOutputFiles({{resolveOutputTarget(path("plain.wav")), bytesOf(bytes)}});
    EXPECT_EQ(fs::status(path("plain.wav")).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

} // namespace
} // namespace kelvohost

#pragma once
// A folder of the test's own holding every kind of path an output may be given, for the tests
// of where outputs lead and how they are written. Only things made in that folder: never a
// real device by its own name, which a fault would replace on the machine running the tests.
//
//     plain.wav                    a regular file ("old")
//     takes/take.wav               a regular file ("old"), which latest.wav links to;
//     latest.wav, chain.wav        chain.wav -> latest.wav -> takes/take.wav
//     links/up.wav                 -> ../takes/down.wav -> chained.wav: each link's text read
//                                  from its own folder, so takes/chained.wav ("old")
//     dangling.wav                 -> (absolute) takes/new.wav, not there yet
//     sub                          -> real/deep, so sub/.. is real, not this folder
//     t.wav                        "unrelated": what a lexical sub/../t.wav would name
//     dd.wav                       -> sub/../t2.wav, which is real/t2.wav
//     linked.wav, other-name.wav   one file ("old") with two hard links
//     fifo, to-fifo                a FIFO and a link to it
//     null                         -> /dev/null, a device

#include "temporary_folder.h"

#include <fstream>
#include <sys/stat.h>

namespace kelvohost {

class PathKinds : public TemporaryFolder {
protected:
    void SetUp() override {
        TemporaryFolder::SetUp();
        namespace fs = std::filesystem;
        std::ofstream(path("plain.wav")) << "old";
        fs::create_directories(path("takes"));
        std::ofstream(path("takes/take.wav")) << "old";
        fs::create_symlink("takes/take.wav", path("latest.wav"));
        fs::create_symlink("latest.wav", path("chain.wav"));
        fs::create_directories(path("links"));
        fs::create_symlink("../takes/down.wav", path("links/up.wav"));
        fs::create_symlink("chained.wav", path("takes/down.wav"));
        std::ofstream(path("takes/chained.wav")) << "old";
        fs::create_symlink(path("takes/new.wav"), path("dangling.wav"));
        fs::create_directories(path("real/deep"));
        fs::create_symlink("real/deep", path("sub"));
        std::ofstream(path("t.wav")) << "unrelated";
        fs::create_symlink("sub/../t2.wav", path("dd.wav"));
        std::ofstream(path("linked.wav")) << "old";
        fs::create_hard_link(path("linked.wav"), path("other-name.wav"));
        ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
        fs::create_symlink("fifo", path("to-fifo"));
        fs::create_symlink("/dev/null", path("null"));
    }
};

} // namespace kelvohost

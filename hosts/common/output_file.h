#pragma once
// The one way a host program writes a file: audio, a picture, a state chunk. Where the bytes
// go follows the target's kind (output_target.h):
//
//     OutputFile file(resolveOutputTarget(path));
//     file.write(bytes, size);             // as often as needed
//     file.finish();                       // every byte written
//     file.commit();                       // only now does the file appear
//
// Until commit() a replaced or linked target is untouched: the bytes go to a temporary file
// beside it, which the destructor (a failed run) or SIGINT, SIGTERM, SIGHUP or SIGQUIT removes.
// A straight target (a pipe, a device, /dev/stdout) takes the bytes as they come. A program that
// writes several files finishes them all, then commits them together (commitTogether), so a
// failure in any leaves every one as it was.

#include "output_target.h"
#include "removal_on_signal.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace kelvohost {

class OutputFile {
public:
    // Opens where the bytes go: a straight target itself (a regular file behind a descriptor
    // path is emptied first), else a new temporary file beside the destination, with the
    // permissions of the file it replaces. Throws InputError naming the requested path when it
    // cannot; nothing is left behind then. [main thread]
    explicit OutputFile(const OutputTarget& target);
    // Without commit(): the temporary file is removed and the target left as it was.
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    const OutputTarget& target() const { return target_; }
    // Open until finish().
    int descriptor() const { return fd_.fd; }
    // Whether the descriptor can be written anywhere (a file, a block device) rather than
    // only in order, as a pipe takes it.
    bool seekable() const { return seekable_; }

    // All size bytes, in order. Throws InputError. [any thread, one at a time]
    void write(const void* bytes, std::size_t size);
    // Closes the descriptor: every byte is written (some file systems report a failed write
    // only here). Throws InputError. [main thread]
    void finish();
    // After finish(): puts the file in place. Throws InputError when that fails; a replaced
    // target is then as it was, and a linked file whose copy failed part way is named in the
    // message beside the temporary file that holds the complete bytes, which is kept.
    // [main thread]
    void commit();

    // "PATH: what (why)", as an InputError.
    [[noreturn]] void fail(const std::string& what, const std::string& why) const;

private:
    struct Descriptor {
        int fd = -1;
        ~Descriptor();
        int release() { return std::exchange(fd, -1); }
    };
    // Removed when it goes, unless kept.
    struct Temporary {
        std::filesystem::path path;
        bool keep = false;
        ~Temporary();
    };

    void copyIntoLinkedFile();

    // Declared in the order they are needed, so a constructor that throws undoes them in
    // reverse: the temporary removed before the signals stop removing it.
    OutputTarget target_;
    std::optional<RemovalOnSignal> removal_; // while temporary_ exists
    Temporary temporary_;                    // no path for straight targets
    Descriptor fd_;
    bool seekable_ = false;
    bool finished_ = false;
};

// Puts finished files in place, those whose placing can still fail part way (a copy into a
// hard-linked file) first, then the renames, which leave a file either old or new. Throws
// InputError at the first that fails; those not reached are left as they were. [main thread]
void commitTogether(const std::vector<OutputFile*>& files);

// A file's whole content, for writeOutputFiles.
struct OutputBytes {
    OutputTarget target;
    std::span<const std::uint8_t> bytes;
};

// Writes each content to its target and puts them all in place, with the files already
// finished, only when every one is written: a failure leaves every file as it was (a straight
// target takes its bytes as they come). Throws InputError. [main thread]
void writeOutputFiles(const std::vector<OutputBytes>& outputs,
                      const std::vector<OutputFile*>& finished = {});

} // namespace kelvohost

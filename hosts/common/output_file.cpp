#include "output_file.h"

#include "host_error.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace kelvohost {
namespace {

// Bytes moved per call when a finished file is copied into a hard-linked one.
constexpr std::size_t copyBlock = 256 * 1024;

std::string errnoText() {
    return std::strerror(errno);
}

// Writes all of bytes to fd; the errno of a failure, else 0.
int writeAll(int fd, const char* bytes, std::size_t size) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t wrote = ::write(fd, bytes + done, size - done);
        if (wrote < 0 && errno == EINTR) {
            continue;
        }
        if (wrote < 0) {
            return errno;
        }
        if (wrote == 0) {
            return EIO;
        }
        done += static_cast<std::size_t>(wrote);
    }
    return 0;
}

} // namespace

OutputFile::Descriptor::~Descriptor() {
    if (fd >= 0) {
        ::close(fd);
    }
}

OutputFile::Temporary::~Temporary() {
    if (!path.empty() && !keep) {
        ::unlink(path.c_str());
    }
}

OutputFile::OutputFile(const OutputTarget& target) : target_(target) {
    if (target.kind == OutputTarget::Kind::straight) {
        struct stat opened {};
        fd_.fd = ::open(target.requested.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (fd_.fd < 0 || ::fstat(fd_.fd, &opened) != 0) {
            fail("cannot open the output", errnoText());
        }
        // A file behind a descriptor path (/dev/stdout > out.wav) is written from its start.
        if (S_ISREG(opened.st_mode) && ::ftruncate(fd_.fd, 0) != 0) {
            fail("cannot write the output file", errnoText());
        }
        seekable_ = S_ISREG(opened.st_mode) || S_ISBLK(opened.st_mode);
    } else {
        // Beside the destination, so the final rename stays on one file system.
        std::filesystem::path temporary = target.destination;
        temporary += ".partial-" + std::to_string(::getpid());
        removal_.emplace(temporary); // before the file exists, so no signal can leave it
        fd_.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_.fd < 0) {
            fail("cannot create the output file", errnoText());
        }
        temporary_.path = temporary;
        // The new file takes the permissions of the one it replaces.
        struct stat existing {};
        if (target.kind == OutputTarget::Kind::replace &&
            ::stat(target.destination.c_str(), &existing) == 0) {
            ::fchmod(fd_.fd, existing.st_mode & 07777);
        }
        seekable_ = true;
    }
}

OutputFile::~OutputFile() = default;

void OutputFile::fail(const std::string& what, const std::string& why) const {
    throw InputError(target_.requested.string() + ": " + what + " (" + why + ")");
}

void OutputFile::write(const void* bytes, std::size_t size) {
    if (const int error = writeAll(fd_.fd, static_cast<const char*>(bytes), size); error != 0) {
        fail("cannot write the output file", std::strerror(error));
    }
}

void OutputFile::finish() {
    if (::close(fd_.release()) != 0) {
        fail("cannot write the output file", errnoText());
    }
    finished_ = true;
}

void OutputFile::copyIntoLinkedFile() {
    Descriptor from{::open(temporary_.path.c_str(), O_RDONLY | O_CLOEXEC)};
    Descriptor to{::open(target_.destination.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC)};
    if (from.fd < 0 || to.fd < 0) {
        fail("cannot write the output file", errnoText()); // the destination is as it was
    }
    const auto keepAndFail = [&](const std::string& why) {
        temporary_.keep = true;
        removal_.reset();
        fail("copying into the hard-linked file failed part way; the complete file is in " +
                 temporary_.path.string(),
             why);
    };
    const std::unique_ptr<char[]> buffer(new char[copyBlock]);
    for (;;) {
        const ssize_t got = ::read(from.fd, buffer.get(), copyBlock);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            keepAndFail(errnoText());
        }
        if (got == 0) {
            break;
        }
        if (const int error = writeAll(to.fd, buffer.get(), static_cast<std::size_t>(got));
            error != 0) {
            keepAndFail(std::strerror(error));
        }
    }
    if (::close(to.release()) != 0) {
        keepAndFail(errnoText());
    }
}

void OutputFile::commit() {
    if (!finished_) {
        finish();
    }
    switch (target_.kind) {
    case OutputTarget::Kind::replace:
        if (::rename(temporary_.path.c_str(), target_.destination.c_str()) != 0) {
            fail("cannot put the output file in place", errnoText());
        }
        temporary_.path.clear(); // it is the destination now
        break;
    case OutputTarget::Kind::linked:
        copyIntoLinkedFile();
        break;
    case OutputTarget::Kind::straight:
        break;
    }
}

void commitTogether(const std::vector<OutputFile*>& files) {
    std::vector<OutputFile*> order = files;
    std::stable_partition(order.begin(), order.end(), [](const OutputFile* file) {
        return file->target().kind == OutputTarget::Kind::linked;
    });
    for (OutputFile* file : order) {
        file->commit();
    }
}

void writeOutputFiles(const std::vector<OutputBytes>& outputs,
                      const std::vector<OutputFile*>& finished) {
    std::vector<std::unique_ptr<OutputFile>> files;
    std::vector<OutputFile*> written = finished;
    for (const OutputBytes& output : outputs) {
        files.push_back(std::make_unique<OutputFile>(output.target));
        files.back()->write(output.bytes.data(), output.bytes.size());
        files.back()->finish();
        written.push_back(files.back().get());
    }
    commitTogether(written);
}

} // namespace kelvohost

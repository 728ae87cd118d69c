#include "bounded_file.h"

#include "host_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvohost {
namespace {

// Closes the descriptor on every way out, exceptions included.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::string kindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "is a directory";
    }
    if (S_ISFIFO(mode)) {
        return "is a FIFO, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "is a device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "is a socket, not a regular file";
    }
    return "is not a regular file";
}

} // namespace

std::vector<std::uint8_t> readBoundedFile(const std::filesystem::path& path,
                                          std::size_t maximumBytes) {
    // O_NONBLOCK only matters for what is not a regular file: the open returns at once and the
    // descriptor tells what the path is. O_NOCTTY keeps a terminal device from becoming ours.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        const int error = errno;
        throw InputError(path.string() + (error == ENOENT
                                              ? std::string(": no such file")
                                              : std::string(": cannot open the file (") +
                                                    std::strerror(error) + ")"));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        throw InputError(path.string() + ": cannot open the file (" + std::strerror(errno) + ")");
    }
    if (!S_ISREG(info.st_mode)) {
        throw InputError(path.string() + ": " + kindOf(info.st_mode));
    }
    const auto size = static_cast<std::uint64_t>(info.st_size);
    if (size > maximumBytes) {
        throw InputError(path.string() + ": too large: " + std::to_string(size) +
                         " bytes, more than the limit of " + std::to_string(maximumBytes));
    }

    // Up to one byte beyond the limit, which shows a file that grew since fstat.
    std::vector<std::uint8_t> bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    std::uint8_t buffer[65536];
    while (bytes.size() <= maximumBytes) {
        const std::size_t want =
            std::min<std::size_t>(sizeof buffer - 1, maximumBytes - bytes.size()) + 1;
        const ssize_t n = ::read(file.get(), buffer, want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw InputError(path.string() + ": read error (" + std::strerror(errno) + ")");
        }
        if (n == 0) {
            break;
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    if (bytes.size() > maximumBytes) {
        throw InputError(path.string() + ": too large: more than the limit of " +
                         std::to_string(maximumBytes) + " bytes");
    }
    return bytes;
}

} // namespace kelvohost

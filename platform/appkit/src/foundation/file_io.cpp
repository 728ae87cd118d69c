// File reading and writing.

#include "file_io.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {
namespace {

std::string lastComponent(const std::string& path) {
    std::string p = path;
    while (p.size() > 1 && p.back() == '/') {
        p.pop_back();
    }
    const auto slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

} // namespace

NSError posixError(int code, const std::string& path, const char* verb) {
    const std::string text = "The file \u201C" + lastComponent(path) + "\u201D couldn\u2019t be " +
                             verb + ": " + std::strerror(code);
    return NSError(NSPOSIXErrorDomain, code, NSString(std::string_view(text)));
}

void fail(NSError* error, int code, const std::string& path, const char* verb) {
    if (error) {
        *error = posixError(code, path, verb);
    }
}

bool readRegularFile(const std::string& path, std::string& out, NSError* error, std::size_t limit) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        fail(error, errno, path, "opened");
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int code = errno;
        ::close(fd);
        fail(error, code, path, "opened");
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        // Pipes, devices and sockets are refused before any read could block.
        ::close(fd);
        fail(error, S_ISDIR(info.st_mode) ? EISDIR : EINVAL, path, "opened");
        return false;
    }
    out.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(error, errno, path, "read");
            ::close(fd);
            return false;
        }
        if (n == 0) {
            break;
        }
        out.append(buffer, static_cast<std::size_t>(n));
        if (limit > 0 && out.size() > limit) {
            ::close(fd);
            fail(error, EFBIG, path, "read");
            return false;
        }
    }
    ::close(fd);
    return true;
}

bool writeFile(const std::string& path, const void* bytes, std::size_t length, bool atomic,
               NSError* error) {
    std::string target = path;
    std::string temporary = atomic ? path + ".tmp-XXXXXX" : path;
    int fd = -1;
    if (atomic) {
        fd = ::mkstemp(temporary.data());
    } else {
        fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    if (fd < 0) {
        fail(error, errno, path, "saved");
        return false;
    }
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::size_t left = length;
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            const int code = errno;
            ::close(fd);
            if (atomic) {
                ::unlink(temporary.c_str());
            }
            fail(error, code, path, "saved");
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (atomic) {
        // mkstemp makes the file 0600; a saved document gets the usual permissions.
        ::fchmod(fd, 0644);
        ::fsync(fd);
    }
    if (::close(fd) != 0) {
        const int code = errno;
        if (atomic) {
            ::unlink(temporary.c_str());
        }
        fail(error, code, path, "saved");
        return false;
    }
    if (atomic && ::rename(temporary.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temporary.c_str());
        fail(error, code, path, "saved");
        return false;
    }
    return true;
}

} // namespace foundation

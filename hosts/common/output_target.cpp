#include "output_target.h"

#include "host_error.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <unistd.h>

namespace kelvohost {
namespace {

namespace fs = std::filesystem;

// As the kernel's own limit on links followed in one lookup.
constexpr int maximumLinks = 40;

std::string reason(int error) {
    return std::strerror(error);
}

// The folder that holds name's last component, as the kernel reaches it: every link on the
// way followed, and each ".." taken from where the links led, never folded away as text
// (with sub -> real/deep, "sub/.." is real, not ".").
fs::path realFolder(const fs::path& name, const std::string& requested) {
    const fs::path folder = name.parent_path().empty() ? fs::path(".") : name.parent_path();
    const std::unique_ptr<char, decltype(&std::free)> real(::realpath(folder.c_str(), nullptr),
                                                           &std::free);
    if (!real) {
        if (errno == ENOENT) {
            throw InputError(requested + ": cannot create the output file (no folder " +
                             folder.string() + ")");
        }
        throw InputError(requested + ": cannot write there (" + reason(errno) + ")");
    }
    return real.get();
}

// /proc/self/fd/1, /dev/fd/1 and their like stand for an open descriptor, not a file of their
// own: the link they hold may name a pipe ("pipe:[1234]") or a file the shell opened.
bool isDescriptorFolder(const fs::path& realFolder) {
    return realFolder.filename() == "fd" && realFolder.string().starts_with("/proc/");
}

} // namespace

OutputTarget resolveOutputTarget(const fs::path& path) {
    OutputTarget target;
    target.requested = path;
    const std::string name = path.string();

    struct stat followed {};
    if (::stat(path.c_str(), &followed) == 0) {
        if (S_ISDIR(followed.st_mode)) {
            throw InputError(name + ": is a directory");
        }
        if (!S_ISREG(followed.st_mode)) {
            target.kind = OutputTarget::Kind::straight;
            target.destination = path;
            return target;
        }
    } else if (errno != ENOENT) {
        throw InputError(name + ": cannot write there (" + reason(errno) + ")");
    }

    // A regular file or nothing yet: follow the links to the name that is to be replaced, each
    // link's text read from the folder the link itself lies in.
    fs::path current = path;
    for (int links = 0;; ++links) {
        const fs::path last = current.filename();
        if (last.empty() || last == "." || last == "..") {
            throw InputError(name + ": is a directory");
        }
        const fs::path folder = realFolder(current, name);
        current = folder / last;
        struct stat own {};
        if (::lstat(current.c_str(), &own) != 0) {
            if (errno != ENOENT) {
                throw InputError(name + ": cannot write there (" + reason(errno) + ")");
            }
            break; // a new file (perhaps a dangling link's target)
        }
        if (!S_ISLNK(own.st_mode)) {
            if (own.st_nlink > 1) {
                target.kind = OutputTarget::Kind::linked;
            }
            break;
        }
        if (isDescriptorFolder(folder)) {
            target.kind = OutputTarget::Kind::straight;
            target.destination = path;
            return target;
        }
        if (links == maximumLinks) {
            throw InputError(name + ": too many levels of symbolic links");
        }
        std::error_code ec;
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            throw InputError(name + ": cannot read the link " + current.string() + " (" +
                             ec.message() + ")");
        }
        current = next.is_absolute() ? next : folder / next;
    }
    target.destination = current;
    return target;
}

bool leadToTheSameFile(const OutputTarget& a, const OutputTarget& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.destination.c_str(), &first) == 0 && ::stat(b.destination.c_str(), &second) == 0) {
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    }
    return a.destination == b.destination;
}

bool leadsToStandardOutput(const OutputTarget& target) {
    struct stat output {};
    struct stat standard {};
    return target.kind == OutputTarget::Kind::straight &&
           ::stat(target.requested.c_str(), &output) == 0 &&
           ::fstat(STDOUT_FILENO, &standard) == 0 && output.st_dev == standard.st_dev &&
           output.st_ino == standard.st_ino;
}

} // namespace kelvohost

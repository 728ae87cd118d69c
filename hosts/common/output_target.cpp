#include "output_target.h"

#include "host_error.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
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

// /proc/self/fd/1, /dev/fd/1 and their like stand for an open descriptor, not a file of their
// own: the link they hold may name a pipe ("pipe:[1234]") or a file the shell opened.
bool isDescriptorLink(const fs::path& link) {
    if (link.parent_path().filename() != "fd") {
        return false;
    }
    std::error_code ec;
    const fs::path folder = fs::canonical(link.parent_path(), ec);
    return !ec && folder.string().starts_with("/proc/");
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

    // A regular file or nothing yet: follow the links to the name that is to be replaced.
    fs::path current = path;
    for (int links = 0;; ++links) {
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
        if (isDescriptorLink(current)) {
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
        current = next.is_absolute() ? next : current.parent_path() / next;
    }

    // The temporary file goes beside the destination, so the folder must exist.
    const fs::path folder = current.parent_path().empty() ? fs::path(".") : current.parent_path();
    struct stat folderStat {};
    if (::stat(folder.c_str(), &folderStat) != 0 || !S_ISDIR(folderStat.st_mode)) {
        throw InputError(name + ": cannot create the output file (no folder " + folder.string() +
                         ")");
    }
    target.destination = current.lexically_normal();
    return target;
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

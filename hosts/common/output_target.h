#pragma once
// Where an output path really leads, and so how to write it without destroying what is there.
//
//     replace    a regular file, or a path where nothing is yet: the audio goes to a temporary
//                file beside it that is renamed over it only when complete, so a failed render
//                never damages an existing file. A symlink leads to its target: the temporary
//                file lies in the target's folder and the target is replaced, the link kept.
//     linked     a regular file with more than one hard link: renaming over it would part it
//                from its other names, which would keep the old audio. The temporary file is
//                completed as for replace, then copied into the file itself, which every name
//                then shows.
//     straight   a device, a FIFO, a socket or a descriptor path such as /dev/stdout: written
//                in place, as it is, with no temporary file (a pipe cannot be renamed into).

#include <filesystem>

namespace kelvohost {

struct OutputTarget {
    enum class Kind { replace, linked, straight };

    Kind kind = Kind::replace;
    std::filesystem::path requested;   // as the user named it (straight writes open this)
    std::filesystem::path destination; // the file replaced or copied into: symlinks followed
};

// Throws InputError when path is a directory, leads through too many symlinks, or lies in a
// folder that does not exist or cannot be looked into.
// [main thread]
OutputTarget resolveOutputTarget(const std::filesystem::path& path);

// Whether a straight target is where stdout goes, as /dev/stdout is: a program that also
// prints there must not. [main thread]
bool leadsToStandardOutput(const OutputTarget& target);

} // namespace kelvohost

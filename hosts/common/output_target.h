#pragma once
// Where an output path really leads, and so how to write it without destroying what is there.
// Every file a host program writes (audio, pictures, state chunks) goes by these rules, through
// OutputFile (output_file.h).
//
//     replace    a regular file, or a path where nothing is yet: the bytes go to a temporary
//                file beside it that is renamed over it only when complete, so a failed run
//                never damages an existing file. A symlink leads to its target: the temporary
//                file lies in the target's folder and the target is replaced, the link kept.
//     linked     a regular file with more than one hard link: renaming over it would part it
//                from its other names, which would keep the old bytes. The temporary file is
//                completed as for replace, then copied into the file itself, which every name
//                then shows.
//     straight   a device, a FIFO, a socket or a descriptor path such as /dev/stdout: written
//                in place, as it is, with no temporary file (a pipe cannot be renamed into).
//
// The path is followed as the kernel follows it: each symlink's text is read from the folder
// the link lies in, and a ".." after a linked folder leads to the parent of where the link
// led, never to the folder the text shows it in.

#include <filesystem>

namespace kelvohost {

struct OutputTarget {
    enum class Kind { replace, linked, straight };

    Kind kind = Kind::replace;
    std::filesystem::path requested;   // as the user named it (straight writes open this)
    std::filesystem::path destination; // the file replaced or copied into: symlinks followed,
                                       // its folder canonical
};

// Throws InputError when path is a directory, leads through too many symlinks, or lies in a
// folder that does not exist or cannot be looked into.
// [main thread]
OutputTarget resolveOutputTarget(const std::filesystem::path& path);

// Whether two targets name one file (by their destinations, or the file both lead to), so that
// writing both would leave only one of them. [main thread]
bool leadToTheSameFile(const OutputTarget& a, const OutputTarget& b);

// Whether a straight target is where stdout goes, as /dev/stdout is: a program that also
// prints there must not. [main thread]
bool leadsToStandardOutput(const OutputTarget& target);

} // namespace kelvohost

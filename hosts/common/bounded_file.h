#pragma once
// Reading a file the user names (a saved state, a preset, a chunk file) without trusting it:
// only a regular file is read, never more than a limit, and nothing the path names can make
// the host wait. A FIFO, a device such as /dev/zero or a huge file is refused at once.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace kelvohost {

// The whole content of the regular file at path, at most maximumBytes bytes.
//
// The file is opened without blocking (a FIFO with no writer opens at once) and checked
// through its descriptor to be a regular file before a byte is read; at most maximumBytes + 1
// bytes are read, so a file that grows while it is read is still caught. Throws InputError
// with a one-line message that starts with the path and says why:
// "no such file", "is a directory", "is a FIFO, not a regular file", "is a device, not a
// regular file", "is a socket, not a regular file", "too large: N bytes, more than the limit of
// M" (N the file's size), "cannot open the file (reason)", "read error (reason)".
// [any thread]
std::vector<std::uint8_t> readBoundedFile(const std::filesystem::path& path,
                                          std::size_t maximumBytes);

} // namespace kelvohost

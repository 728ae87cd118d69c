#pragma once
// A temporary file that an interrupted program removes: while a RemovalOnSignal is alive,
// SIGINT, SIGTERM and SIGHUP (those the process does not ignore) remove its path and then end
// the process as they would have. One may be alive at a time in a process.

#include <filesystem>

namespace kelvohost {

class RemovalOnSignal {
public:
    // Throws std::logic_error when another is alive. [main thread]
    explicit RemovalOnSignal(const std::filesystem::path& path);
    // Restores the signal handling there was. [main thread]
    ~RemovalOnSignal();
    RemovalOnSignal(const RemovalOnSignal&) = delete;
    RemovalOnSignal& operator=(const RemovalOnSignal&) = delete;
};

} // namespace kelvohost

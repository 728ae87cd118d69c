#pragma once
// Temporary files that an interrupted program removes: while a RemovalOnSignal is alive,
// SIGINT, SIGTERM, SIGHUP and SIGQUIT (those the process does not ignore) remove its path and
// then end the process as they would have. A few may be alive at once (a program that writes
// several files puts them in place together).

#include <filesystem>

namespace kelvohost {

class RemovalOnSignal {
public:
    // Throws std::logic_error when too many are alive. [main thread]
    explicit RemovalOnSignal(const std::filesystem::path& path);
    // The last one to go restores the signal handling there was. [main thread]
    ~RemovalOnSignal();
    RemovalOnSignal(const RemovalOnSignal&) = delete;
    RemovalOnSignal& operator=(const RemovalOnSignal&) = delete;

private:
    std::size_t slot_;
};

} // namespace kelvohost

#pragma once
// Errors a host reports to its user. An InputError is the user's fault (a bad argument, an
// unreadable file, a model or parameter that does not exist, a format the unit refuses): the
// programs print its one-line message and exit with status 2. Anything else that goes wrong is
// a failure of the unit or of the host itself.

#include <stdexcept>
#include <string>

namespace kelvohost {

class InputError : public std::runtime_error {
public:
    explicit InputError(const std::string& message) : std::runtime_error(message) {}
};

// Exit statuses of the host programs.
inline constexpr int exitSuccess = 0;
inline constexpr int exitFailure = 1;  // the unit or the host failed
inline constexpr int exitBadInput = 2; // the user's input was refused; nothing was written

} // namespace kelvohost

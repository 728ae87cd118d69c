#pragma once
// The outermost frame of a host program: what escapes its run is told on stderr with the
// program's name and turned into the exit status (2 for the user's input, 1 otherwise).

#include <functional>

namespace kelvohost {

// [main thread] Ignores SIGPIPE, so that writing to a pipe whose reader has gone fails the
// write, which the program reports, instead of ending it without a word.
int runProgram(const char* name, const std::function<int()>& run);

} // namespace kelvohost

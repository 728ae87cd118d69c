#pragma once
// The outermost frame of a host program: what escapes its run is told on stderr with the
// program's name and turned into the exit status (2 for the user's input, 1 otherwise). What
// the programs tell the user on stderr shows the user's own text printable (printable_text.h).

#include <functional>
#include <string>

namespace kelvohost {

// [main thread] Ignores SIGPIPE, so that writing to a pipe whose reader has gone fails the
// write, which the program reports, instead of ending it without a word.
int runProgram(const char* name, const std::function<int()>& run);

// "NAME: warning: TEXT" on stderr. [main thread]
void printWarning(const char* name, const std::string& text);

} // namespace kelvohost

#pragma once
// Text a program echoes back to its user (a model name, a path, a parameter name or value, a
// message that holds one) as a terminal shows it, never acts on it: a byte that would move the
// cursor, ring the bell, start an escape sequence or is not UTF-8 is written as \xHH (ESC as
// \x1b, BEL as \x07, a newline as \x0a), so a message stays one line. Printable UTF-8 (the
// captions' "·" and "×") passes as it is; a backslash too.

#include <string>
#include <string_view>

namespace kelvohost {

// [any thread]
std::string printableText(std::string_view text);

} // namespace kelvohost

#pragma once
// How the hosts compare what a user types with the unit's own names and value strings. The
// units write minus signs as U+2212; users type ASCII '-'. Matching ignores ASCII case and
// white space and treats U+2212 as '-', so "+5db", "-10 dB" and "−10 dB" find their captions.

#include <cstddef>
#include <string>
#include <string_view>

namespace kelvohost {

std::string asciiLower(std::string_view text);

// The form two texts are compared in: ASCII lower case, U+2212 as '-', no white space.
std::string matchKey(std::string_view text);

inline bool textMatches(std::string_view typed, std::string_view name) {
    return matchKey(typed) == matchKey(name);
}

// Leading and trailing ASCII white space removed.
std::string_view trim(std::string_view text);

// Columns a UTF-8 text takes in a terminal, counting each code point as one column (the
// units' texts hold no wide characters).
std::size_t displayWidth(std::string_view utf8);

// text padded with spaces on the right to width columns.
std::string padRight(std::string_view utf8, std::size_t width);

} // namespace kelvohost

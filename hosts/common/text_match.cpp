#include "text_match.h"

namespace kelvohost {
namespace {

constexpr std::string_view unicodeMinus = "\xE2\x88\x92"; // U+2212

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::string asciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = lower(c);
    }
    return out;
}

std::string matchKey(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i).starts_with(unicodeMinus)) {
            key.push_back('-');
            i += unicodeMinus.size() - 1;
        } else if (!isSpace(text[i])) {
            key.push_back(lower(text[i]));
        }
    }
    return key;
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (const char c : utf8) {
        // Continuation bytes (10xxxxxx) belong to the code point before them.
        if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) {
            ++width;
        }
    }
    return width;
}

std::string padRight(std::string_view utf8, std::size_t width) {
    std::string out(utf8);
    const std::size_t used = displayWidth(utf8);
    if (used < width) {
        out.append(width - used, ' ');
    }
    return out;
}

} // namespace kelvohost

#include "printable_text.h"

#include <cstdint>

namespace kelvohost {
namespace {

void escape(std::string& out, unsigned char byte) {
    constexpr char digits[] = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 0x0F];
}

// The length of the well-formed UTF-8 sequence of a printable character at text[at]; 0 when
// the bytes there are not one (a stray continuation byte, a cut or overlong sequence, a
// surrogate, past U+10FFFF) or encode a C1 control, U+0080 to U+009F, which terminals obey.
std::size_t printableSequence(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || at + length > text.size()) {
        return 0;
    }
    std::uint32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        point = point << 6 | (byte(i) & 0x3F);
    }
    const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool wellFormed =
        point >= smallest[length] && point <= 0x10FFFF && (point < 0xD800 || point > 0xDFFF);
    return wellFormed && point > 0x9F ? length : 0;
}

} // namespace

std::string printableText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x20 && byte < 0x7F) {
            out += text[at++];
        } else if (const std::size_t length = byte >= 0x80 ? printableSequence(text, at) : 0) {
            out.append(text, at, length);
            at += length;
        } else {
            escape(out, byte);
            ++at;
        }
    }
    return out;
}

} // namespace kelvohost

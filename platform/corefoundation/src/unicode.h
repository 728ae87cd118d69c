// Conversions between the encodings CFString accepts and its UTF-16 text.
#pragma once

#include <CoreFoundation/CFString.h>

#include <cstddef>
#include <string>

namespace cf {

// Strict UTF-8: overlong forms, surrogates and code points above U+10FFFF are refused.
bool decodeUTF8(const unsigned char* bytes, size_t length, std::u16string& out);
// Lone surrogates cannot be encoded: they become U+FFFD and *lossless is set false.
std::string encodeUTF8(const char16_t* units, size_t count, bool* lossless = nullptr);
inline std::string encodeUTF8(const std::u16string& text, bool* lossless = nullptr) {
    return encodeUTF8(text.data(), text.size(), lossless);
}

// Any supported encoding into UTF-16; false for invalid input or an unknown encoding.
bool decode(const unsigned char* bytes, size_t length, CFStringEncoding encoding,
            bool isExternalRepresentation, std::u16string& out);
// UTF-16 into an encoding. A unit the encoding cannot hold becomes lossByte, or fails when
// lossByte is 0. Returns false on failure.
bool encode(const char16_t* units, size_t count, CFStringEncoding encoding, unsigned char lossByte,
            bool isExternalRepresentation, std::string& out);

bool isKnownEncoding(CFStringEncoding encoding);

} // namespace cf

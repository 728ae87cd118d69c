// Encoding conversions: UTF-8, UTF-16, UTF-32, ASCII, ISO Latin-1 and MacRoman.

#include "unicode.h"

#include <array>
#include <cstdint>

namespace cf {
namespace {

// MacRoman bytes 0x80..0xFF as Unicode (0xF0 is the maker's logo in the private use area).
// clang-format off
constexpr std::array<char16_t, 128> kMacRomanHigh = {
    0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, // 0x80
    0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5, 0x00E7, 0x00E9, 0x00E8,
    0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, // 0x90
    0x00F2, 0x00F4, 0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC,
    0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6, 0x00DF, // 0xA0
    0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8,
    0x221E, 0x00B1, 0x2264, 0x2265, 0x00A5, 0x00B5, 0x2202, 0x2211, // 0xB0
    0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8,
    0x00BF, 0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, // 0xC0
    0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5, 0x0152, 0x0153,
    0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, // 0xD0
    0x00FF, 0x0178, 0x2044, 0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02,
    0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1, // 0xE0
    0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4,
    0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9, 0x0131, 0x02C6, 0x02DC, // 0xF0
    0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
};
// clang-format on
static_assert(kMacRomanHigh[0x49] == 0x2026); // 0xC9 is the ellipsis

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void appendCodePoint(std::u16string& out, char32_t c) {
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

bool decodeUTF16(const unsigned char* bytes, size_t length, bool bigEndian, bool honourBOM,
                 std::u16string& out) {
    if (length % 2 != 0) {
        return false;
    }
    size_t i = 0;
    if (honourBOM && length >= 2) {
        if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
            bigEndian = true;
            i = 2;
        } else if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
            bigEndian = false;
            i = 2;
        }
    }
    for (; i < length; i += 2) {
        const char16_t u = bigEndian ? static_cast<char16_t>(bytes[i] << 8 | bytes[i + 1])
                                     : static_cast<char16_t>(bytes[i + 1] << 8 | bytes[i]);
        out.push_back(u);
    }
    return true;
}

bool decodeUTF32(const unsigned char* bytes, size_t length, bool bigEndian, bool honourBOM,
                 std::u16string& out) {
    if (length % 4 != 0) {
        return false;
    }
    size_t i = 0;
    auto read = [&](size_t at, bool be) {
        return be ? (char32_t(bytes[at]) << 24 | char32_t(bytes[at + 1]) << 16 |
                     char32_t(bytes[at + 2]) << 8 | char32_t(bytes[at + 3]))
                  : (char32_t(bytes[at + 3]) << 24 | char32_t(bytes[at + 2]) << 16 |
                     char32_t(bytes[at + 1]) << 8 | char32_t(bytes[at]));
    };
    if (honourBOM && length >= 4) {
        if (read(0, true) == 0xFEFF) {
            bigEndian = true;
            i = 4;
        } else if (read(0, false) == 0xFEFF) {
            bigEndian = false;
            i = 4;
        }
    }
    for (; i < length; i += 4) {
        const char32_t c = read(i, bigEndian);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        appendCodePoint(out, c);
    }
    return true;
}

constexpr bool kHostBigEndian = __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__;

} // namespace

bool decodeUTF8(const unsigned char* s, size_t length, std::u16string& out) {
    out.reserve(out.size() + length);
    size_t i = 0;
    while (i < length) {
        const unsigned char b = s[i];
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        int extra;
        char32_t c;
        char32_t minimum;
        if ((b & 0xE0) == 0xC0) {
            extra = 1, c = b & 0x1F, minimum = 0x80;
        } else if ((b & 0xF0) == 0xE0) {
            extra = 2, c = b & 0x0F, minimum = 0x800;
        } else if ((b & 0xF8) == 0xF0) {
            extra = 3, c = b & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (length - i <= static_cast<size_t>(extra)) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = s[i + k];
            if ((t & 0xC0) != 0x80) {
                return false;
            }
            c = c << 6 | (t & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        appendCodePoint(out, c);
        i += extra + 1;
    }
    return true;
}

std::string encodeUTF8(const char16_t* units, size_t count, bool* lossless) {
    std::string out;
    out.reserve(count);
    if (lossless != nullptr) {
        *lossless = true;
    }
    for (size_t i = 0; i < count; ++i) {
        char32_t c = units[i];
        if (isHighSurrogate(units[i]) && i + 1 < count && isLowSurrogate(units[i + 1])) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) {
            c = 0xFFFD;
            if (lossless != nullptr) {
                *lossless = false;
            }
        }
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | c >> 6));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | c >> 12));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | c >> 18));
            out.push_back(static_cast<char>(0x80 | (c >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

bool isKnownEncoding(CFStringEncoding encoding) {
    switch (encoding) {
    case kCFStringEncodingUTF8:
    case kCFStringEncodingASCII:
    case kCFStringEncodingMacRoman:
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingWindowsLatin1:
    case kCFStringEncodingNextStepLatin:
    case kCFStringEncodingNonLossyASCII:
    case kCFStringEncodingUTF16:
    case kCFStringEncodingUTF16BE:
    case kCFStringEncodingUTF16LE:
    case kCFStringEncodingUTF32:
    case kCFStringEncodingUTF32BE:
    case kCFStringEncodingUTF32LE:
        return true;
    default:
        return false;
    }
}

bool decode(const unsigned char* bytes, size_t length, CFStringEncoding encoding,
            bool isExternalRepresentation, std::u16string& out) {
    switch (encoding) {
    case kCFStringEncodingUTF8:
        // A leading byte-order mark is not text.
        if (length >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
            bytes += 3;
            length -= 3;
        }
        return decodeUTF8(bytes, length, out);
    case kCFStringEncodingASCII:
    case kCFStringEncodingNonLossyASCII:
        for (size_t i = 0; i < length; ++i) {
            if (bytes[i] >= 0x80) {
                return false;
            }
            out.push_back(bytes[i]);
        }
        return true;
    case kCFStringEncodingMacRoman:
        for (size_t i = 0; i < length; ++i) {
            out.push_back(bytes[i] < 0x80 ? char16_t(bytes[i]) : kMacRomanHigh[bytes[i] - 0x80]);
        }
        return true;
    // Windows Latin-1 and NeXTSTEP Latin differ from ISO Latin-1 only in characters these units
    // never carry; they are read as ISO Latin-1.
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingWindowsLatin1:
    case kCFStringEncodingNextStepLatin:
        for (size_t i = 0; i < length; ++i) {
            out.push_back(bytes[i]);
        }
        return true;
    case kCFStringEncodingUTF16:
        return decodeUTF16(bytes, length, kHostBigEndian, true, out);
    case kCFStringEncodingUTF16BE:
        return decodeUTF16(bytes, length, true, isExternalRepresentation, out);
    case kCFStringEncodingUTF16LE:
        return decodeUTF16(bytes, length, false, isExternalRepresentation, out);
    case kCFStringEncodingUTF32:
        return decodeUTF32(bytes, length, kHostBigEndian, true, out);
    case kCFStringEncodingUTF32BE:
        return decodeUTF32(bytes, length, true, isExternalRepresentation, out);
    case kCFStringEncodingUTF32LE:
        return decodeUTF32(bytes, length, false, isExternalRepresentation, out);
    default:
        return false;
    }
}

bool encode(const char16_t* units, size_t count, CFStringEncoding encoding, unsigned char lossByte,
            bool isExternalRepresentation, std::string& out) {
    auto single = [&](auto toByte) {
        for (size_t i = 0; i < count; ++i) {
            const int b = toByte(units[i]);
            if (b < 0) {
                if (lossByte == 0) {
                    return false;
                }
                out.push_back(static_cast<char>(lossByte));
            } else {
                out.push_back(static_cast<char>(b));
            }
        }
        return true;
    };
    auto put16 = [&](char16_t u, bool be) {
        out.push_back(static_cast<char>(be ? u >> 8 : u & 0xFF));
        out.push_back(static_cast<char>(be ? u & 0xFF : u >> 8));
    };
    switch (encoding) {
    case kCFStringEncodingUTF8: {
        bool lossless = true;
        out += encodeUTF8(units, count, &lossless);
        return lossless || lossByte != 0;
    }
    case kCFStringEncodingASCII:
    case kCFStringEncodingNonLossyASCII:
        return single([](char16_t u) { return u < 0x80 ? int(u) : -1; });
    case kCFStringEncodingMacRoman:
        return single([](char16_t u) {
            if (u < 0x80) {
                return int(u);
            }
            for (size_t k = 0; k < kMacRomanHigh.size(); ++k) {
                if (kMacRomanHigh[k] == u) {
                    return int(0x80 + k);
                }
            }
            return -1;
        });
    case kCFStringEncodingISOLatin1:
    case kCFStringEncodingWindowsLatin1:
    case kCFStringEncodingNextStepLatin:
        return single([](char16_t u) { return u < 0x100 ? int(u) : -1; });
    case kCFStringEncodingUTF16:
    case kCFStringEncodingUTF16BE:
    case kCFStringEncodingUTF16LE: {
        const bool be = encoding == kCFStringEncodingUTF16BE ||
                        (encoding == kCFStringEncodingUTF16 && kHostBigEndian);
        if (isExternalRepresentation) {
            put16(0xFEFF, be);
        }
        for (size_t i = 0; i < count; ++i) {
            put16(units[i], be);
        }
        return true;
    }
    case kCFStringEncodingUTF32:
    case kCFStringEncodingUTF32BE:
    case kCFStringEncodingUTF32LE: {
        const bool be = encoding == kCFStringEncodingUTF32BE ||
                        (encoding == kCFStringEncodingUTF32 && kHostBigEndian);
        auto put32 = [&](char32_t c) {
            for (int k = 0; k < 4; ++k) {
                const int shift = be ? 24 - 8 * k : 8 * k;
                out.push_back(static_cast<char>(c >> shift & 0xFF));
            }
        };
        if (isExternalRepresentation) {
            put32(0xFEFF);
        }
        for (size_t i = 0; i < count; ++i) {
            char32_t c = units[i];
            if (isHighSurrogate(units[i]) && i + 1 < count && isLowSurrogate(units[i + 1])) {
                c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
                ++i;
            } else if (isHighSurrogate(units[i]) || isLowSurrogate(units[i])) {
                if (lossByte == 0) {
                    return false;
                }
                c = lossByte;
            }
            put32(c);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace cf

// Builds binary property lists object by object, for tests that need a list exactly as a file
// may hold it: broken structures, and strings or keys that hold U+0000.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace plisttest {

// Builds a binary property list from encoded objects: header, objects, offset table, trailer.
struct BinaryList {
    std::vector<std::string> objects;
    uint64_t top = 0;
    int refSize = 1;
    int offsetSize = 0; // 0: as small as fits
    // Trailer fields that a test may spoil after the layout is known.
    int64_t countOverride = -1;
    int64_t tableOffsetOverride = -1;

    std::string bytes() const {
        std::string out = "bplist00";
        std::vector<uint64_t> offsets;
        for (const auto& o : objects) {
            offsets.push_back(out.size());
            out += o;
        }
        const int size =
            offsetSize != 0 ? offsetSize : (out.size() < 256 ? 1 : (out.size() < 65536 ? 2 : 4));
        const uint64_t table = out.size();
        for (uint64_t o : offsets) {
            out += big(o, size);
        }
        out += std::string(6, '\0');
        out += static_cast<char>(size);
        out += static_cast<char>(refSize);
        out += big(countOverride >= 0 ? static_cast<uint64_t>(countOverride) : objects.size(), 8);
        out += big(top, 8);
        out +=
            big(tableOffsetOverride >= 0 ? static_cast<uint64_t>(tableOffsetOverride) : table, 8);
        return out;
    }

    static std::string big(uint64_t v, int n) {
        std::string out;
        for (int i = n - 1; i >= 0; --i) {
            out += static_cast<char>(i < 8 ? v >> (8 * i) & 0xFF : 0);
        }
        return out;
    }
    static std::string ref(uint64_t r, int n) { return big(r, n); }
    // A marker with a count: small counts in the low nibble, others as a following integer.
    static std::string marker(uint8_t high, uint64_t count) {
        if (count < 15) {
            return std::string(1, static_cast<char>(high << 4 | count));
        }
        return std::string(1, static_cast<char>(high << 4 | 0xF)) + "\x13" + big(count, 8);
    }
};

// Encoded objects. An ASCII string holds bytes below 128 only; a UTF-16 one any units.
inline std::string ascii(std::string_view text) {
    return BinaryList::marker(0x5, text.size()) + std::string(text);
}
inline std::string utf16(std::u16string_view text) {
    std::string out = BinaryList::marker(0x6, text.size());
    for (char16_t unit : text) {
        out += BinaryList::big(unit, 2);
    }
    return out;
}
inline std::string integer(int64_t value) {
    std::string out = "\x13";
    return out += BinaryList::big(static_cast<uint64_t>(value), 8);
}
inline std::string data(std::string_view bytes) {
    return BinaryList::marker(0x4, bytes.size()) + std::string(bytes);
}

// Names holding U+0000, encoded as a file may hold them, with the characters they hold.
struct ZeroName {
    const char* what;
    std::string encoded;
    std::u16string units;
};
inline std::vector<ZeroName> zeroNames() {
    using namespace std::string_literals;
    return {{"ASCII", ascii("a\0b"s), u"a\0b"s}, {"UTF-16", utf16(u"\u00dc\0x"s), u"\u00dc\0x"s}};
}

// A binary list whose top object is one dictionary of (encoded key, encoded value) pairs, in
// the order given (repeats included).
inline std::string dictionary(const std::vector<std::pair<std::string, std::string>>& entries) {
    BinaryList list;
    list.refSize = 2;
    const uint64_t n = entries.size();
    std::string top = BinaryList::marker(0xD, n);
    for (uint64_t i = 0; i < 2 * n; ++i) {
        top += BinaryList::ref(1 + i, 2);
    }
    list.objects.push_back(top);
    for (const auto& entry : entries) {
        list.objects.push_back(entry.first);
    }
    for (const auto& entry : entries) {
        list.objects.push_back(entry.second);
    }
    return list.bytes();
}

} // namespace plisttest

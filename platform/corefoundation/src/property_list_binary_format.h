// The binary property list format ("bplist00") as the reader and the writer both see it: the
// header, the trailer's fields, the object markers and big-endian numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace cf::plist {

inline constexpr std::string_view kBinaryMagic = "bplist00";
inline constexpr size_t kBinaryHeaderBytes = 8;

// The trailer, the last 32 bytes: 6 unused bytes, the size of an offset table entry, the size
// of an object reference, then the object count, the top object and the offset table's
// position, 8 bytes each.
inline constexpr size_t kTrailerBytes = 32;
inline constexpr size_t kTrailerOffsetSize = 6;
inline constexpr size_t kTrailerReferenceSize = 7;
inline constexpr size_t kTrailerObjectCount = 8;
inline constexpr size_t kTrailerTopObject = 16;
inline constexpr size_t kTrailerTableOffset = 24;

// The high nibble of an object's first byte. The low nibble holds a boolean's value, log2 of a
// number's width, or a count; kCountFollows says that the count follows as an integer object.
enum ObjectType : uint8_t {
    kSimpleObject = 0x0, // booleans (and null and fill, which we do not take)
    kIntegerObject = 0x1,
    kRealObject = 0x2,
    kDateObject = 0x3,
    kDataObject = 0x4,
    kASCIIStringObject = 0x5,
    kUTF16StringObject = 0x6,
    kArrayObject = 0xA,
    kDictionaryObject = 0xD,
};
inline constexpr uint8_t kFalseMarker = 0x08;
inline constexpr uint8_t kTrueMarker = 0x09;
inline constexpr uint8_t kCountFollows = 0xF;

inline uint64_t readBig(const uint8_t* p, size_t n) {
    uint64_t v = 0;
    for (size_t i = 0; i < n; ++i) {
        v = v << 8 | p[i];
    }
    return v;
}

} // namespace cf::plist

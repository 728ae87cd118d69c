#pragma once
// The state chunk 'KAU1': a 16-byte header, then the unit's class info as a binary property
// list. Header fields are 32-bit little-endian whatever the machine; a four-character code is
// stored as its integer, so 'KAUX' reads as the bytes X, U, A, K.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kelvoaax {

inline constexpr uint32_t stateChunkID = 'KAU1';
inline constexpr uint32_t stateMagic = 'KAUX';
inline constexpr uint32_t stateVersion = 1;
inline constexpr std::size_t stateHeaderSize = 16;
inline constexpr const char stateChunkName[] = "KELVO AU state";
// The custom data block that tells the editor which process and unit it may reach.
inline constexpr uint32_t editorDataID = 'KAUI';
inline constexpr std::size_t editorDataSize = 16;

struct StateHeader {
    uint32_t magic = stateMagic;
    uint32_t version = stateVersion;
    uint32_t product = 0;
    uint32_t length = 0; // bytes of property list that follow
};

inline void storeLittleEndian(uint8_t* bytes, uint64_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

inline uint32_t loadLittleEndian32(const uint8_t* bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

inline uint64_t loadLittleEndian64(const uint8_t* bytes) {
    return static_cast<uint64_t>(loadLittleEndian32(bytes)) |
           static_cast<uint64_t>(loadLittleEndian32(bytes + 4)) << 32;
}

inline void storeHeader(uint8_t* bytes, const StateHeader& header) {
    storeLittleEndian(bytes, header.magic, 4);
    storeLittleEndian(bytes + 4, header.version, 4);
    storeLittleEndian(bytes + 8, header.product, 4);
    storeLittleEndian(bytes + 12, header.length, 4);
}

inline StateHeader loadHeader(const uint8_t* bytes) {
    return {loadLittleEndian32(bytes), loadLittleEndian32(bytes + 4), loadLittleEndian32(bytes + 8),
            loadLittleEndian32(bytes + 12)};
}

} // namespace kelvoaax

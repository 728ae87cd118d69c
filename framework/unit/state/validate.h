#pragma once
// Strict validation of a unit state dictionary (the class-info property list) before anything
// of it is applied: the host's project, a user preset file or the AAX chunk may hold anything.
// Used by the unit's restore and by the editor's user preset load and save.
//
// Limits follow the model's table: at most N parameters, each ID below N and listed once, each
// value finite, in its row's range and integral on stepped rows.

#include "parameters/definition.h"

#include <AudioUnit/AudioUnitProperties.h>
#include <CoreFoundation/CoreFoundation.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <type_traits>

namespace kelvostate {

inline constexpr CFIndex nameLimit = 4096;            // UTF-16 units of "name"
inline constexpr CFIndex elementNameEntries = 5;      // "element-name": scopes
inline constexpr CFIndex elementNameInnerEntries = 8; // elements per scope
inline constexpr CFIndex elementNameKeyLimit = 16;    // UTF-16 units of an element key
inline constexpr CFIndex elementNameValueLimit = 4096;

// [any thread] The key is present, its value a number that, read as a 64-bit float, is finite
// and equals expected.
bool integer(CFDictionaryRef dictionary, CFStringRef key, long long expected);

namespace detail {

// [any thread] Checks 1 to 8 of the validation: everything but the parameter blob.
bool validateEnvelope(CFDictionaryRef dictionary, unsigned subtype, unsigned manufacturer);

// [any thread] The "data" value if present and of type data, else NULL.
CFDataRef parameterBlob(CFDictionaryRef dictionary);

inline std::uint32_t bigEndian32(const std::uint8_t* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) << 24 | static_cast<std::uint32_t>(bytes[1]) << 16 |
           static_cast<std::uint32_t>(bytes[2]) << 8 | static_cast<std::uint32_t>(bytes[3]);
}

inline float bigEndianFloat(const std::uint8_t* bytes) {
    const std::uint32_t bits = bigEndian32(bytes);
    float value;
    static_assert(sizeof value == sizeof bits);
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

template <class Table> constexpr std::size_t tableSize() {
    if constexpr (std::is_array_v<Table>) {
        return std::extent_v<Table>;
    } else {
        return std::tuple_size_v<Table>;
    }
}

} // namespace detail

// [any thread] True when state is a dictionary this model can restore: the envelope (type,
// codes, version, name, render quality, element names) and the parameter blob
// (12 + 8n bytes, big-endian: scope 0, element 0, count n, then n (ID, float) pairs).
template <class Table>
bool validate(const void* state, const Table& definitions, unsigned subtype,
              unsigned manufacturer) {
    constexpr std::size_t n = detail::tableSize<Table>();
    if (state == nullptr || CFGetTypeID(static_cast<CFTypeRef>(state)) != CFDictionaryGetTypeID()) {
        return false;
    }
    const auto dictionary = static_cast<CFDictionaryRef>(state);
    if (!detail::validateEnvelope(dictionary, subtype, manufacturer)) {
        return false;
    }
    const CFDataRef blob = detail::parameterBlob(dictionary);
    if (blob == nullptr) {
        return false;
    }
    const CFIndex length = CFDataGetLength(blob);
    if (length < 20 || length > static_cast<CFIndex>(12 + 8 * n) || length % 8 != 4) {
        return false;
    }
    const std::uint8_t* bytes = CFDataGetBytePtr(blob);
    const std::uint32_t count = detail::bigEndian32(bytes + 8);
    if (detail::bigEndian32(bytes) != 0 || detail::bigEndian32(bytes + 4) != 0 || count < 1 ||
        count > n || length != static_cast<CFIndex>(12 + 8 * static_cast<std::size_t>(count))) {
        return false;
    }
    bool seen[n] = {};
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t id = detail::bigEndian32(bytes + 12 + 8 * k);
        const float value = detail::bigEndianFloat(bytes + 16 + 8 * k);
        if (id >= n || seen[id]) {
            return false;
        }
        seen[id] = true;
        const classic::Definition& row = definitions[id];
        if (!std::isfinite(value) || value < row.minimum || value > row.maximum) {
            return false;
        }
        if ((row.isSwitch || row.isIndexed) && value != std::round(value)) {
            return false;
        }
    }
    return true;
}

} // namespace kelvostate

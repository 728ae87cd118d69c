#pragma once
// What the framework reads from a model besides its parameter table: names, codes and the IDs
// of the parameters the frame and the unit treat specially. Each model's model.h defines one
// `classic::model`.

#include <cstdint>

namespace classic {

struct ModelInfo {
    const char* product;          // bundle, executable and product name
    const char* bundleIdentifier; // how the unit and the editor find their own bundle
    std::uint32_t subtype;        // component subtype (type 'aufx', manufacturer 'Kvlo')
    unsigned meterId;
    unsigned bypassId;
    unsigned mixId;
    unsigned shimmerId;
    const char* viewFactoryClass; // named in the Cocoa view property
    std::uint32_t meterProperty;  // custom property carrying the meter block
};

// A four-character code as the platform writes it: first character in the high byte.
constexpr std::uint32_t fourCharCode(const char (&code)[5]) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(code[0])) << 24 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[1])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[2])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(code[3]));
}

} // namespace classic

#pragma once
// What the framework is built with for the Quorin discrete transformer preamplifier.

#include "parameters/definition.h"

#include <cstdint>

namespace classic {

inline constexpr unsigned parameterCount = 10;

// Parameter IDs, the rows of `definitions`.
namespace param {
enum : unsigned {
    gain = 0,
    inputTrim = 1,
    outputTrim = 2,
    pad = 3,
    polarity = 4,
    tap = 5, // "3:1 Tap"
    parallelMix = 6,
    meter = 7,
    bypass = 8,
    shimmer = 9,
};
} // namespace param

// The parameter table, indexed by parameter ID. [any thread]
extern const Definition definitions[parameterCount];

// Value strings of the indexed parameters that have captions; nullptr for other IDs.
// [any thread]
const char* const* choices(unsigned id, unsigned& count);

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

inline constexpr ModelInfo model{"KelvoQuorin",   "com.kelvo.KelvoQuorin", 'Quor',
                                 param::meter,    param::bypass,           param::parallelMix,
                                 param::shimmer,  "KelvoQuorinViewFactory", 'KIRM'};

static_assert(model.subtype == 0x51756F72u, "'Quor'");
static_assert(model.meterProperty == 0x4B49524Du, "'KIRM'");

} // namespace classic

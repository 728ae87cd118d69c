#pragma once
// What the framework is built with for the Vantor stereo VCA bus compressor.

#include "parameters/definition.h"

#include <cstdint>

namespace classic {

inline constexpr unsigned parameterCount = 12;

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

inline constexpr ModelInfo model{
    "KelvoVantor", "com.kelvo.KelvoVantor", 'Vant', 8, 10, 6, 11, "KelvoVantorViewFactory",
    'KIRM'};

static_assert(model.subtype == 0x56616E74u, "'Vant'");
static_assert(model.meterProperty == 0x4B49524Du, "'KIRM'");
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

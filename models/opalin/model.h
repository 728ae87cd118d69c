#pragma once
// What the framework is built with for the Opalin optical leveling amplifier.

#include "parameters/definition.h"

#include <cstdint>

namespace classic {

inline constexpr unsigned parameterCount = 10;

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
    "KelvoOpalin", "com.kelvo.KelvoOpalin", 'Opal', 7, 8, 5, 9, "KelvoOpalinViewFactory",
    'KIRM'};

static_assert(model.subtype == 0x4F70616Cu, "'Opal'");
static_assert(model.meterProperty == 0x4B49524Du, "'KIRM'");
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

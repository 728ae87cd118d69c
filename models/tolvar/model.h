#pragma once
// What the framework is built with for the Tolvar dual-stage tube preamp and EQ.

#include "parameters/definition.h"

#include <cstdint>

namespace classic {

inline constexpr unsigned parameterCount = 14;

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
    const char* viewFactoryClass;  // named in the Cocoa view property
    std::uint32_t meterProperty;   // custom property carrying the meter block
};

inline constexpr ModelInfo model{
    "KelvoTolvar", "com.kelvo.KelvoTolvar", 'Tolv', 11, 12, 10, 13, "KelvoTolvarViewFactory",
    'KIRM'};

} // namespace classic

#pragma once
// What the framework is built with for the Fennic FET compressor of the rack series.

#include "parameters/definition.h"

#include <cstdint>

namespace classic {

inline constexpr unsigned parameterCount = 10;

// Parameter IDs, the rows of `definitions`.
namespace param {
enum : unsigned {
    input = 0,
    output = 1,
    attack = 2,
    release = 3,
    ratio = 4,
    meter = 5, // read by the editor only
    mix = 6,
    stereoLink = 7,
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

inline constexpr ModelInfo model{"KelvoFennic",  "com.kelvo.KelvoFennic",  'Fenn',
                                 param::meter,   param::bypass,            param::mix,
                                 param::shimmer, "KelvoRackFennicFactory", 'KCRM'};

static_assert(model.subtype == 0x46656E6Eu, "'Fenn'");
static_assert(model.meterProperty == 0x4B43524Du, "'KCRM'");

} // namespace classic

#pragma once
// What the framework is built with for the Fennic FET compressor of the rack series.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

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

inline constexpr ModelInfo model{"KelvoFennic",    "com.kelvo.KelvoFennic",
                                 'Fenn',           param::meter,
                                 param::bypass,    param::mix,
                                 param::shimmer,   "KelvoRackFennicFactory",
                                 rackMeterProperty};

static_assert(model.subtype == fourCharCode("Fenn"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

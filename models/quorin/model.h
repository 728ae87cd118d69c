#pragma once
// What the framework is built with for the Quorin discrete transformer preamplifier.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

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

inline constexpr ModelInfo model{
    "KelvoQuorin",         "com.kelvo.KelvoQuorin", 'Quor',         param::meter,
    param::bypass,         param::parallelMix,      param::shimmer, "KelvoQuorinViewFactory",
    frameworkMeterProperty};

static_assert(model.subtype == fourCharCode("Quor"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

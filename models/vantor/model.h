#pragma once
// What the framework is built with for the Vantor stereo VCA bus compressor.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

namespace classic {

inline constexpr unsigned parameterCount = 12;

// The parameter table, indexed by parameter ID. [any thread]
extern const Definition definitions[parameterCount];

// Value strings of the indexed parameters that have captions; nullptr for other IDs.
// [any thread]
const char* const* choices(unsigned id, unsigned& count);

inline constexpr ModelInfo model{
    "KelvoVantor",         "com.kelvo.KelvoVantor", 'Vant', 8, 10, 6, 11, "KelvoVantorViewFactory",
    frameworkMeterProperty};

static_assert(model.subtype == fourCharCode("Vant"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

#pragma once
// What the framework is built with for the Elvane variable-mu broadcast limiter.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

namespace classic {

inline constexpr unsigned parameterCount = 9;

// The parameter table, indexed by parameter ID. [any thread]
extern const Definition definitions[parameterCount];

// Value strings of the indexed parameters that have captions; nullptr for other IDs.
// [any thread]
const char* const* choices(unsigned id, unsigned& count);

inline constexpr ModelInfo model{
    "KelvoElvane",         "com.kelvo.KelvoElvane", 'Elva', 6, 7, 4, 8, "KelvoElvaneViewFactory",
    frameworkMeterProperty};

static_assert(model.subtype == fourCharCode("Elva"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

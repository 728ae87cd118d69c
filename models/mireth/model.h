#pragma once
// What the framework is built with for the Mireth remote-cutoff tube leveler.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

namespace classic {

inline constexpr unsigned parameterCount = 10;

// The parameter table, indexed by parameter ID. [any thread]
extern const Definition definitions[parameterCount];

// Value strings of the indexed parameters that have captions; nullptr for other IDs.
// [any thread]
const char* const* choices(unsigned id, unsigned& count);

inline constexpr ModelInfo model{
    "KelvoMireth",         "com.kelvo.KelvoMireth", 'Mire', 7, 8, 5, 9, "KelvoMirethViewFactory",
    frameworkMeterProperty};

static_assert(model.subtype == fourCharCode("Mire"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

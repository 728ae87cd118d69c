#pragma once
// What the framework is built with for the Opalin optical leveling amplifier.

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
    "KelvoOpalin",         "com.kelvo.KelvoOpalin", 'Opal', 7, 8, 5, 9, "KelvoOpalinViewFactory",
    frameworkMeterProperty};

static_assert(model.subtype == fourCharCode("Opal"));
static_assert(model.meterId < parameterCount && model.bypassId < parameterCount &&
              model.mixId < parameterCount && model.shimmerId < parameterCount);

} // namespace classic

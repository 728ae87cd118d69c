#pragma once
// What the framework is built with for the Corvel preamplifier and equaliser of the rack series.

#include "meters/meter_block.h"
#include "parameters/definition.h"
#include "parameters/model_info.h"

namespace classic {

inline constexpr unsigned parameterCount = 13;

// Parameter IDs, the rows of `definitions`.
namespace param {
enum : unsigned {
    inputGain = 0, // stepped: seven line steps, "OFF", thirteen microphone steps
    highShelf = 1,
    midGain = 2,
    midFrequency = 3,
    lowShelf = 4,
    lowFrequency = 5,
    highPass = 6,
    eqIn = 7,
    polarity = 8,
    outputTrim = 9,
    mix = 10,
    bypass = 11,
    shimmer = 12,
};
// The model has no Meter parameter (the editor's IN / OUT switch picks the VU source); the
// framework's meter slot names an ID no parameter has.
inline constexpr unsigned none = parameterCount;
} // namespace param

// The parameter table, indexed by parameter ID. [any thread]
extern const Definition definitions[parameterCount];

// Value strings of the indexed parameters that have captions; nullptr for other IDs.
// [any thread]
const char* const* choices(unsigned id, unsigned& count);

inline constexpr ModelInfo model{"KelvoCorvel",    "com.kelvo.KelvoCorvel",
                                 'Corv',           param::none,
                                 param::bypass,    param::mix,
                                 param::shimmer,   "KelvoRackCorvelFactory",
                                 rackMeterProperty};

static_assert(model.subtype == fourCharCode("Corv"));
static_assert(model.bypassId < parameterCount && model.mixId < parameterCount &&
              model.shimmerId < parameterCount);

} // namespace classic

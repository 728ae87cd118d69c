#pragma once
// How the bridge describes itself to the AAX host: one effect, the model it is built for, with
// a mono and a stereo native component. Nothing is read from the hosted unit here; the
// description is made of the build's constants (product.h).

#include <AAX/AAX_ICollection.h>

#include <cstdint>

namespace kelvoaax {

// [main thread] Adds one component: the six context fields, the property map and the process
// procedure. Throws on any failure (std::runtime_error, AAX_CheckedResult::Exception).
void describe(AAX_IEffectDescriptor& effect, uint32_t inputs, uint32_t outputs, uint32_t nativeID);

} // namespace kelvoaax

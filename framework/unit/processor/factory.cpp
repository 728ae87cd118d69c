// The bundle's exported factory, named after the product (<Product>Factory). The build names
// the product and its codes; they must be the model's own.

#include "processor/processor.h"

#include <AudioUnitSDK/AUPlugInDispatch.h>

namespace {
constexpr bool same(const char* a, const char* b) {
    for (; *a != 0 && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}
} // namespace

static_assert(same(KELVO_PRODUCT, classic::model.product), "bundle built for another model");
static_assert(same(KELVO_BUNDLE_IDENTIFIER, classic::model.bundleIdentifier),
              "bundle identifier differs from the model's");
static_assert(classic::fourCharCode(KELVO_COMPONENT_SUBTYPE) == classic::model.subtype,
              "Info.plist subtype differs from the model's");

AUSDK_COMPONENT_ENTRY_NAMED(ausdk::AUBaseFactory, Processor, KELVO_FACTORY_NAME)

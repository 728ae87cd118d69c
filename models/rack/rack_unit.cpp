// The exported factory of a rack bundle: <Product>Factory creates the rack unit class, which
// is named after the product. The build names the product and its codes; they must be the
// model's own.

#include "rack/rack_unit.h"

#include <AudioUnitSDK/AUPlugInDispatch.h>

#include <string_view>

static_assert(std::string_view(KELVO_PRODUCT) == classic::model.product,
              "bundle built for another model");
static_assert(std::string_view(KELVO_BUNDLE_IDENTIFIER) == classic::model.bundleIdentifier,
              "bundle identifier differs from the model's");
static_assert(classic::fourCharCode(KELVO_COMPONENT_SUBTYPE) == classic::model.subtype,
              "Info.plist subtype differs from the model's");

AUSDK_COMPONENT_ENTRY_NAMED(ausdk::AUBaseFactory, KELVO_RACK_UNIT, KELVO_FACTORY_NAME)

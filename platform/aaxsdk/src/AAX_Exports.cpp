// The module's exported entry point. Compiled into each plug-in module itself (not taken from
// the SDK's archive), so that the module's export list can name it.

#include <AAX/AAX_Exports.h>

extern "C" AAX_Result AAX_DescribeModule(AAX_ICollection* collection) noexcept {
    if (collection == nullptr) {
        return AAX_ERROR_NULL_OBJECT;
    }
    try {
        return GetEffectDescriptions(collection);
    } catch (...) {
        return AAX_ERROR_UNSPECIFIED;
    }
}

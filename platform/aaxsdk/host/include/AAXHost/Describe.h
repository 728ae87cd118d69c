#pragma once
// Asking a module to describe itself: the host's collection and descriptors, which record
// every declaration. Refusals make the host's side fail on purpose, to see how a module copes.

#include <AAXHost/Description.h>

#include <AAX/AAX_Exports.h>

namespace aaxhost {

struct Refusals {
    bool effectDescriptor = false;      // NewDescriptor gives null
    bool componentDescriptor = false;   // NewComponentDescriptor gives null
    bool propertyMap = false;           // NewPropertyMap gives null
    AAX_Result addEffect = AAX_SUCCESS; // what AddEffect answers
};

// [main thread] Calls the entry point with a recording collection. Declarations that were
// made before a failure are kept (an effect only once AddEffect took it).
ModuleDescription describe(AAX_DescribeModuleProc entryPoint, const Refusals& refusals = {});

} // namespace aaxhost

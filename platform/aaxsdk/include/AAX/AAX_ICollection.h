#pragma once
// AAX_ICollection: what the host hands the module's description entry point. The plug-in
// declares its effects into it; the host owns it and every descriptor it gives out.
//
// Promises (of every host): a descriptor returned by NewDescriptor stays valid until the
// description entry point returns; AddEffect takes the descriptor's declarations under the
// effect identifier. Each call returns AAX_SUCCESS or an error result.

#include <AAX/AAX_IEffectDescriptor.h>

class AAX_ICollection {
public:
    virtual ~AAX_ICollection() = default;

    // [main thread] A new, empty effect descriptor, or null when the host cannot make one.
    virtual AAX_IEffectDescriptor* NewDescriptor() = 0;
    // [main thread] effectID: the effect's identifier (copied).
    virtual AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) = 0;
    virtual AAX_Result SetManufacturerName(const char* name) = 0;
    virtual AAX_Result AddPackageName(const char* name) = 0;
    virtual AAX_Result SetPackageVersion(uint32_t version) = 0;
};

// The module's description entry point, defined by the plug-in: the SDK's exported entry
// point calls it with the host's collection and returns its result.
AAX_Result GetEffectDescriptions(AAX_ICollection* collection);

#pragma once
// AAX_IEffectDescriptor: one effect as the plug-in declares it: names, categories, the
// components that process it, and the procedures that create its objects.

#include <AAX/AAX_IComponentDescriptor.h>

class AAX_IEffectDescriptor {
public:
    virtual ~AAX_IEffectDescriptor() = default;

    // [main thread] Each returns AAX_SUCCESS or an error result; texts are copied.
    virtual AAX_Result AddName(const char* name) = 0;
    virtual AAX_Result AddCategory(uint32_t category) = 0; // AAX_EPlugInCategory
    // A new, empty component descriptor owned by the host, or null.
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
    // procedure: an AAX_Create*Proc, as the ID says (AAX_EProcPtrID).
    virtual AAX_Result AddProcPtr(void* procedure, int32_t procID) = 0;
};

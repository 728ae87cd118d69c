#pragma once
// AAX_IPropertyMap: the properties of one component, in the order they are added.

#include <AAX/AAX.h>

class AAX_IPropertyMap {
public:
    virtual ~AAX_IPropertyMap() = default;

    // [main thread] Each returns AAX_SUCCESS or an error result.
    virtual AAX_Result AddProperty(AAX_EProperty property, AAX_CPropertyValue value) = 0;
    virtual AAX_Result AddPointerProperty(AAX_EProperty property, const void* pointer) = 0;
};

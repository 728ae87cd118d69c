#pragma once
// AAX_IViewContainer: the host's part of an editor window, in which the effect's GUI places
// its view.

#include <AAX/AAX.h>
#include <AAX/AAX_GUITypes.h>

class AAX_IViewContainer {
public:
    virtual ~AAX_IViewContainer() = default;

    // [main thread]
    virtual int32_t GetType() const = 0; // AAX_EViewContainer_Type
    virtual void* GetPtr() const = 0;    // the native view, as the type says
    // Asks the host to size the window for a view of that size; AAX_SUCCESS when it did.
    virtual AAX_Result SetViewSize(AAX_Point& size) = 0;
};

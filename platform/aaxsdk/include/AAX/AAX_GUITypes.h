#pragma once
// Sizes of the editor window, in points.

#include <cstdint>

struct AAX_Point {
    float vert; // height
    float horz; // width
};

// What kind of native view a view container holds (AAX_IViewContainer::GetType).
enum AAX_EViewContainer_Type : int32_t {
    AAX_eViewContainer_Type_NULL = 0,
    AAX_eViewContainer_Type_NSView = 1, // GetPtr() is the container's NSView*
};

#pragma once
// AAX_IDisplayDelegate: how a parameter's real value reads as text, and how text reads back.
// A plug-in derives its own; the parameter keeps a clone.
//
// Promises asked of every delegate: the calls are pure (same value, same text), return false
// for anything they cannot convert, and may be called on any thread but the render thread.

#include <AAX/AAX_CString.h>

#include <cstdint>

template <typename T> class AAX_IDisplayDelegate {
public:
    virtual ~AAX_IDisplayDelegate() = default;

    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString(T value, AAX_CString* valueString) const = 0;
    // As above, cut to at most maxNumChars characters.
    virtual bool ValueToString(T value, int32_t maxNumChars, AAX_CString* valueString) const = 0;
    virtual bool StringToValue(const AAX_CString& valueString, T* value) const = 0;
};

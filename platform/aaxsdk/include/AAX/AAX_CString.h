#pragma once
// AAX_CString: the SDK's text, UTF-8 bytes without a terminating zero counted.
//
// Promises: built from a C string (null gives the empty text); Get() stays valid until the
// text changes; Truncate never cuts more than it holds (it counts bytes).

#include <cstdint>
#include <string>

class AAX_CString {
public:
    AAX_CString() = default;
    AAX_CString(const char* text); // implicit, as a literal is passed where a text is wanted

    void Set(const char* text);
    const char* Get() const { return text_.c_str(); }
    uint32_t Length() const { return static_cast<uint32_t>(text_.size()); }
    // Keeps the first length bytes.
    void Truncate(uint32_t length);

    bool operator==(const AAX_CString& other) const { return text_ == other.text_; }
    bool operator==(const char* other) const;

private:
    std::string text_;
};

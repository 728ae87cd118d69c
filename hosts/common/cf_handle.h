#pragma once
// Ownership of Core Foundation objects in host code: a CFHandle releases the +1 reference it
// was given, so early returns and exceptions leak nothing.

#include <CoreFoundation/CoreFoundation.h>

#include <string>
#include <utility>

namespace kelvohost {

template <typename Ref> class CFHandle {
public:
    CFHandle() = default;
    explicit CFHandle(Ref owned) : ref_(owned) {} // takes over a +1 reference
    ~CFHandle() { reset(); }
    CFHandle(CFHandle&& other) noexcept : ref_(std::exchange(other.ref_, nullptr)) {}
    CFHandle& operator=(CFHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.ref_, nullptr));
        }
        return *this;
    }
    CFHandle(const CFHandle&) = delete;
    CFHandle& operator=(const CFHandle&) = delete;

    Ref get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }
    void reset(Ref owned = nullptr) {
        if (ref_ != nullptr) {
            CFRelease(ref_);
        }
        ref_ = owned;
    }
    // For out parameters that hand over a +1 reference.
    Ref* receive() {
        reset();
        return &ref_;
    }

private:
    Ref ref_ = nullptr;
};

// UTF-8 copy of a CFString; empty for NULL or a string that does not convert.
std::string toStdString(CFStringRef string);

// A new CFString from UTF-8 text (+1, held by the handle).
CFHandle<CFStringRef> makeCFString(const std::string& text);

// The four characters of a code ('Tolv' gives "Tolv"); non-printable bytes show as '?'.
std::string fourCharText(UInt32 code);

// The code of a four-character text; false when the text is not exactly four bytes.
bool fourCharCode(const std::string& text, UInt32& code);

} // namespace kelvohost

#pragma once
// A Core Foundation reference the bridge owns (+1): released when the holder goes, so no early
// return or exception leaks it.

#include <CoreFoundation/CoreFoundation.h>

#include <utility>

namespace kelvoaax {

template <typename Ref> class CFOwned {
public:
    CFOwned() = default;
    explicit CFOwned(Ref owned) : ref_(owned) {}
    ~CFOwned() {
        if (ref_ != nullptr) {
            CFRelease(ref_);
        }
    }
    CFOwned(const CFOwned&) = delete;
    CFOwned& operator=(const CFOwned&) = delete;

    Ref get() const { return ref_; }
    Ref* receive() { return &ref_; } // for out parameters; call on an empty holder only
    Ref release() { return std::exchange(ref_, nullptr); }

private:
    Ref ref_ = nullptr;
};

} // namespace kelvoaax

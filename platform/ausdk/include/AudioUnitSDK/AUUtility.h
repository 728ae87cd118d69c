#pragma once
// Small helpers shared by the SDK: the exception that carries a status out of a unit's
// constructor or main-thread code, and a value-or-status result for the non-throwing accessors.
//
// Promises: every C entry point of the SDK catches exceptions; an AUException becomes its
// status, std::bad_alloc becomes kAudio_MemFullError and anything else kUnknownErrorStatus.

#include <AudioUnit/AudioUnit.h>

#include <exception>

namespace ausdk {

inline constexpr OSStatus kUnknownErrorStatus = -1;

class AUException : public std::exception {
public:
    explicit AUException(OSStatus error) noexcept : mError(error) {}
    const char* what() const noexcept override { return "ausdk::AUException"; }
    OSStatus Error() const noexcept { return mError; }

private:
    OSStatus mError;
};

[[noreturn]] inline void Throw(OSStatus error) {
    throw AUException(error);
}

inline void ThrowExceptionIf(bool condition, OSStatus error) {
    if (condition) {
        Throw(error);
    }
}

// A value, or the status that explains why there is none.
template <typename T> class Expected {
public:
    Expected(T value) noexcept : mValue(value), mError(noErr) {} // NOLINT: implicit by design
    static Expected Failure(OSStatus error) noexcept { return Expected(T{}, error); }

    bool has_value() const noexcept { return mError == noErr; }
    explicit operator bool() const noexcept { return has_value(); }
    T value() const noexcept { return mValue; } // T{} when there is no value
    T operator*() const noexcept { return mValue; }
    OSStatus error() const noexcept { return mError; }

private:
    Expected(T value, OSStatus error) noexcept : mValue(value), mError(error) {}
    T mValue;
    OSStatus mError;
};

} // namespace ausdk

// Returns the status from the enclosing function unless the condition holds.
#define AUSDK_Require(condition, error)                                                            \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            return (error);                                                                        \
        }                                                                                          \
    } while (false)

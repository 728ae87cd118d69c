#pragma once
// NSThread and NSProcessInfo: the facts about the running process the units ask for.
//
// Promises:
// - isMainThread is true on the process's initial thread (the one the main run loop runs on).
// - processIdentifier is getpid(), unless a host plays another process
//   (appkit::setProcessIdentifier).

#include <Foundation/NSObjCRuntime.h>

class FOUNDATION_EXPORT NSThread {
public:
    static bool isMainThread(); // [any thread]
};

class FOUNDATION_EXPORT NSProcessInfo {
public:
    static NSProcessInfo* processInfo();
    int processIdentifier() const; // [any thread]

private:
    NSProcessInfo() = default;
};

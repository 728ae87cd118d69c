#pragma once
// The user's folders.
//
// Promises:
// - NSHomeDirectory is $HOME when set and not empty, otherwise the password database's home
//   of the current user. Read on every call, so a host or test may redirect it.
// - The user domain's Library folder is <home>/Library (the platform's layout, under the home
//   folder on Linux too); see NSFileManager::URLsForDirectory.

#include <Foundation/NSString.h>

typedef NSUInteger NSSearchPathDirectory;
enum : NSUInteger {
    NSLibraryDirectory = 5,
    NSDocumentDirectory = 9,
};

typedef NSUInteger NSSearchPathDomainMask;
enum : NSUInteger {
    NSUserDomainMask = 1,
};

FOUNDATION_EXPORT NSString NSHomeDirectory();

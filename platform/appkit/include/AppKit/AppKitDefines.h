#pragma once
// The export marker of AppKit classes and functions (see <CoreGraphics/CGBase.h>).

#include <Foundation/NSObjCRuntime.h>

#define APPKIT_EXPORT __attribute__((visibility("default")))

#pragma once
// Core Graphics basics: the scalar type and the export marker of the graphics stand-in.
//
// Promises:
// - CGFloat is double (64-bit platform).
// - Every class and function of AppKit, Foundation and Core Graphics lives in the one shared
//   library `appkit` and is exported with default visibility, so bundles built with hidden
//   visibility and loaded with local binding still share one copy of the process-wide state
//   (class registry, image caches, current graphics context, run-loop timers).

#include <cstddef>
#include <cstdint>

#define CG_EXTERN __attribute__((visibility("default")))

typedef double CGFloat;

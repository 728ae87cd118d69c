#pragma once
// The Corvel faceplate composite: the FET photograph as the outer frame, the blank panel inside
// it, a blank name plate under the engraved title "PREAMP & EQUALISER" and the FET meter window
// where the framework faceplates have theirs, so the needle draws at the same place.

#include <AppKit/AppKit.h>

namespace iron {

// Built on the first call and kept for the life of the process, like the toolkit's other
// composites; a missing photograph leaves its part empty. [main thread]
std::shared_ptr<NSImage> plateCorvel();

} // namespace iron

#pragma once
// The hosted unit's own editor: the view its Cocoa view property leads to (its bundle, then
// its view factory classes by name).

#include <AppKit/AppKit.h>
#include <AudioToolbox/AudioToolbox.h>

#include <memory>

namespace kelvoaax {

// [main thread] The view the unit's first factory that makes one made for it (at least 10 by
// 10 points). Throws std::runtime_error with the reason when there is none.
std::shared_ptr<NSView> createNativeEditor(AudioUnit unit);

} // namespace kelvoaax

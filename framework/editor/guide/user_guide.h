#pragma once
// The user guide: the model's plain-text guide from its own bundle, shown in a window of its
// own beside the editor.

#include <AppKit/AppKit.h>

namespace userguide {

// Shown when the bundle has no readable guide.
inline constexpr const char* fallbackText =
    "KELVO ORVELLA. Drag knobs vertically; Shift for fine control. Double-click resets. Fixed "
    "screen-space lighting remains still.";

// The bundle's "USER-GUIDE.txt" read as UTF-8, or the fallback text when the bundle is
// missing or the resource is absent, unreadable or not UTF-8. [main thread]
NSString text(const NSBundle* bundle);

// A new guide window titled "<product> · User Guide", showing text in a scrolled, wrapping,
// read-only text view; kept (not released) when closed. [main thread]
std::shared_ptr<NSWindow> makeWindow(const char* product, const NSString& text);

} // namespace userguide

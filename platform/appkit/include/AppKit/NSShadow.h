#pragma once
// NSShadow: a shadow value. set() installs it in the current graphics context's state.
//
// Promises:
// - Offset and blur radius are in the default user space (see <CoreGraphics/CGContext.h>):
//   (1, −3) is 1 point right and 3 points down on screen, in flipped and scaled views alike.
// - Default: offset (0, 0), blur 0, black at alpha 1/3. A shadow with a clear colour draws
//   nothing.

#include <AppKit/NSColor.h>
#include <Foundation/NSGeometry.h>

class APPKIT_EXPORT NSShadow {
public:
    NSShadow();
    NSSize shadowOffset() const { return offset_; }
    void setShadowOffset(NSSize offset) { offset_ = offset; }
    CGFloat shadowBlurRadius() const { return blur_; }
    void setShadowBlurRadius(CGFloat radius) { blur_ = radius; }
    const NSColor& shadowColor() const { return color_; }
    void setShadowColor(const NSColor& color) { color_ = color; }
    void set() const;

private:
    NSSize offset_;
    CGFloat blur_ = 0;
    NSColor color_;
};

#pragma once
// Drawing helpers shared inside the library: the current-context scope and the stand-in's
// internal access to contexts.

#include <AppKit/NSGraphicsContext.h>

namespace appkit {

// Makes a context current for the scope and restores the previous one (and its flip) after.
class CurrentContextScope {
public:
    explicit CurrentContextScope(const std::shared_ptr<NSGraphicsContext>& context);
    ~CurrentContextScope();
    CurrentContextScope(const CurrentContextScope&) = delete;
    CurrentContextScope& operator=(const CurrentContextScope&) = delete;

private:
    std::shared_ptr<NSGraphicsContext> previous_;
};

// The current CG context, or nullptr outside drawing.
CGContextRef currentCGContext();
// Pixels per point of a context's default user space.
CGFloat contextScale(CGContextRef context);
// A pixel of a bitmap context (top-left origin), un-premultiplied.
CGRGBAColor bitmapPixel(CGContextRef context, std::size_t x, std::size_t y);

} // namespace appkit

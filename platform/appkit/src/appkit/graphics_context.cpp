// The current graphics context and its save stack.

#include "drawing_internal.h"

#include <AppKit/NSImage.h>

#include "../coregraphics/context_internal.h"

#include <vector>

namespace {

struct Saved {
    std::shared_ptr<NSGraphicsContext> context;
    bool flipped;
};

std::shared_ptr<NSGraphicsContext>& current() {
    static std::shared_ptr<NSGraphicsContext> context;
    return context;
}

std::vector<Saved>& saved() {
    static std::vector<Saved>* stack = [] {
        auto* s = new std::vector<Saved>;
        s->reserve(64); // deeper nesting than any view tree draws
        return s;
    }();
    return *stack;
}

} // namespace

namespace appkit {

CurrentContextScope::CurrentContextScope(const std::shared_ptr<NSGraphicsContext>& context)
    : previous_(current()) {
    current() = context;
}

CurrentContextScope::~CurrentContextScope() {
    current() = previous_;
}

CGContextRef currentCGContext() {
    return current() ? current()->CGContext() : nullptr;
}

CGFloat contextScale(CGContextRef context) {
    return context ? context->scale : 1;
}

} // namespace appkit

NSGraphicsContext* NSGraphicsContext::currentContext() {
    return current().get();
}

void NSGraphicsContext::setCurrentContext(const std::shared_ptr<NSGraphicsContext>& context) {
    current() = context;
}

void NSGraphicsContext::saveGraphicsState() {
    const std::shared_ptr<NSGraphicsContext>& context = current();
    if (!context) {
        return;
    }
    CGContextSaveGState(context->CGContext());
    saved().push_back({context, context->isFlipped()});
}

void NSGraphicsContext::restoreGraphicsState() {
    auto& stack = saved();
    if (stack.empty()) {
        return;
    }
    Saved top = std::move(stack.back());
    stack.pop_back();
    current() = top.context;
    top.context->setFlipped(top.flipped);
    CGContextRestoreGState(top.context->CGContext());
}

std::shared_ptr<NSGraphicsContext>
NSGraphicsContext::graphicsContextWithCGContext(CGContextRef context, bool flipped) {
    return context ? std::make_shared<NSGraphicsContext>(context, flipped) : nullptr;
}

std::shared_ptr<NSGraphicsContext>
NSGraphicsContext::graphicsContextWithBitmapImageRep(const std::shared_ptr<NSBitmapImageRep>& rep) {
    if (!rep || !rep->drawingContext()) {
        return nullptr;
    }
    auto context = std::make_shared<NSGraphicsContext>(rep->drawingContext(), false);
    context->rep_ = rep;
    return context;
}

NSGraphicsContext::NSGraphicsContext(CGContextRef context, bool flipped)
    : context_(CGContextRetain(context)), flipped_(flipped) {}

NSGraphicsContext::~NSGraphicsContext() {
    CGContextRelease(context_);
}

NSCompositingOperation NSGraphicsContext::compositingOperation() const {
    return operation_;
}

void NSGraphicsContext::setCompositingOperation(NSCompositingOperation operation) {
    operation_ = operation;
    CGContextSetBlendMode(context_, operation == NSCompositingOperationClear  ? kCGBlendModeClear
                                    : operation == NSCompositingOperationCopy ? kCGBlendModeCopy
                                                                              : kCGBlendModeNormal);
}

NSImageInterpolation NSGraphicsContext::imageInterpolation() const {
    switch (CGContextGetInterpolationQuality(context_)) {
    case kCGInterpolationNone:
        return NSImageInterpolationNone;
    case kCGInterpolationLow:
        return NSImageInterpolationLow;
    case kCGInterpolationMedium:
        return NSImageInterpolationMedium;
    case kCGInterpolationHigh:
        return NSImageInterpolationHigh;
    case kCGInterpolationDefault:
        break;
    }
    return NSImageInterpolationDefault;
}

void NSGraphicsContext::setImageInterpolation(NSImageInterpolation interpolation) {
    CGInterpolationQuality q = kCGInterpolationDefault;
    switch (interpolation) {
    case NSImageInterpolationNone:
        q = kCGInterpolationNone;
        break;
    case NSImageInterpolationLow:
        q = kCGInterpolationLow;
        break;
    case NSImageInterpolationMedium:
        q = kCGInterpolationMedium;
        break;
    case NSImageInterpolationHigh:
        q = kCGInterpolationHigh;
        break;
    case NSImageInterpolationDefault:
        break;
    }
    CGContextSetInterpolationQuality(context_, q);
}

void NSGraphicsContext::flushGraphics() {
    CGContextFlush(context_);
}
